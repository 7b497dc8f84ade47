// The line discipline of the page's terminal: what a Linux terminal in line mode does with the keys
// typed. They are echoed, and reach the program a line at a time once Enter is pressed, with
// Backspace and Ctrl-U to edit the line (taking back the columns that each character took: a Tab
// up to its tab stop, a wide character two) and Ctrl-D to end the input. Ctrl-C (or Ctrl-\) ends
// the program at once; Ctrl-Z, which no shell here can act on, is echoed and drops the line. The
// pause takes one key, not echoed, once the keys typed ahead are dropped, and drops the rest of
// those that came with it (a paste, a word of an on-screen keyboard). It knows no page: page.js
// gives it the terminal's write, and the tests play it under Node.js.
"use strict";

// Keys that end the program as their signal does, with the status a shell shows for it.
const signals = { "\x03": 130, "\x1c": 131 };
// Characters two columns wide, as the terminal (xterm.js's Unicode 6 widths) draws them.
const wide = /[\u1100-\u115f\u2e80-\u303e\u3041-\u33ff\u3400-\u4dbf\u4e00-\u9fff\ua000-\ua4cf\uac00-\ud7a3\uf900-\ufaff\ufe30-\ufe4f\uff00-\uff60\uffe0-\uffe6\u{20000}-\u{3fffd}]/u;

// How a character is echoed: a control character as ^ and a letter.
function echoOf(key) {
  const code = key.codePointAt(0);
  return code < 32 && key !== "\t" ? "^" + String.fromCharCode(code + 64) : key;
}

// A run's console, its keys and its echo: `write` puts text on the terminal, `end` is told the
// status of a run that a key ends.
function lineDiscipline(write, end) {
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();
  let line = []; // the characters typed on the line, each with the columns it took
  let ready = []; // the bytes of the lines sent, not yet read
  let ended = false; // the input has ended (Ctrl-D on an empty line)
  let reader = null; // the read waiting for a line
  let paused = null; // the pause waiting for a key
  let over = false; // a key has ended the run
  let column = 0; // where the terminal's cursor is on its line
  let composed = []; // a composition's text, shown where it will go

  // Writes the text, and follows the cursor's column (escape sequences take none).
  function show(text) {
    write(text);
    for (const key of text.replace(/\x1b\[[0-9;?]*[A-Za-z]/g, "")) {
      if (key === "\r" || key === "\n") column = 0;
      else if (key === "\b") column = Math.max(0, column - 1);
      else if (key === "\t") column += 8 - (column % 8);
      else column += wide.test(key) ? 2 : 1;
    }
  }
  // Echoes the typed characters, and gives each with the columns it took.
  function echo(text) {
    return [...text].map((key) => {
      const from = column;
      show(echoOf(key));
      return { key, columns: column - from };
    });
  }
  // Takes the characters off the screen, as a terminal's erase does.
  function erase(typed) {
    for (const { columns } of typed.reverse()) show("\b".repeat(columns) + " ".repeat(columns) + "\b".repeat(columns));
  }
  // Hands the line typed so far to the program, with the text that ends it.
  function send(ending) {
    ready.push(...encoder.encode(line.map(({ key }) => key).join("") + ending));
    line = [];
  }
  // Gives the waiting read what there is: the lines sent, or else the end of the input.
  function deliver() {
    if (reader && (ready.length > 0 || ended)) {
      const waiting = reader;
      reader = null;
      waiting();
    }
  }
  // One typed character.
  function type(key) {
    if (key in signals) {
      if (!paused) show(echoOf(key));
      over = true;
      end(signals[key]);
    } else if (key === "\x1a") {
      if (!paused) show("^Z");
      line = [];
    } else if (paused) {
      const resolve = paused;
      paused = null;
      resolve();
      return false; // the rest of what came with it is dropped
    } else if (key === "\r" || key === "\n") {
      show("\r\n");
      send("\n");
    } else if (key === "\x7f" || key === "\b") {
      erase(line.splice(-1));
    } else if (key === "\x15") {
      erase(line.splice(0));
    } else if (key === "\x04") {
      ended = line.length === 0;
      send("");
    } else if (key !== "\x11" && key !== "\x13") {
      // (Ctrl-Q and Ctrl-S would start and stop a terminal's output.)
      line.push(...echo(key));
    }
    deliver();
    return !over;
  }

  return {
    // The program's console: a read waits for a line, a write shows the program's bytes, and the
    // pause drops the keys typed ahead and waits for one.
    console: {
      clears: true,
      waits: true,
      read(bytes) {
        return new Promise((resolve) => {
          reader = () => {
            const count = Math.min(bytes.length, ready.length);
            bytes.set(ready.splice(0, count));
            ended &&= count > 0;
            resolve(count);
          };
          deliver();
        });
      },
      write(bytes) {
        show(decoder.decode(bytes, { stream: true }));
        return bytes.length;
      },
      key() {
        line = [];
        ready = [];
        return new Promise((resolve) => (paused = resolve));
      },
    },
    // Hands typed keys to the run, one at a time, until one ends the run or the pause.
    type(keys) {
      for (const key of keys) if (!type(key)) return;
    },
    // Shows a composition's text where it will go, in place of the last (not at the pause).
    compose(text) {
      if (!paused) {
        erase(composed);
        composed = echo(text);
      }
    },
  };
}

if (typeof module === "object") module.exports = { lineDiscipline };
