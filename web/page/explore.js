// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Explore: a panel below the form, collapsed at first, that sets the wavelength, the aperture's
// width and the detector's distance freely, each with a slider and a number field with its
// unit, shows what they give, and draws the theory curve. While it is open, Start runs its
// values; closed, the presets run again.

let explorePanel = null;

// A run of the presets, or of Explore's values (its panel's settings while it is open).
function newRun(core, store, separator, explore) {
    if (!explore)
        return new core.Run(store.nFi, store.nRozteč, store.nSpomaleni, separator);
    return new core.Run(store.nFi, store.nRozteč, store.nSpomaleni, separator, ...explore.values,
                        explore.theory);
}

// Builds the panel into `container`, below the form `root` whose presets are `store`.
function buildExplore(core, container, root, store, separator) {
    const table = core.exploreTable(separator);
    const make = (tag, properties = {}, ...children) => {
        const e = Object.assign(document.createElement(tag), properties);
        e.append(...children);
        return e;
    };
    const details = make('details', {id: 'exploreDetails'}, make('summary', {}, table.title));
    const values = [];
    const rows = table.fields.map((field, i) => {
        const slider = make('input', {type: 'range', id: `exploreSlider${i}`, min: 0,
                                      max: table.sliderSteps, step: 1});
        slider.setAttribute('aria-label', field.caption);
        const range = make('span', {id: `exploreRange${i}`, className: 'explore-range'},
                           field.range);
        slider.setAttribute('aria-describedby', range.id);
        const text = make('input', {type: 'text', id: `exploreText${i}`, spellcheck: false,
                                    autocomplete: 'off', size: 10});
        text.setAttribute('aria-label', `${field.caption} (nm, µm or mm)`);
        text.setAttribute('aria-describedby', range.id);
        const label = make('label', {htmlFor: slider.id}, `${field.caption}:`);
        details.append(make('div', {className: 'explore-row'}, label, slider, text, range));
        return {slider, text};
    });
    const derived = make('p', {id: 'exploreDerived'});
    const message = make('p', {id: 'exploreMessage', hidden: true});
    message.setAttribute('role', 'alert');
    const theory = make('input', {type: 'checkbox', id: 'exploreTheory'});
    details.append(derived, message,
                   make('label', {className: 'explore-theory'}, theory, table.theoryCaption),
                   make('p', {className: 'explore-note'}, table.note));
    container.append(details);

    function show(i, moveSlider = true) {
        const {slider, text} = rows[i];
        const shown = core.exploreValueText(i, values[i], separator);
        text.value = shown;
        slider.setAttribute('aria-valuetext', shown);
        if (moveSlider)
            slider.value = core.exploreSliderPosition(i, values[i]);
        derived.textContent = core.exploreDerived(...values, separator);
    }
    function takePresets(which) {
        const preset = core.explorePresetValues(store.nFi, store.nRozteč, separator);
        for (const i of which)
            values[i] = preset[i];
        which.forEach((i) => show(i));
    }
    takePresets([0, 1, 2]);

    rows.forEach(({slider, text}, i) => {
        // The slider stays where it was moved, whatever the value rounds to.
        slider.addEventListener('input', () => {
            values[i] = core.exploreSliderValue(i, slider.valueAsNumber);
            show(i, false);
        });
        const read = () => {
            if (text.value === core.exploreValueText(i, values[i], separator))
                return;
            const reading = core.exploreRead(text.value, i, separator);
            if (reading.error !== undefined) {
                // The text stays to be mended; the value stays as it was.
                message.textContent = reading.error;
                message.hidden = false;
                return;
            }
            message.hidden = true;
            values[i] = reading.twips;
            show(i);
        };
        text.addEventListener('change', read);
        text.addEventListener('keydown', (event) => {
            if (event.key === 'Enter')
                read();
        });
    });
    // Opened, the panel starts at the presets' values; a preset chosen while it is open moves
    // its value there.
    details.addEventListener('toggle', () => {
        if (details.open)
            takePresets([0, 1, 2]);
        dispatchEvent(new Event('resize')); // the form makes room for it, or takes it back
        if (details.open)
            details.scrollIntoView({block: 'nearest'});
    });
    for (const [frame, field] of [['frmFrekvence', 0], ['frmVzdalenost', 2]]) {
        for (const option of root.querySelectorAll(`input[name="${frame}"]`)) {
            option.addEventListener('change', () => {
                if (details.open)
                    takePresets([field]);
            });
        }
    }

    // Below the form, as wide as it is laid out and at its scale.
    function follow() {
        Object.assign(container.style, {width: root.style.width, marginLeft: root.style.marginLeft});
        container.style.setProperty('--explore-fit', root.style.getPropertyValue('--fit') || 1);
    }
    new MutationObserver(follow).observe(root, {attributes: true, attributeFilter: ['style']});
    follow();
    // After Exit nothing may act.
    const ended = $('ended');
    new MutationObserver(() => {
        for (const control of container.querySelectorAll('input'))
            control.disabled = !ended.hidden;
    }).observe(ended, {attributes: true, attributeFilter: ['hidden']});

    explorePanel = {
        settings: () => (details.open ? {values: [...values], theory: theory.checked} : null),
    };
    return explorePanel;
}
