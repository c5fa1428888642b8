// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Keeping the picture: a "Save…" menu button beside Start and Exit, and the same menu as the
// picture's context menu, to save it as PNG or SVG (the SVG the desktop writes, from the same
// core), save its intensities as the command line's CSV, copy it, or print it with its summary
// as a caption.

function keepPicture(core, root, form, surface, runs, separator) {
    const exit = $('cmdKonec');
    const button = document.createElement('button');
    Object.assign(button, {id: 'cmdSave', className: 'control', type: 'button',
                           textContent: 'Save\u2026'});
    button.setAttribute('aria-haspopup', 'menu');
    button.setAttribute('aria-expanded', 'false');
    button.setAttribute('aria-controls', 'saveMenu');
    // Right of Exit, as Exit stands right of Start, in its font; laid out with the form.
    const {fontFamily, fontWeight} = exit.style;
    Object.assign(button.style, {fontFamily, fontWeight});
    exit.after(button);
    form.places.push({element: button, twips: [10560, 0, 915, 495], container: ''});
    form.sizes.push({element: button, points: form.sizes.find((s) => s.element === exit).points});

    // What the picture shows, for the core: the same fields on the desktop and the page.
    const content = (kept) => ({
        fi: kept.fi, distance: kept.distance, steps: kept.steps, explore: kept.explore,
        selected: kept.selected,
        labels: kept.labels, speed: kept.speed, title: form.title,
        description: $('pictureDescription').textContent,
    });
    const svgText = (kept) => core.svgPicture(content(kept), 1, separator);

    // The run's drawing on a canvas of its own at the screen's whole multiple of 765 × 560,
    // with the controls laid over it from the core's drawing of them.
    async function pngBlob(kept) {
        const scale = Math.max(1, Math.round(devicePixelRatio));
        const canvas = document.createElement('canvas');
        const drawing = new CanvasSurface(canvas, form.width, form.height, form.twipsPerPixel,
                                          surface.displayRgb);
        drawing.resize(scale);
        Object.assign(drawing.state, kept.state);
        for (const words of kept.words)
            drawing.replay(words, new Float32Array(words.buffer));
        const controls = new Image();
        controls.src = 'data:image/svg+xml;charset=utf-8,'
            + encodeURIComponent(core.svgControls(content(kept), scale));
        await controls.decode();
        canvas.getContext('2d').drawImage(controls, 0, 0, form.width, form.height);
        return new Promise((resolve, reject) => canvas.toBlob(
            (blob) => (blob ? resolve(blob) : reject(new Error('the picture is too large'))),
            'image/png'));
    }

    function download(blob, name) {
        const link = Object.assign(document.createElement('a'),
                                   {href: URL.createObjectURL(blob), download: name});
        document.body.append(link);
        link.click();
        link.remove();
        setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    }

    const tell = (text) => { $('announcer').textContent = text; };
    const failed = (what) => (error) => tell(`${what} failed: ${error.message}.`);

    // Built as the browser prints, from its own Print command too; gone again afterwards.
    function preparePrint() {
        $('printedPicture')?.remove();
        const figure = Object.assign(document.createElement('figure'), {id: 'printedPicture'});
        // The core's markup, whose texts it escapes; without the XML declaration it is HTML's.
        figure.innerHTML = svgText(runs.kept()).replace(/^<\?xml[^>]*>\s*/, '');
        const caption = document.createElement('figcaption');
        caption.textContent = $('pictureDescription').textContent;
        figure.append(caption);
        document.body.append(figure);
    }
    addEventListener('beforeprint', preparePrint);
    addEventListener('afterprint', () => $('printedPicture')?.remove());

    const actions = {
        'Save picture as PNG': (kept) =>
            pngBlob(kept).then((blob) => download(blob, `${kept.name}.png`))
                .catch(failed('Saving the picture')),
        'Save picture as SVG': (kept) =>
            download(new Blob([svgText(kept)], {type: 'image/svg+xml'}), `${kept.name}.svg`),
        'Save intensities as CSV': (kept) =>
            download(new Blob([core.intensitiesCsv(content(kept), separator)],
                              {type: 'text/csv'}), `${kept.name}.csv`),
        // The promise goes to the clipboard at once: the click's permission to write lapses.
        'Copy picture': (kept) =>
            navigator.clipboard.write([new ClipboardItem({'image/png': pngBlob(kept)})])
                .then(() => tell('The picture is copied.'), failed('Copying the picture')),
        'Print': () => print(),
    };

    const menu = Object.assign(document.createElement('div'), {id: 'saveMenu', hidden: true});
    menu.setAttribute('role', 'menu');
    menu.setAttribute('aria-label', 'Keep the picture');
    const items = Object.keys(actions).map((name) => {
        const item = Object.assign(document.createElement('div'), {textContent: name,
                                                                    tabIndex: -1});
        item.setAttribute('role', 'menuitem');
        item.addEventListener('click', () => choose(item));
        menu.append(item);
        return item;
    });
    root.insertBefore(menu, $('announcer'));

    let returnTo = null; // where the focus goes when the menu closes
    function choose(item) {
        const kept = runs.kept();
        if (item.getAttribute('aria-disabled') === 'true')
            return;
        close(true);
        actions[item.textContent](kept);
    }
    // With its corner at place(width) in the form's CSS pixels, kept inside the form; the
    // focus on its first item, or its last for -1.
    function open(place, first) {
        // Before the first run there are no intensities.
        items[2].setAttribute('aria-disabled', String(runs.kept().fi === null));
        returnTo = document.activeElement;
        menu.hidden = false;
        const [x, y] = place(menu.offsetWidth);
        menu.style.left = `${Math.max(0, Math.min(x, root.clientWidth - menu.offsetWidth))}px`;
        menu.style.top = `${Math.max(0, Math.min(y, root.clientHeight - menu.offsetHeight))}px`;
        button.setAttribute('aria-expanded', 'true');
        items.at(first).focus();
    }
    function close(giveBackFocus) {
        if (menu.hidden)
            return;
        menu.hidden = true;
        button.setAttribute('aria-expanded', 'false');
        if (giveBackFocus && returnTo)
            returnTo.focus();
    }
    // Under the button, flush with its right edge.
    const openBelowButton = (first) => open((width) => [
        button.offsetLeft + button.offsetWidth - width, button.offsetTop + button.offsetHeight,
    ], first);

    button.addEventListener('click', () => (menu.hidden ? openBelowButton(0) : close(true)));
    button.addEventListener('keydown', (event) => {
        if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
            event.preventDefault();
            openBelowButton(event.key === 'ArrowDown' ? 0 : -1);
        }
    });
    menu.addEventListener('keydown', (event) => {
        const at = items.indexOf(document.activeElement);
        const to = {ArrowDown: at + 1, ArrowUp: at - 1, Home: 0, End: items.length - 1}[event.key];
        if (to !== undefined)
            items[(to + items.length) % items.length].focus();
        else if (event.key === 'Enter' || event.key === ' ')
            choose(items[at]);
        else if (event.key === 'Escape')
            close(true);
        else if (event.key === 'Tab')
            close(false);
        else
            return;
        if (event.key !== 'Tab')
            event.preventDefault();
    });
    menu.addEventListener('focusout', (event) => {
        if (!menu.contains(event.relatedTarget) && event.relatedTarget !== button)
            close(false);
    });
    document.addEventListener('pointerdown', (event) => {
        if (!menu.contains(event.target) && event.target !== button)
            close(false);
    });

    // The picture's own menu, where the form has no control of its own.
    root.addEventListener('contextmenu', (event) => {
        if (event.target.closest('button, input, label, [role="menu"]'))
            return;
        event.preventDefault();
        const box = root.getBoundingClientRect();
        const zoom = box.width / root.offsetWidth;
        const at = [(event.clientX - box.left) / zoom, (event.clientY - box.top) / zoom];
        runs.act(() => open(() => at, 0));
    });
}
