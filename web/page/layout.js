// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The page at any width. From the form's own width on, the desktop's form scaled to fit the
// window, every box on whole device pixels; below it, the controls flow above and below a
// picture as wide as the page. The browser's zoom stays the user's: no fit takes it back.

// The zoom levels above 100 % that Chromium and WebKit offer.
const zoomSteps = [1.1, 1.25, 1.5, 1.75, 2, 2.5, 3, 4, 5];

// The most device pixels, up to n, that make a whole number of quarter CSS pixels, which the
// layout of every engine holds exactly: a canvas of that size and place is shown unscaled.
function exactPixels(n, ratio) {
    for (let m = n; m > Math.max(0, n - 64); m--) {
        const quarters = m / ratio * 4;
        if (Math.abs(quarters - Math.round(quarters)) < 1e-3)
            return m;
    }
    return n;
}

// Returns a function that tells the browser's zoom now. Zooming changes the device pixel ratio
// while the window keeps its size on the screen; moving to another screen changes both. A zoom
// the page opens at shows only where the browser gives the window's outer width in screen
// pixels and its inner width in CSS pixels (Chromium, WebKit), and is believed only when their
// ratio is one of the zoom levels, so that a side panel is not taken for one.
function watchZoom() {
    const opened = zoomSteps.find((z) => Math.abs(outerWidth / innerWidth / z - 1) < 0.01);
    let screenRatio = devicePixelRatio / (opened ?? 1);
    let ratio = devicePixelRatio;
    let width = innerWidth * ratio;
    return () => {
        const now = innerWidth * devicePixelRatio;
        if (devicePixelRatio !== ratio && Math.abs(now / width - 1) > 0.01)
            screenRatio *= devicePixelRatio / ratio; // another screen, the same zoom
        ratio = devicePixelRatio;
        width = now;
        return ratio / screenRatio;
    };
}

// Lays out the form built by buildForm in `root`, around the surface's canvas, now and after
// each change of the window's size, zoom or screen; `redraw` draws the picture again after the
// canvas was resized. Returns fit() and place(label, left, top), which puts one of the run's
// labels where it says in the form's pixels (undefined: where it was).
function layOut(root, form, surface, redraw) {
    const picture = surface.canvas;
    const html = document.documentElement;
    const zoom = watchZoom();
    const frames = new Map(form.places.map((p) => [p.element.id, p]));
    const placed = new Map(); // label → {left, top}, as the last run put it
    let scale = 0; // CSS pixels per pixel of the form, in the picture
    let arrange = null;
    let position = null; // one control, as arrange() puts it

    // From the form's pixels to CSS pixels, on a device pixel.
    const snap = (px) => Math.round(px * scale * devicePixelRatio) / devicePixelRatio;
    const css = (px) => `${px}px`;
    const clear = (element, ...properties) => {
        for (const property of properties)
            element.style[property] = '';
    };

    // A control's box in the window, in the form's pixels, and the corner of its frame.
    function where({element, twips, container}) {
        const [x, y] = (container ? frames.get(container).twips : [0, 0])
            .map((t) => t / form.twipsPerPixel);
        const [left, top, width, height] = twips.map((t) => t / form.twipsPerPixel);
        const at = placed.get(element) ?? {};
        return {x, y, left: at.left ?? x + left, top: at.top ?? y + top, width, height};
    }

    function box(element, left, top, width, height) {
        Object.assign(element.style, {left: css(left), top: css(top), width: css(width),
                                      height: css(height)});
    }

    // The run's labels at the picture's scale, the rest at `controls`.
    function fonts(controls) {
        for (const {element, points} of form.sizes) {
            const s = element.classList.contains('result') ? scale : controls;
            element.style.fontSize = `${points * s}pt`;
        }
    }

    // Each control where the table puts it, its edges on device pixels: a frame's buttons by
    // their place in the window, so that neighbours meet as they do on the desktop.
    function formPlace(place) {
        const {x, y, left, top, width, height} = where(place);
        box(place.element, snap(left) - snap(x), snap(top) - snap(y),
            snap(left + width) - snap(left), snap(top + height) - snap(top));
    }
    function formLayout() {
        form.places.forEach(formPlace);
        fonts(scale);
        const ratio = devicePixelRatio;
        const width = picture.width / ratio;
        const spare = exactPixels(Math.floor(Math.max(0, html.clientWidth - width) / 2 * ratio),
                                  ratio);
        Object.assign(root.style, {width: css(width), height: css(picture.height / ratio),
                                   marginLeft: css(spare / ratio)});
        root.style.setProperty('--fit', scale);
    }

    // The controls flow as the style sheet says, at their own size; the run's labels are part
    // of the picture and scale with it, so that they stand where they do on the desktop.
    function flowPlace(place) {
        const {element} = place;
        if (element.classList.contains('result')) {
            const {left, top, width, height} = where(place);
            box(element, snap(left), snap(top), width * scale, height * scale);
        } else {
            clear(element, 'left', 'top', 'width', 'height');
        }
    }
    function flowLayout() {
        form.places.forEach(flowPlace);
        fonts(1);
        root.style.setProperty('--fit', 1);
    }

    function fit() {
        const ratio = devicePixelRatio;
        const z = zoom();
        // The viewport's own width: a phone lays a page out wider than the screen while it
        // holds the form at its full width, as after turning from landscape to portrait.
        const wide = matchMedia(`(min-width: ${form.width}px)`).matches;
        html.dataset.layout = root.dataset.layout = wide ? 'form' : 'flow';
        if (wide) {
            // Explore's panel below the form keeps its room, in the form's pixels: it scales
            // with the form (explore.js).
            const below = ($('explore')?.getBoundingClientRect().height ?? 0) /
                          (parseFloat(root.style.getPropertyValue('--fit')) || 1);
            scale = Math.max(1, Math.min(innerWidth * z / form.width,
                                         innerHeight * z / (form.height + below)));
            // A vertical scroll bar takes its width from the window: the form gives that up
            // rather than have the page scroll sideways.
            scale = Math.min(scale, html.clientWidth * z / form.width);
        } else {
            clear(root, 'width', 'height', 'marginLeft');
            const style = getComputedStyle(root);
            const room = root.clientWidth - parseFloat(style.paddingLeft) -
                         parseFloat(style.paddingRight);
            scale = Math.min(1, room / form.width);
        }
        const s = scale * ratio;
        const width = exactPixels(Math.floor(form.width * s + 1e-6), ratio);
        const height = exactPixels(Math.floor(form.height * s + 1e-6), ratio);
        if (s !== surface.scale || width !== picture.width || height !== picture.height) {
            surface.resize(s, width, height);
            redraw();
        }
        Object.assign(picture.style, {width: css(picture.width / ratio),
                                      height: css(picture.height / ratio)});
        arrange = wide ? formLayout : flowLayout;
        position = wide ? formPlace : flowPlace;
        arrange();
    }

    addEventListener('resize', fit);
    // Zoom and a new screen change the device pixel ratio; the query is for one ratio, so renew it.
    const watchRatio = () => matchMedia(`(resolution: ${devicePixelRatio}dppx)`)
        .addEventListener('change', () => { fit(); watchRatio(); }, {once: true});
    watchRatio();

    return {
        fit,
        place(label, left, top) {
            const at = placed.get(label) ?? {};
            placed.set(label, {left: left ?? at.left, top: top ?? at.top});
            // That label alone: the whole form again would make the browser lay out the
            // page once per label at each run's end.
            position(frames.get(label.id));
        },
    };
}
