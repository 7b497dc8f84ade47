// The size of the page's terminal, kept apart from the rest of the page as xterm.js keeps fitting
// apart in its fit add-on: the font, columns and rows that fit the part of the window in sight
// (plan(), which knows no page, so that the tests play its rules under Node.js), the size that the
// terminal starts at (first()), and the terminal sized again to the room for it (fit()).
"use strict";

// A monospace font made for the screen on each platform: Apple's (not its Courier, which
// "monospace" gives there), Windows's, the common ones of Linux and ChromeOS, then the system's own.
const family =
  'ui-monospace, Menlo, "Cascadia Mono", Consolas, "DejaVu Sans Mono", "Liberation Mono", Cousine, "Droid Sans Mono", monospace';
// The room for the terminal's screen, across and down: the part of the window in sight, less the
// page's margins (the padding of its main element, as its style sheet gives it), the keys of a
// touch screen and a line of the page's status (the status that says the program has ended may
// run further down), which are all of the page but the screen.
function room(screen) {
  const status = document.getElementById("status");
  const margin = (side) => parseFloat(getComputedStyle(document.querySelector("main"))[`padding${side}`]);
  const bottom = status.offsetTop + parseFloat(getComputedStyle(status).minHeight) + margin("Bottom");
  const { width, height } = window.visualViewport ?? { width: innerWidth, height: innerHeight };
  return [width - margin("Left") - margin("Right"), height - (bottom - (screen?.offsetHeight ?? 0))];
}

// The font, columns and rows for the room, from the cells that size(font) gives at a font: 80x24
// at the largest readable font (12 pixels or more, 16 at most) at which they fit; where they do
// not, as on a phone, or with an on-screen keyboard up, a font of 12 pixels and as many columns
// and rows as fit (where the room is within a hundredth of a cell of one more, that one too), so
// that the whole terminal, and the line being typed, are in sight and nothing is wider than the
// screen.
function plan(space, size) {
  for (let font = 16; font >= 12; font--) {
    const [wide, high] = size(font);
    if (80 * wide <= space[0] && 24 * high <= space[1]) return [font, 80, 24];
  }
  return [12, ...size(12).map((cell, i) => Math.floor(space[i] / cell + 0.01))];
}

// The size the terminal starts at, planned from its font's cells as a canvas measures them, which
// are the terminal's own or near them: where they are right, it is drawn once, at its size, and
// fit() finds nothing to change.
function first() {
  const canvas = document.createElement("canvas").getContext("2d");
  const [fontSize, cols, rows] = plan(room(), (font) => {
    canvas.font = `${font}px ${family}`;
    const glyph = canvas.measureText("W");
    const high = glyph.fontBoundingBoxAscent + glyph.fontBoundingBoxDescent || font * 1.15;
    return [glyph.width, Math.ceil(high * devicePixelRatio) / devicePixelRatio];
  });
  return { fontSize, cols: Math.max(2, cols), rows: Math.max(1, rows) };
}

// Sizes the terminal to the room for it, as plan() says, from the cells that it has drawn. Cells
// grow with the font: the plan is made from the cells in use, and 80x24 is checked on the terminal
// a font at a time, from the one that it names down; else, at 12 pixels, the plan is made again
// from the cells measured there, and the terminal made a column or a row smaller only where it is
// then drawn too wide or too tall. xterm.js wraps lines at the columns, as a terminal does, and
// keeps them, and the line being typed, through a resize.
function fit(terminal) {
  const screen = terminal.element.querySelector(".xterm-screen");
  const cell = () => {
    const box = screen.getBoundingClientRect();
    return [box.width / terminal.cols, box.height / terminal.rows];
  };
  const space = room(screen);
  const [now, base] = [cell(), terminal.options.fontSize];
  const [start, across, down] = plan(space, (font) => now.map((length) => (length * font) / base));
  for (let font = start; across === 80 && down === 24 && font >= 12; font--) {
    terminal.options.fontSize = font;
    const [wide, high] = cell();
    if (80 * wide <= space[0] && 24 * high <= space[1]) return terminal.resize(80, 24);
  }
  terminal.options.fontSize = 12;
  let [, cols, rows] = plan(space, cell);
  for (;;) {
    terminal.resize(Math.max(2, cols), Math.max(1, rows));
    const box = screen.getBoundingClientRect();
    if ((box.width <= space[0] || cols <= 2) && (box.height <= space[1] || rows <= 1)) return;
    cols -= box.width > space[0];
    rows -= box.height > space[1];
  }
}

if (typeof module === "object") module.exports = { plan };
