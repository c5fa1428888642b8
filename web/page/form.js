// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The form from the core's table: native controls in the desktop's places and fonts, the
// ParameterStore they write, and the handlers that write it.

const $ = (id) => document.getElementById(id);

// Fallbacks for the faces the table names, where the computer lacks them.
const families = {
    'Arial': 'Arial, "Liberation Sans", Helvetica, sans-serif',
    'Times New Roman': '"Times New Roman", "Liberation Serif", Times, serif',
};

function decimalPoint() {
    const parts = new Intl.NumberFormat(navigator.language).formatToParts(0.5);
    const part = parts.find((p) => p.type === 'decimal');
    return part ? part.value : '.';
}

// Builds the controls into `root`, before `next`: in the desktop's Tab order, which is also the
// order a screen reader reads them in, each option button in its frame and the frame's buttons
// top to bottom as their captions read. The text boxes stay the store itself.
function buildForm(core, root, next, separator) {
    const table = core.form();
    const {Kind} = core;
    // Each control's place and each font's size, which the layout scales (layout.js).
    const places = [];
    const sizes = [];
    // By property: the shorthand would reset the line height the styles give.
    const font = (element, f) => {
        const {face, points, bold} = f.face ? f : table.windowFont;
        sizes.push({element, points});
        Object.assign(element.style, {fontFamily: families[face], fontWeight: bold ? 700 : 400});
    };
    const element = (tag, className, text) => {
        const e = document.createElement(tag);
        e.className = className;
        e.textContent = text;
        return e;
    };
    const make = (c) => {
        let e;
        if (c.kind === Kind.Label) {
            // The title names the simulation: the page's heading.
            e = element(c.name === 'labNeurcitost' ? 'h1' : 'div',
                        c.centred ? 'label centred' : 'label', c.caption);
            // The run shows and places its labels over the picture; the others are the form's.
            e.classList.add(c.shown ? 'caption' : 'result');
        } else if (c.kind === Kind.Frame) {
            e = element('fieldset', 'frame');
            const legend = element('legend', '', c.caption);
            legend.id = `${c.name}Caption`;
            e.setAttribute('aria-labelledby', legend.id);
            e.append(legend);
            font(legend, c.font); // the frame keeps the window's
        } else if (c.kind === Kind.Option) {
            e = element('label', 'option');
            const input = element('input');
            Object.assign(input, {type: 'radio', name: c.container, id: c.name});
            e.append(input, c.caption);
        } else if (c.kind === Kind.Button) {
            e = element('button', '', c.caption);
        } else {
            e = element('input');
            const description = element('p', '', table.speedBarDescription);
            description.id = `${c.name}Description`;
            description.hidden = true;
            root.insertBefore(description, next);
            Object.assign(e, {type: 'range', min: 0, max: table.speedBarMaximum, step: 1, value: 0});
            e.setAttribute('aria-label', table.speedBarName);
            e.setAttribute('aria-describedby', description.id);
        }
        if (c.kind !== Kind.Option)
            e.id = c.name; // an option's goes on its input
        e.classList.add('control');
        places.push({element: e, twips: c.twips, container: c.container});
        if (c.kind !== Kind.Frame)
            font(e, c.font);
        e.hidden = !c.shown;
        return e;
    };

    font(root, table.windowFont);
    const controls = table.controls.filter((c) => c.kind !== Kind.TextBox);
    const byTab = (a, b) => a.tabIndex - b.tabIndex;
    for (const c of controls.filter((c) => !c.container).sort(byTab)) {
        const e = make(c);
        root.insertBefore(e, next);
        const options = controls.filter((o) => o.container === c.name);
        for (const o of options.sort((a, b) => a.twips[1] - b.twips[1]))
            e.append(make(o));
    }

    // The hidden text boxes of the desktop: the presets as text, read by each run.
    const store = {};
    for (const c of table.controls.filter((c) => c.kind === Kind.TextBox))
        store[c.name] = c.caption;
    // An option button's Click writes what the form says.
    for (const c of controls.filter((c) => c.writes)) {
        $(c.name).addEventListener('change', () => {
            store[c.writes] = core.optionText(c, separator);
        });
    }

    const speed = $('HScroll1');
    return {
        store, speed, places, sizes,
        title: table.title,
        width: table.width / table.twipsPerPixel,
        height: table.height / table.twipsPerPixel,
        twipsPerPixel: table.twipsPerPixel,

        // Each option button through its handler, as a selection in code raises Click.
        Form_Load() {
            for (const step of table.load) {
                if (step.select) {
                    $(step.select).checked = true;
                    $(step.select).dispatchEvent(new Event('change'));
                } else {
                    store[step.box] = core.numberToText(step.value, separator);
                }
            }
        },

        HScroll1_Change() {
            // Through its text and back, as the count is always kept as text.
            store.nSpomaleni = core.numberToText((speed.valueAsNumber << 16) >> 16, separator);
            const value = core.textToNumber(store.nSpomaleni, separator);
            if (Number.isNaN(value))
                throw new Error(`not a number: ${store.nSpomaleni}`);
            store.nSpomaleni = core.numberToText(core.delayCountOf(value), separator);
        },

        showSpeed() {
            speed.setAttribute('aria-valuetext', core.runLengthText(speed.valueAsNumber, separator));
        },
    };
}
