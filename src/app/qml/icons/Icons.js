// The one icon map: the symbol names the screens use → the SVG drawing shown
// for each. The drawings are Kestovar's own (see LICENSE beside this file);
// "currentColor" is replaced by the colour asked for.
.pragma library

const drawings = {
    "bubble.left.and.bubble.right.fill":
        '<path d="M3 4h11a2 2 0 0 1 2 2v6a2 2 0 0 1-2 2H8l-4 3v-3H3a2 2 0 0 1-2-2V6a2 2 0 0 1 2-2z" fill="currentColor"/>' +
        '<path d="M18 8h3a2 2 0 0 1 2 2v6a2 2 0 0 1-2 2h-1v3l-4-3h-5a2 2 0 0 1-2-2v-1h6a3 3 0 0 0 3-3z" fill="currentColor" opacity="0.75"/>',
    "safari":
        '<circle cx="12" cy="12" r="9.5" fill="none" stroke="currentColor" stroke-width="2"/>' +
        '<path d="M15.5 8.5 13 13l-4.5 2.5L11 11z" fill="currentColor"/>',
    "sun.max.fill":
        '<circle cx="12" cy="12" r="4.5" fill="currentColor"/>' +
        '<g stroke="currentColor" stroke-width="2" stroke-linecap="round">' +
        '<path d="M12 2v2.5M12 19.5V22M2 12h2.5M19.5 12H22M4.9 4.9l1.8 1.8M17.3 17.3l1.8 1.8M4.9 19.1l1.8-1.8M17.3 6.7l1.8-1.8"/></g>',
    "moon.fill":
        '<path d="M20 14.5A8.5 8.5 0 1 1 9.5 4a7 7 0 0 0 10.5 10.5z" fill="currentColor"/>',
    "tray.fill":
        '<path d="M4 4h16l2 9v6a1 1 0 0 1-1 1H3a1 1 0 0 1-1-1v-6zm1.6 2-1.5 7H8l1 2h6l1-2h3.9l-1.5-7z" fill="currentColor" fill-rule="evenodd"/>',
    "person.2.wave.2.fill":
        '<circle cx="9" cy="8" r="3.5" fill="currentColor"/>' +
        '<path d="M2.5 19a6.5 6.5 0 0 1 13 0z" fill="currentColor"/>' +
        '<path d="M17 5.5a4 4 0 0 1 0 6M19.5 3.5a7 7 0 0 1 0 10" fill="none" stroke="currentColor" stroke-width="1.8" stroke-linecap="round"/>',
    "chart.line.uptrend.xyaxis":
        '<path d="M3 3v18h18" fill="none" stroke="currentColor" stroke-width="2" stroke-linecap="round"/>' +
        '<path d="m6 16 4-5 3 3 6-7" fill="none" stroke="currentColor" stroke-width="2.2" stroke-linecap="round" stroke-linejoin="round"/>',
    "gearshape.fill":
        '<path d="M10.3 2h3.4l.5 2.6 1.7.8 2.2-1.5 2.4 2.4-1.5 2.2.8 1.7 2.6.5v3.4l-2.6.5-.8 1.7 1.5 2.2-2.4 2.4-2.2-1.5-1.7.8-.5 2.6h-3.4l-.5-2.6-1.7-.8-2.2 1.5-2.4-2.4 1.5-2.2-.8-1.7L2 13.7v-3.4l2.6-.5.8-1.7-1.5-2.2 2.4-2.4 2.2 1.5 1.7-.8zM12 8.5a3.5 3.5 0 1 0 0 7 3.5 3.5 0 0 0 0-7z" fill="currentColor" fill-rule="evenodd"/>',
    "sparkles":
        '<path d="M10 2l1.8 5.2L17 9l-5.2 1.8L10 16l-1.8-5.2L3 9l5.2-1.8zM18 14l.9 2.1L21 17l-2.1.9L18 20l-.9-2.1L15 17l2.1-.9z" fill="currentColor"/>',
    "globe":
        '<circle cx="12" cy="12" r="9.5" fill="none" stroke="currentColor" stroke-width="1.8"/>' +
        '<path d="M2.5 12h19M12 2.5c3 3 3 16 0 19M12 2.5c-3 3-3 16 0 19" fill="none" stroke="currentColor" stroke-width="1.5"/>'
};

// A data URL of the drawing in `color`; empty for an unknown name.
function url(name, color) {
    const body = drawings[name];
    if (body === undefined)
        return "";
    const svg = '<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 24 24">' +
                body.split("currentColor").join(String(color)) + '</svg>';
    return "data:image/svg+xml;utf8," + encodeURIComponent(svg);
}

function has(name) {
    return drawings[name] !== undefined;
}
