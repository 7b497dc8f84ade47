// The page's terminal, and the program on it: xterm.js shows what the program writes, and the keys
// reach the program through line.js, as a Linux terminal in line mode hands them on. When the
// program has ended, a key or the button starts it again. Keys come from a desktop keyboard or an
// on-screen one alike, and a touch screen has buttons for the Ctrl-C and Ctrl-D that its keyboard
// lacks. Served, the page is an app that works offline. The terminal's size is size.js's. A screen
// reader hears the program through the page's log, below.
"use strict";

const status = document.getElementById("status");
const terminal = new Terminal({
  ...first(),
  fontFamily: family,
  convertEol: true, // a line end goes back to the first column, as a terminal's output does
});
const again = document.getElementById("again");

// The run on the terminal now (its line discipline), or null once the program has ended; and the
// program's WebAssembly, compiled once for every run, as tensort.html started it.
let run = null;
const compiled = { module: program };

// What a screen reader hears. xterm.js's own live region stays off: it reads its rows again at every
// key that xterm.js does not take itself, and the page takes most (below). The page's log
// (role="log", out of sight) is given the program's lines instead, without the echo of typed keys,
// which a screen reader echoes itself: all that the program writes until it waits, as one addition,
// which is read out whole, once, as one message. A clear empties it, as it does the screen; it
// keeps the last 50 additions.
const log = document.getElementById("log");
function output(said) {
  const cleared = said.lastIndexOf("\x1b[2J");
  if (cleared >= 0) log.replaceChildren();
  const lines = said.slice(Math.max(cleared, 0)).replace(/\x1b\[[0-9;?]*[A-Za-z]/g, "").split("\n");
  const text = lines.filter((line) => /\S/.test(line)).join("\n");
  if (text) log.append(Object.assign(document.createElement("p"), { textContent: text }));
  if (log.childElementCount > 50) log.firstElementChild.remove();
}

// Starts the program from its banner, on a terminal emptied of the last run.
function start() {
  terminal.reset();
  status.textContent = "";
  log.replaceChildren();
  again.hidden = true;
  if (typeof createTensort !== "function") return cannotStart(new Error("tensort.js did not load"));
  const state = lineDiscipline((text) => terminal.write(text), (code) => end(state, code), output);
  run = state;
  createTensort({ console: state.console, compiled, onExit: (code) => end(state, code), cannotStart });
}

// Says on the page, and in the browser's console, that the program cannot start, and why.
function cannotStart(error) {
  run = null;
  console.error("tensort cannot start:", error);
  status.textContent = `tensort cannot start (${error.message}). Open tensort.html with all the files that came ` +
    "with it, in a browser that runs WebAssembly, and reload the page.";
  again.hidden = true;
}

// Says that the run has ended, and how.
function end(state, code) {
  if (run !== state) return;
  run = null;
  status.textContent = `tensort has ended (exit status ${code}). Press a key, or the Start again button, to start it again.`;
  again.hidden = false;
}

// Hands typed keys to the run, or starts the program again once it has ended.
function input(keys) {
  if (run === null) start();
  else run.type(keys);
}

// The program starts before the terminal is opened: it writes nothing before this script has
// ended, and the terminal keeps what it writes till then.
start();
terminal.open(document.getElementById("terminal"));

// Which of two ways a key takes to the program is decided here, once. xterm.js turns key events
// into keys, but in screen-reader mode it leaves each key to the browser as well, which then types
// it into the terminal's field too; and an on-screen keyboard names no key (keyCode 229): it
// inserts text into the field, or composes a word there and commits it. So every key that types
// text goes to the field, and the page takes it from there (below). xterm.js takes the keys that
// type no text: Enter, Backspace (whose line break or erase in the field is cancelled), Tab, the
// arrows and the like, and any key with Ctrl (but AltGr, which types text) or Meta. Once the program
// has ended, Tab is the browser's, and goes on to the Start again button.
terminal.attachCustomKeyEventHandler((event) => {
  if (event.key === "Tab" && run === null) return false;
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
const resize = () => fit(terminal);
addEventListener("resize", resize);
window.visualViewport?.addEventListener("resize", resize);
resize();
document.fonts.ready.then(resize); // once the font in use has loaded, its cells are measured again
terminal.focus();
// Served (over https, or from this machine), the page is an app, which can be installed, and
// keeps its files to open again with no network. Opened from disk, where no service worker can
// run and the browser reads no manifest (but complains of it), it is the page alone.
if (navigator.serviceWorker && location.protocol !== "file:") {
  const manifest = Object.assign(document.createElement("link"), { rel: "manifest", href: "tensort.webmanifest" });
  document.head.append(manifest);
  navigator.serviceWorker.register("service-worker.js");
}
