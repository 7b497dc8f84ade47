// The page's terminal, and the program on it: xterm.js shows what the program writes, and the keys
// reach the program through line.js, as a Linux terminal in line mode hands them on. When the
// program has ended, a key or the button starts it again. Keys come from a desktop keyboard or an
// on-screen one alike, and a touch screen has buttons for the Ctrl-C and Ctrl-D that its keyboard
// lacks. Served, the page is an app that works offline.
"use strict";

// A monospace font made for the screen on each platform: Apple's (not its Courier, which
// "monospace" gives there), Windows's, the common ones of Linux and ChromeOS, then the system's own.
const family =
  'ui-monospace, Menlo, "Cascadia Mono", Consolas, "DejaVu Sans Mono", "Liberation Mono", Cousine, "Droid Sans Mono", monospace';
const status = document.getElementById("status");
// The room for the terminal's screen, across and down: the part of the window in sight, less the
// page's margins, the keys of a touch screen and a line of the page's status (the status that says
// the program has ended may run further down), which are all of the page but the screen.
function room(screen) {
  const bottom = status.offsetTop + parseFloat(getComputedStyle(status).minHeight) + 8;
  const { width, height } = window.visualViewport ?? { width: innerWidth, height: innerHeight };
  return [width - 16, height - (bottom - (screen?.offsetHeight ?? 0))];
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
const terminal = new Terminal({
  ...first(),
  fontFamily: family,
  convertEol: true, // a line end goes back to the first column, as a terminal's output does
  screenReaderMode: true,
});
const again = document.getElementById("again");

// The run on the terminal now (its line discipline), or null once the program has ended; and the
// program's WebAssembly, compiled once for every run, as tensort.html started it.
let run = null;
const compiled = { module: program };

// Sizes the terminal to the room for it, as plan() says, from the cells that it has drawn. Cells
// grow with the font: the plan is made from the cells in use, and 80x24 is checked on the terminal
// a font at a time, from the one that it names down; else, at 12 pixels, the plan is made again
// from the cells measured there, and the terminal made a column or a row smaller only where it is
// then drawn too wide or too tall. xterm.js wraps lines at the columns, as a terminal does, and
// keeps them, and the line being typed, through a resize.
function fit() {
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

// Starts the program from its banner, on a terminal emptied of the last run.
function start() {
  terminal.reset();
  status.textContent = "";
  again.hidden = true;
  const state = lineDiscipline((text) => terminal.write(text), (code) => end(state, code));
  run = state;
  createTensort({ console: state.console, compiled, onExit: (code) => end(state, code) });
}

// Says that the run has ended, and how.
function end(state, code) {
  if (run !== state) return;
  run = null;
  status.textContent = `tensort has ended (exit status ${code}). Press a key or the button to start it again.`;
  again.hidden = false;
}

// Hands typed keys to the run, or starts the program again once it has ended.
function input(keys) {
  if (run === null) start();
  else run.type(keys);
}

// The program starts first, so that its WebAssembly compiles while the terminal is being built;
// it writes nothing before this script has ended, and the terminal keeps what it writes till then.
start();
terminal.open(document.getElementById("terminal"));

// Which of two ways a key takes to the program is decided here, once. xterm.js turns key events
// into keys, but in screen-reader mode it leaves each key to the browser as well, which then types
// it into the terminal's field too; and an on-screen keyboard names no key (keyCode 229): it
// inserts text into the field, or composes a word there and commits it. So every key that types
// text goes to the field, and the page takes it from there (below). xterm.js takes the keys that
// type no text: Enter, Backspace (whose line break or erase in the field is cancelled), Tab, the
// arrows and the like, and any key with Ctrl (but AltGr, which types text) or Meta.
terminal.attachCustomKeyEventHandler((event) => {
  const text = event.key?.length === 1 && !event.metaKey && (!event.ctrlKey || event.altKey);
  if (event.type === "keypress" || event.keyCode === 229 || event.isComposing || text) return false;
  if (event.key === "Enter" || event.key === "Backspace") event.preventDefault();
  return true;
});

// What the field is given. Typed text, an erase and a line end are taken as they come; they, and
// all else but compositions, are kept out of the field, which stays empty: no word there for the
// keyboard to correct later. A composition's text is shown where it goes, and taken once, when it
// is committed (not as it grows, nor again as the insertion that some browsers send with its
// end). xterm.js hears none of these.
const edits = {
  insertText: (event) => event.data,
  deleteContentBackward: () => "\x7f",
  insertLineBreak: () => "\r",
  insertParagraph: () => "\r",
};
// Handles the field's events of a type on the terminal's element, ahead of xterm.js, whose own
// handlers on the field they then never reach.
function listen(type, handle) {
  terminal.element.addEventListener(type, (event) => (event.stopPropagation(), handle(event)), true);
}
listen("beforeinput", (event) => {
  if (event.inputType.includes("Composition")) return;
  event.preventDefault(); // a paste, say, which xterm.js has taken from its event already
  const keys = edits[event.inputType]?.(event);
  if (keys !== undefined) input(keys);
});
listen("compositionstart", () => {});
listen("compositionupdate", (event) => run?.compose(event.data));
listen("compositionend", (event) => {
  run?.compose("");
  terminal.textarea.value = "";
  input(event.data);
});

terminal.onData(input);
// The keys that a touch screen's keyboard lacks; a tap on one keeps the field, and the keyboard, up.
for (const [id, key] of [["ctrl-c", "\x03"], ["ctrl-d", "\x04"]]) {
  const button = document.getElementById(id);
  button.addEventListener("mousedown", (event) => event.preventDefault());
  button.addEventListener("click", () => input(key));
}
again.addEventListener("click", () => {
  start();
  terminal.focus();
});
addEventListener("resize", fit);
window.visualViewport?.addEventListener("resize", fit);
fit();
document.fonts.ready.then(fit); // once the font in use has loaded, its cells are measured again
terminal.focus();
// Served (over https, or from this machine), the page is an app, which can be installed, and
// keeps its files to open again with no network. Opened from disk, where no service worker can
// run and the browser reads no manifest (but complains of it), it is the page alone.
if (navigator.serviceWorker && location.protocol !== "file:") {
  const manifest = Object.assign(document.createElement("link"), { rel: "manifest", href: "tensort.webmanifest" });
  document.head.append(manifest);
  navigator.serviceWorker.register("service-worker.js");
}
