// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The page's start: the core, the form built from its table and laid out for the window, and
// the runs; for course pages and tests, window.velmora.

async function main() {
    if (document.documentElement.dataset.unsupported)
        return;
    const core = await createVelmoraCore();
    const separator = decimalPoint();
    const root = $('frmVelmora');
    const form = buildForm(core, root, $('announcer'), separator);
    buildExplore(core, $('explore'), root, form.store, separator);
    document.title = form.title;
    const surface = new CanvasSurface($('picture'), form.width, form.height, form.twipsPerPixel,
                                      (c) => core.displayRgb(c));
    const layout = layOut(root, form, surface, () => runs.replay());
    const runs = driveRuns(core, root, form, surface, separator, layout.place);
    keepPicture(core, root, form, surface, runs, separator);

    form.speed.addEventListener('input', form.showSpeed);
    form.speed.addEventListener('change', form.HScroll1_Change);
    form.Form_Load();
    // A first run would spend its time in the engines' first, slow tiers of compiled code.
    // One run made now, with the loaded presets, has the core's fast code compiled in the
    // background; drawn away from the screen at the end, it readies the canvas code as well.
    const warm = new core.Run(form.store.nFi, form.store.nRozteč, '0', separator);
    for (let wait = warm.begin(); !Number.isNaN(wait) && warm.scanning();)
        wait = warm.step();
    const warmWords = warm.commands().slice();
    warm.delete();
    form.showSpeed();
    $('pictureDescription').textContent = core.describeNoPicture();
    $('cmdStart').focus(); // the first control in the Tab order, as on the desktop

    layout.fit();

    // For course pages and tests: the drawing words of a whole run, away from the canvas; with
    // `explore` ([wavelength, aperture, distance] in twips, and theory), of an Explore run.
    window.velmora = {
        store: form.store,
        trace(fi, rozteč, spomaleni, explore) {
            const traced = explore
                ? new core.Run(fi, rozteč, spomaleni, separator, ...explore.values, explore.theory)
                : new core.Run(fi, rozteč, spomaleni, separator);
            const parts = [];
            const take = () => {
                parts.push(traced.commands().slice());
                traced.clearCommands();
            };
            let wait = traced.begin();
            take();
            while (!Number.isNaN(wait) && traced.scanning()) {
                wait = traced.step();
                take();
            }
            const result = traced.finish();
            traced.delete();
            let bytes = '';
            for (const part of parts) {
                const u8 = new Uint8Array(part.buffer, part.byteOffset, part.byteLength);
                for (let i = 0; i < u8.length; i += 0x8000)
                    bytes += String.fromCharCode(...u8.subarray(i, i + 0x8000));
            }
            return {words: btoa(bytes), ...result};
        },
    };
    const offscreen = new CanvasSurface(document.createElement('canvas'), form.width, form.height,
                                        form.twipsPerPixel, surface.displayRgb);
    offscreen.resize(surface.scale);
    offscreen.replay(warmWords, new Float32Array(warmWords.buffer));
    document.documentElement.dataset.ready = 'true';
}

main();
