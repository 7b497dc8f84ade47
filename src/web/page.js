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
// The part of the window in sight, and a first guess at the font at which 80x24 fits in it (cells
// of most monospace fonts are 0.6 of their size across and about 1.15 down), which fit() checks:
// where it guesses right, the terminal's font is measured once.
const view = () => window.visualViewport ?? { width: innerWidth, height: innerHeight };
const guess = Math.floor(Math.min((view().width - 16) / 80 / 0.6, (view().height - 48) / 24 / 1.15));
const terminal = new Terminal({
  cols: 80,
  rows: 24,
  fontFamily: family,
  fontSize: Math.max(12, Math.min(16, guess)),
  convertEol: true, // a line end goes back to the first column, as a terminal's output does
  screenReaderMode: true,
});
const status = document.getElementById("status");
const again = document.getElementById("again");

// The run on the terminal now (its line discipline), or null once the program has ended; and the
// program's WebAssembly, compiled once for every run, as tensort.html started it.
let run = null;
const compiled = { module: program };

// Sizes the terminal to the part of the window in sight, from the cells of the font in use. Where
// 80 columns and 24 rows fit at a readable font (12 pixels or more, 16 at most), it is 80x24 at
// the largest such font; where they do not, as on a phone, or with an on-screen keyboard up, it
// takes a font of 12 pixels and the columns and rows that fit, so that the whole terminal, and the
// line being typed, are in sight and nothing is wider than the screen. xterm.js wraps lines at the
// columns, as a terminal does, and keeps them, and the line being typed, through a resize.
function fit() {
  const screen = terminal.element.querySelector(".xterm-screen");
  const cell = () => {
    const box = screen.getBoundingClientRect();
    return [box.width / terminal.cols, box.height / terminal.rows];
  };
  // Beside the terminal, the page's margins, the keys of a touch screen and a line of the page's
  // status are in sight too (the status that says the program has ended may run further down).
  const bottom = status.offsetTop + parseFloat(getComputedStyle(status).minHeight) + 8;
  const { width, height } = view();
  const room = [width - 16, height - (bottom - screen.offsetHeight)];
  // Cells grow with the font: the first font tried is the one the cells now in use say fits.
  const [across, down] = cell().map((size, i) => room[i] / size / [80, 24][i]);
  for (let font = Math.min(16, Math.floor(terminal.options.fontSize * Math.min(across, down))); font >= 12; font--) {
    terminal.options.fontSize = font;
    const [wide, high] = cell();
    if (80 * wide <= room[0] && 24 * high <= room[1]) return terminal.resize(80, 24);
  }
  terminal.options.fontSize = 12;
  // The cells, measured to a fraction of a pixel, say how many columns and rows there is room for
  // (where the room is within a hundredth of a cell of one more, that one too): the terminal is
  // sized once to them, and again, one fewer, only where it is then drawn too wide or too tall.
  let [cols, rows] = cell().map((size, i) => Math.floor(room[i] / size + 0.01));
  for (;;) {
    terminal.resize(Math.max(2, cols), Math.max(1, rows));
    const box = screen.getBoundingClientRect();
    if ((box.width <= room[0] || cols <= 2) && (box.height <= room[1] || rows <= 1)) return;
    cols -= box.width > room[0];
    rows -= box.height > room[1];
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
