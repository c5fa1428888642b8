// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The page's side of Velmora: the form's handlers, the canvas surface the core's drawing calls
// are replayed on, and the animation-frame driver of the step-wise run.
'use strict';

(() => {
const twipsPerPixel = 15;
const formWidth = 765; // CSS pixels: 11475 × 8400 twips
const formHeight = 560;
const clockGrain = 0.1; // ms

// Word stream written by web/command_recorder.h, one opcode then its operands.
const Op = {
    ScaleMode: 1, DrawWidth: 2, FillColor: 3, FillStyle: 4,
    Line: 5, ColouredLine: 6, Circle: 7, Present: 8,
};
const foreground = 0x80000012; // the window's default foreground: button text
const twips = 1;
const solid = 0;

const $ = (id) => document.getElementById(id);

// Paints the core's primitives with the desktop canvas's geometry: a twip is 1/15 CSS pixel,
// one-pixel pens fall right of and below the mathematical line, wider pens are centred on it
// with round caps, and circles are filled before they are outlined.
class CanvasSurface {
    constructor(canvas, displayRgb) {
        this.canvas = canvas;
        this.context = canvas.getContext('2d', {alpha: false});
        this.displayRgb = displayRgb;
        this.styles = new Map();
        this.state = {scaleMode: twips, drawWidth: 1, fillColor: 0, fillStyle: 1};
        this.scale = 0; // device pixels per CSS pixel; none until the first resize
        this.path = null; // lines waiting to be stroked together, all of one colour and width
    }

    // Device pixels per CSS pixel; the picture is redrawn by the caller after a change.
    resize(scale) {
        this.scale = scale;
        this.canvas.width = Math.round(formWidth * scale);
        this.canvas.height = Math.round(formHeight * scale);
        this.context.setTransform(scale, 0, 0, scale, 0, 0);
        this.context.fillStyle = this.style(0x00c0c0c0);
        this.context.fillRect(0, 0, formWidth, formHeight);
    }

    style(colour) {
        let s = this.styles.get(colour);
        if (s === undefined) {
            s = '#' + this.displayRgb(colour).toString(16).padStart(6, '0');
            this.styles.set(colour, s);
        }
        return s;
    }

    toPixels(v) {
        return this.state.scaleMode === twips ? v / twipsPerPixel : v;
    }

    // An odd number of device pixels cannot straddle the line evenly: the spare one goes
    // right and below, as the desktop's aliased pens do.
    offset(width) {
        return Math.round(width * this.scale) % 2 === 1 ? 0.5 / this.scale : 0;
    }

    setScaleMode(mode) { this.state.scaleMode = mode; }
    setDrawWidth(width) { this.state.drawWidth = width; }
    setFillColor(colour) { this.state.fillColor = colour; }
    setFillStyle(style) { this.state.fillStyle = style; }

    Line(x1, y1, x2, y2, colour) {
        const width = this.state.drawWidth;
        let p = this.path;
        if (p && (p.colour !== colour || p.width !== width)) {
            this.flush();
            p = null;
        }
        if (!p) {
            const thick = Math.max(1, Math.round(width * this.scale));
            p = this.path = {colour, width, thick, shift: this.offset(width), strokes: null,
                             rows: null};
        }
        const unit = this.state.scaleMode === twips ? twipsPerPixel : 1;
        const a = x1 / unit, b = y1 / unit, c = x2 / unit, d = y2 / unit;
        if (b === d || a === c) {
            this.row(p, a, b, c, d);
            return;
        }
        // Each line on its own with its caps, even along a phasor chain: joined into one
        // polyline the chains drew faster but paler than the desktop's.
        p.strokes ??= new Path2D();
        p.strokes.moveTo(a + p.shift, b + p.shift);
        p.strokes.lineTo(c + p.shift, d + p.shift);
    }

    // A row or column covers whole device pixels as the desktop's aliased pens do, rather than
    // smearing over a neighbour: a pen of odd device width puts its spare pixel right and
    // below, and the ends reach out as far as the pen's cap.
    row(p, a, b, c, d) {
        const s = this.scale;
        const t = p.thick;
        const first = (v) => Math.floor(v * s - (t - 1) / 2);
        p.rows ??= new Path2D();
        if (b === d) {
            const from = first(Math.min(a, c));
            p.rows.rect(from / s, first(b) / s, (first(Math.max(a, c)) + t - from) / s, t / s);
        } else {
            const from = first(Math.min(b, d));
            p.rows.rect(first(a) / s, from / s, t / s, (first(Math.max(b, d)) + t - from) / s);
        }
    }

    Circle(x, y, radius) {
        this.flush();
        const c = this.context;
        const width = this.state.drawWidth;
        const s = this.offset(width);
        c.beginPath();
        c.arc(this.toPixels(x) + s, this.toPixels(y) + s, Math.abs(this.toPixels(radius)), 0,
              2 * Math.PI);
        if (this.state.fillStyle === solid) {
            c.fillStyle = this.style(this.state.fillColor);
            c.fill();
        }
        c.lineWidth = width;
        c.strokeStyle = this.style(foreground);
        c.stroke();
    }

    flush() {
        if (!this.path)
            return;
        const c = this.context;
        const {colour, width, strokes, rows} = this.path;
        if (rows) {
            c.fillStyle = this.style(colour);
            c.fill(rows);
        }
        if (strokes) {
            c.lineWidth = width;
            c.lineCap = width > 1 ? 'round' : 'square';
            c.strokeStyle = this.style(colour);
            c.stroke(strokes);
        }
        this.path = null;
    }

    present() { this.flush(); }

    // Reads the recorder's words; `words` and `floats` view the same memory.
    replay(words, floats) {
        for (let i = 0; i < words.length;) {
            switch (words[i]) {
            case Op.ScaleMode: this.setScaleMode(words[i + 1]); i += 2; break;
            case Op.DrawWidth: this.setDrawWidth(words[i + 1] | 0); i += 2; break;
            case Op.FillColor: this.setFillColor(words[i + 1]); i += 2; break;
            case Op.FillStyle: this.setFillStyle(words[i + 1]); i += 2; break;
            case Op.Line:
                this.Line(floats[i + 1], floats[i + 2], floats[i + 3], floats[i + 4], foreground);
                i += 5;
                break;
            case Op.ColouredLine:
                this.Line(floats[i + 1], floats[i + 2], floats[i + 3], floats[i + 4], words[i + 5]);
                i += 6;
                break;
            case Op.Circle: this.Circle(floats[i + 1], floats[i + 2], floats[i + 3]); i += 4; break;
            case Op.Present: this.present(); i += 1; break;
            default: throw new Error(`unknown drawing command ${words[i]}`);
            }
        }
        this.flush();
    }
}

function decimalPoint() {
    const parts = new Intl.NumberFormat(navigator.language).formatToParts(0.5);
    const part = parts.find((p) => p.type === 'decimal');
    return part ? part.value : '.';
}

// How long a whole run takes at a speed bar position: 221 steps of (v × 30 + 1) × 18 ns.
function speedText(value) {
    const seconds = 221 * (value * 30 + 1) * 18e-9;
    if (seconds < 0.1)
        return 'instant';
    if (seconds < 0.75)
        return 'under a second';
    const whole = Math.round(seconds);
    return whole === 1 ? 'about 1 second' : `about ${whole} seconds`;
}

function placeFromTwips() {
    for (const element of document.querySelectorAll('[data-twips]')) {
        const [left, top, width, height] = element.dataset.twips.split(' ').map(Number);
        const px = (t) => `${Math.round(t / twipsPerPixel)}px`;
        Object.assign(element.style, {left: px(left), top: px(top), width: px(width),
                                      height: px(height)});
    }
}

async function main() {
    placeFromTwips();
    if (document.documentElement.dataset.unsupported)
        return;
    const core = await createVelmoraCore();
    // A first run would spend its time in the engines' first, slow tiers of compiled code.
    // One run made now, while the form is set up, has the core's fast code compiled in the
    // background; drawn away from the screen at the end, it readies the canvas code as well.
    const warm = new core.Run('0.6', '350', '0', '.');
    for (let wait = warm.begin(); !Number.isNaN(wait) && warm.scanning();)
        wait = warm.step();
    const warmWords = warm.commands().slice();
    warm.delete();
    const separator = decimalPoint();
    const form = $('frmVelmora');
    const canvas = $('picture');
    const surface = new CanvasSurface(canvas, (c) => core.displayRgb(c));

    // The hidden text boxes of the desktop: the presets as text, read by each run.
    const store = {nFi: '', nRozteč: '', nSpomaleni: ''};
    const frequencies = {op5: 5, op1: 1, op06: 0.6, op02: 0.2, op003: 0.03};
    const handlers = {};
    for (const [id, value] of Object.entries(frequencies))
        handlers[id] = () => { store.nFi = core.numberToText(value, separator); };
    for (const id of ['opV300', 'opV350', 'opV400'])
        handlers[id] = () => { store.nRozteč = $(id).value; };

    const speed = $('HScroll1');
    function HScroll1_Change() {
        // Through its text and back, as the count is always kept as text.
        store.nSpomaleni = core.numberToText((speed.valueAsNumber << 16) >> 16, separator);
        const value = core.textToNumber(store.nSpomaleni, separator);
        if (Number.isNaN(value))
            throw new Error(`not a number: ${store.nSpomaleni}`);
        store.nSpomaleni = core.numberToText(value * 30 + 1, separator);
    }
    function showSpeed() {
        speed.setAttribute('aria-valuetext', speedText(speed.valueAsNumber));
    }

    // The drawing of the current run, kept to redraw the picture when the zoom changes.
    let drawn = [];
    let stateAtRunStart = {...surface.state};
    function fit() {
        const zoom = Math.max(1, Math.min(innerWidth / formWidth, innerHeight / formHeight));
        form.style.setProperty('--zoom', zoom);
        form.dataset.zoom = zoom;
        const scale = zoom * devicePixelRatio;
        if (scale === surface.scale)
            return;
        surface.resize(scale);
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
    const waiting = []; // input that came during a run, acted on after it, in order

    function showRunTimeError(message) {
        $('runTimeErrorText').textContent = message;
        $('runTimeError').showModal();
    }

    function cmdStart_Click() {
        run = new core.Run(store.nFi, store.nRozteč, store.nSpomaleni, separator);
        stateAtRunStart = {...surface.state};
        drawn = [];
        form.setAttribute('aria-busy', 'true');
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
        const result = Number.isNaN(wait) ? {error: run.error()} : run.finish();
        for (const {name, left, top} of result.labels || []) {
            const label = $(name);
            label.hidden = false; // then Left, then Top: a failed write leaves the rest
            if (left !== undefined)
                label.style.left = `${left}px`;
            if (top !== undefined)
                label.style.top = `${top}px`;
        }
        run.delete();
        run = null;
        form.removeAttribute('aria-busy');
        let summary = result.summary;
        if (result.error) {
            summary = `The last run stopped: ${result.error}. The picture is incomplete.`;
            showRunTimeError(result.error);
        } else {
            $('announcer').textContent = summary;
        }
        $('pictureDescription').textContent = summary;
        // A page that embeds Velmora hears of every run's end, one stopped by an error too.
        document.dispatchEvent(new CustomEvent('velmora-run-end',
                                               {detail: {summary, error: result.error}}));
        while (!run && waiting.length)
            waiting.shift()();
    }

    function cmdKonec_Click() {
        for (const control of form.querySelectorAll('button, input'))
            control.disabled = true;
        const ended = $('ended');
        ended.hidden = false;
        $('announcer').textContent = ended.textContent;
        ended.focus();
    }

    // Acts now, or after the run when one is going.
    const act = (action) => (run ? waiting.push(action) : action());

    for (const id of [...Object.keys(frequencies), 'opV300', 'opV350', 'opV400']) {
        $(id).addEventListener('change', () => handlers[id]());
    }
    speed.addEventListener('input', showSpeed);
    speed.addEventListener('change', HScroll1_Change);
    $('cmdStart').addEventListener('click', () => act(cmdStart_Click));
    $('cmdKonec').addEventListener('click', () => act(cmdKonec_Click));

    // During a run the page, like the desktop window, handles no input: what the user does
    // is held and done when the run ends.
    const held = (event) => {
        if (!run || !form.contains(event.target))
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
                waiting.push(() => input.click());
            else if (input === speed)
                waiting.push(() => moveSpeed(key));
            else if (input && input.type === 'radio')
                waiting.push(() => moveOption(input, key));
            return;
        }
        event.preventDefault();
        event.stopPropagation();
        if (event.type === 'click' && input && input !== speed)
            waiting.push(() => input.click());
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
            showSpeed();
            HScroll1_Change();
        }
    }
    function moveOption(input, key) {
        const group = [...form.querySelectorAll(`input[name="${input.name}"]`)];
        const delta = {ArrowDown: 1, ArrowRight: 1, ArrowUp: -1, ArrowLeft: -1}[key];
        if (delta === undefined)
            return;
        const next = group[(group.indexOf(input) + delta + group.length) % group.length];
        next.focus();
        next.click();
    }

    // Form_Load: the defaults, each through its button's handler.
    $('op06').checked = true;
    handlers.op06();
    $('opV350').checked = true;
    handlers.opV350();
    store.nSpomaleni = '1';
    showSpeed();
    $('pictureDescription').textContent = core.describeNoPicture();

    fit();
    addEventListener('resize', fit);
    // Browser zoom changes the device pixel ratio; the query is for one ratio, so renew it.
    const watchRatio = () => matchMedia(`(resolution: ${devicePixelRatio}dppx)`)
        .addEventListener('change', () => { fit(); watchRatio(); }, {once: true});
    watchRatio();

    // For course pages and tests: the drawing words of a whole run, away from the canvas.
    window.velmora = {
        store,
        trace(fi, rozteč, spomaleni) {
            const traced = new core.Run(fi, rozteč, spomaleni, separator);
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
            const result = Number.isNaN(wait) ? {error: traced.error()} : traced.finish();
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
    const offscreen = new CanvasSurface(document.createElement('canvas'), surface.displayRgb);
    offscreen.resize(surface.scale);
    offscreen.replay(warmWords, new Float32Array(warmWords.buffer));
    document.documentElement.dataset.ready = 'true';
}

main();
})();
