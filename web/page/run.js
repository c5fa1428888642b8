// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The run driver: Start and Exit, a run's steps spread over animation frames as its brake
// asks, its end, and the input that comes meanwhile, as the core's rule has it: Escape stops
// the run, Start waits once, Exit acts at its end, and the rest waits in order.

const clockGrain = 0.1; // ms

// Wires Start and Exit in `root`; `place(label, left, top)` puts a label the run shows. Returns
// replay(), which draws the current run again after the surface was resized, kept(), what the
// picture shows for keeping it, and act().
function driveRuns(core, root, form, surface, separator, place) {
    const {store, speed} = form;

    // The drawing of the current run, kept to redraw the picture when the zoom changes.
    let drawn = [];
    let stateAtRunStart = {...surface.state};
    function replay() {
        const after = {...surface.state};
        Object.assign(surface.state, stateAtRunStart);
        for (const words of drawn)
            surface.replay(words, new Float32Array(words.buffer));
        Object.assign(surface.state, after);
    }
    function paint(run) {
        const view = run.commands();
        if (!view.length)
            return;
        const words = view.slice(); // the view dies with the next call into the core
        run.clearCommands();
        drawn.push(words);
        surface.replay(words, new Float32Array(words.buffer));
    }

    let run = null;
    let due = 0;
    const rule = new core.InputDuringRun();
    let waiting = []; // {input, action} held during a run, numbered as the rule numbers them
    // Announced once the status has been seen empty, so that the same summary again is news.
    const announce = (text) => requestAnimationFrame(() => setTimeout(() => {
        $('announcer').textContent = text;
    }));

    // The run the picture shows, and the result labels shown so far, in twips.
    let presets = null, last = null;
    const labelsShown = new Map();

    function cmdStart_Click() {
        const explore = explorePanel && explorePanel.settings();
        run = newRun(core, store, separator, explore);
        presets = {fi: store.nFi, distance: store.nRozteč, explore};
        rule.runBegins();
        stateAtRunStart = {...surface.state};
        drawn = [];
        root.setAttribute('aria-busy', 'true');
        $('announcer').textContent = '';
        const wait = run.begin();
        due = performance.now() + wait;
        advance(wait);
    }

    // Takes every step whose brake has run out, then lets the browser paint. Pages not
    // isolated across origins see a clock coarsened to 0.1 ms: a step due within that grain
    // counts as due, or the left end would wait a frame for an 18 ns brake.
    function advance(wait) {
        const now = performance.now() + clockGrain;
        while (!Number.isNaN(wait) && run.scanning() && due <= now) {
            wait = run.step();
            due += wait;
        }
        paint(run);
        if (!Number.isNaN(wait) && run.scanning()) {
            requestAnimationFrame(() => advance(0));
            return;
        }
        const result = run.finish();
        for (const {name, left, top, twips} of result.labels) {
            if (twips)
                labelsShown.set(name, twips);
            const label = $(name);
            label.hidden = false; // then Left, then Top: a failed write leaves the rest
            place(label, left, top);
        }
        run.delete();
        run = null;
        root.removeAttribute('aria-busy');
        let summary = result.summary;
        if (result.error) {
            summary = `The last run stopped: ${result.error}. The picture is incomplete.`;
            $('runTimeErrorText').textContent = result.error;
            $('runTimeError').showModal();
        } else {
            announce(summary);
        }
        $('pictureDescription').textContent = summary;
        // A run an error stopped stops there again when drawn once more; one the user stopped
        // is drawn again up to where it was.
        last = {...presets, steps: result.stopped ? result.steps : undefined,
                name: presets.explore ? 'velmora-explore'
                    : `velmora-${result.frequency || 'other'}-${result.distance}`};
        const stopped = result.stopped;
        // A page that embeds Velmora hears of every run's end, one stopped by an error too.
        document.dispatchEvent(new CustomEvent('velmora-run-end',
                                               {detail: {summary, error: result.error, stopped}}));
        const held = waiting;
        waiting = [];
        for (const i of rule.runEnds())
            act(held[i].input, held[i].action); // a run one of them starts holds the rest again
    }

    function cmdKonec_Click() {
        for (const control of root.querySelectorAll('button, input'))
            control.disabled = true;
        const ended = $('ended');
        ended.hidden = false;
        $('announcer').textContent = ended.textContent;
        ended.focus();
    }

    // Acts now, holds it for the run's end, drops it, or stops the run, as the rule says.
    function act(input, action) {
        const verdict = rule.take(input);
        if (verdict === core.Verdict.Act)
            action();
        else if (verdict === core.Verdict.Hold)
            waiting.push({input, action});
        else if (verdict === core.Verdict.Stop)
            run.stop(); // the next frame takes no step
    }
    const {Input} = core;
    $('cmdStart').addEventListener('click', () => act(Input.Start, cmdStart_Click));
    $('cmdKonec').addEventListener('click', () => act(Input.Exit, cmdKonec_Click));
    const inputOf = (control) => control === $('cmdStart') ? Input.Start
        : control === $('cmdKonec') ? Input.Exit : Input.Other;

    // During a run the page, like the desktop window, handles no other input: what the user
    // does is held and done when the run ends.
    const held = (event) => {
        if (run && event.type === 'keydown' && event.key === 'Escape') {
            event.preventDefault();
            event.stopPropagation();
            act(Input.Escape, null); // wherever the focus is
            return;
        }
        if (!run || !root.contains(event.target))
            return;
        const control = event.target.closest('button, input, label');
        const input = control && (control.control || control);
        if (event.type === 'keyup') {
            if (event.key !== 'Tab')
                event.preventDefault();
            return;
        }
        if (event.type === 'keydown') {
            if (event.key === 'Tab')
                return;
            event.preventDefault();
            event.stopPropagation();
            const key = event.key;
            if (input instanceof HTMLButtonElement && (key === 'Enter' || key === ' '))
                act(inputOf(input), () => input.click());
            else if (input === speed)
                act(Input.Other, () => moveSpeed(key));
            else if (input && input.type === 'radio')
                act(Input.Other, () => moveOption(input, key));
            return;
        }
        event.preventDefault();
        event.stopPropagation();
        if (event.type === 'click' && input && input !== speed)
            act(inputOf(input), () => input.click());
    };
    for (const type of ['click', 'keydown', 'keyup', 'pointerdown', 'mousedown'])
        document.addEventListener(type, held, true);

    function moveSpeed(key) {
        const steps = {ArrowRight: 1, ArrowUp: 1, ArrowLeft: -1, ArrowDown: -1};
        const before = speed.valueAsNumber;
        if (key in steps)
            speed.value = before + steps[key];
        else if (key === 'Home' || key === 'End')
            speed.value = key === 'Home' ? speed.min : speed.max;
        if (speed.valueAsNumber !== before) {
            form.showSpeed();
            form.HScroll1_Change();
        }
    }
    function moveOption(input, key) {
        const group = [...root.querySelectorAll(`input[name="${input.name}"]`)];
        const delta = {ArrowDown: 1, ArrowRight: 1, ArrowUp: -1, ArrowLeft: -1}[key];
        if (delta === undefined)
            return;
        const next = group[(group.indexOf(input) + delta + group.length) % group.length];
        next.focus();
        next.click();
    }

    // What the picture shows now, for keeping it: before the first run, the form alone.
    function kept() {
        const selected = [...root.querySelectorAll('input[type="radio"]:checked')].map((e) => e.id);
        const labels = [...labelsShown].map(([name, twips]) => ({name, twips}));
        return {fi: null, name: 'velmora', ...last, selected, labels,
                speed: speed.valueAsNumber, words: drawn, state: stateAtRunStart};
    }

    return {replay, kept, act: (action) => act(Input.Other, action)};
}
