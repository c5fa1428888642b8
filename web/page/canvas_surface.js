// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The canvas surface: the core's drawing calls, recorded as words, replayed on the page's
// <canvas>.

// Word stream written by web/command_recorder.h, one opcode then its operands.
const Op = {
    ScaleMode: 1, DrawWidth: 2, FillColor: 3, FillStyle: 4,
    Line: 5, ColouredLine: 6, Circle: 7, Present: 8,
};
const foreground = 0x80000012; // the window's default foreground: button text
const twips = 1;
const solid = 0;

// Paints the core's primitives with the desktop canvas's geometry: twips become CSS pixels as
// the form says, one-pixel pens fall right of and below the mathematical line, wider pens are
// centred on it with round caps, and circles are filled before they are outlined.
class CanvasSurface {
    // The form's size in CSS pixels; its twips per pixel; the core's displayRgb.
    constructor(canvas, width, height, twipsPerPixel, displayRgb) {
        this.canvas = canvas;
        this.context = canvas.getContext('2d', {alpha: false});
        this.width = width;
        this.height = height;
        this.twipsPerPixel = twipsPerPixel;
        this.displayRgb = displayRgb;
        this.styles = new Map();
        this.state = {scaleMode: twips, drawWidth: 1, fillColor: 0, fillStyle: 1};
        this.scale = 0; // device pixels per CSS pixel; none until the first resize
        this.path = null; // lines waiting to be stroked together, all of one colour and width
    }

    // Device pixels per CSS pixel of the form, and the canvas's size in device pixels, by
    // default as many as the scale gives; the picture is redrawn by the caller after a change.
    resize(scale, width = Math.floor(this.width * scale + 1e-6),
           height = Math.floor(this.height * scale + 1e-6)) {
        this.scale = scale;
        this.canvas.width = width;
        this.canvas.height = height;
        this.context.setTransform(scale, 0, 0, scale, 0, 0);
        this.context.fillStyle = this.style(0x00c0c0c0);
        this.context.fillRect(0, 0, this.width, this.height);
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
        return this.state.scaleMode === twips ? v / this.twipsPerPixel : v;
    }

    // A pen covers whole device pixels, at least one, whatever the scale: thin lines stay
    // crisp, as the desktop's aliased ones, and never fade below a pixel.
    thickness(width) {
        return Math.max(1, Math.round(width * this.scale));
    }

    // An odd number of device pixels cannot straddle the line evenly: the spare one goes
    // right and below, as the desktop's aliased pens do.
    offset(width) {
        return this.thickness(width) % 2 === 1 ? 0.5 / this.scale : 0;
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
            p = this.path = {colour, width, thick: this.thickness(width),
                             shift: this.offset(width), strokes: null, rows: null};
        }
        const unit = this.state.scaleMode === twips ? this.twipsPerPixel : 1;
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
    // below, and the ends reach out as far as the pen's cap. At a scale that is not whole, a
    // pen reaches on to where the same pen a pixel further starts, so that rows a pixel apart,
    // as the wipe draws them, leave no device pixel between them unpainted.
    row(p, a, b, c, d) {
        const s = this.scale;
        const t = p.thick;
        const first = (v) => Math.floor(v * s - (t - 1) / 2);
        const end = (v) => Math.max(first(v) + t, first(v + p.width));
        p.rows ??= new Path2D();
        if (b === d) {
            const from = first(Math.min(a, c));
            p.rows.rect(from / s, first(b) / s, (end(Math.max(a, c)) - from) / s,
                        (end(b) - first(b)) / s);
        } else {
            const from = first(Math.min(b, d));
            p.rows.rect(first(a) / s, from / s, (end(a) - first(a)) / s,
                        (end(Math.max(b, d)) - from) / s);
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
        // Closed, as the desktop's: an open arc would take the caps of the last lines drawn,
        // and a run's dots would differ with the run before it.
        c.closePath();
        if (this.state.fillStyle === solid) {
            c.fillStyle = this.style(this.state.fillColor);
            c.fill();
        }
        c.lineWidth = this.thickness(width) / this.scale;
        c.strokeStyle = this.style(foreground);
        c.stroke();
    }

    flush() {
        if (!this.path)
            return;
        const c = this.context;
        const {colour, width, thick, strokes, rows} = this.path;
        if (rows) {
            c.fillStyle = this.style(colour);
            c.fill(rows);
        }
        if (strokes) {
            c.lineWidth = thick / this.scale;
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
