// The line discipline of the page's terminal: what a Linux terminal in line mode does with the keys
// typed. They are echoed, and reach the program a line at a time once Enter is pressed, with
// Backspace and Ctrl-U to edit the line (taking back the columns that each character took: a Tab
// up to its tab stop, a wide character two) and Ctrl-D to end the input. Ctrl-C (or Ctrl-\) ends
// the program at once; Ctrl-Z, which no shell here can act on, is echoed and drops the line. The
// pause takes one key, not echoed, once the keys typed ahead are dropped, and drops the rest of
// those that came with it (a paste, a word of an on-screen keyboard). It knows no page: page.js
// gives it the terminal's write, and what to do with the program's own text (the echo aside) each
// time the program waits, and the tests play it under Node.js.
"use strict";

// Keys that end the program as their signal does, with the status a shell shows for it.
const signals = { "\x03": 130, "\x1c": 131 };
// Characters two columns wide, as the terminal (xterm.js's Unicode 6 widths) draws them.
const wide = /[\u1100-\u115f\u2e80-\u303e\u3041-\u33ff\u3400-\u4dbf\u4e00-\u9fff\ua000-\ua4cf\uac00-\ud7a3\uf900-\ufaff\ufe30-\ufe4f\uff00-\uff60\uffe0-\uffe6\u{20000}-\u{3fffd}]/u;

// The end of the input among the lines sent.
const endOfInput = new Uint8Array(0);

// How a character is echoed: a control character as ^ and a letter.
function echoOf(key) {
  const code = key.codePointAt(0);
  return code < 32 && key !== "\t" ? "^" + String.fromCharCode(code + 64) : key;
}

// A run's console, its keys and its echo: `write` puts text on the terminal, `end` is told the
// status of a run that a key ends, `output` is given all that the program has written (the echo
// aside) each time it waits for a line or a key, or a key ends it. A paste of any size
// costs in proportion to its size, of one line or of many: its echo is one write, its lines are
// kept as the bytes they are, in a queue, and a read takes its bytes off the front of it without
// moving the rest. The end of the input (Ctrl-D on an empty line) waits in the queue in its place,
// as a terminal's does: a read gives what comes before it, the next read the end, and the one
// after that what was typed after it.
function lineDiscipline(write, end, output = () => {}) {
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();
  let line = ""; // the characters typed on the line
  let widths = new Uint8Array(256); // the columns that each of them took (a Tab 8 at most)
  let characters = 0; // how many there are
  let ready = []; // the lines sent, not yet read, as bytes, from `first` on, and from `offset`
  let first = 0; // in the first of them; an end of the input is `endOfInput` among them
  let offset = 0;
  let sent = ""; // the text of the lines sent since the last of them was put on the queue
  let reader = null; // the read waiting for a line
  let paused = null; // the pause waiting for a key
  let over = false; // a key has ended the run
  let column = 0; // where the terminal's cursor is on its line
  let composed = []; // the columns of a composition's text, shown where it will go
  let shown = ""; // what the terminal is yet to be given, in one write
  let said = ""; // what the program has written since it last waited

  // Gives `output` what the program has written since it last waited.
  function tell() {
    if (said) output(said);
    said = "";
  }

  // Writes the text (once the keys that came together have been taken), and follows the cursor's
  // column (escape sequences take none).
  function show(text) {
    shown += text;
    for (const key of text.replace(/\x1b\[[0-9;?]*[A-Za-z]/g, "")) {
      if (key === "\r" || key === "\n") column = 0;
      else if (key === "\b") column = Math.max(0, column - 1);
      else advance(key);
    }
  }
  function flush() {
    if (shown) write(shown);
    shown = "";
  }
  // Moves the column past a character that the terminal draws, and gives the columns it took.
  function advance(key) {
    const from = column;
    if (key === "\t") column += 8 - (column % 8);
    else column += key.codePointAt(0) >= 0x1100 && wide.test(key) ? 2 : 1;
    return column - from;
  }
  // Echoes a typed character, and gives the columns it took.
  function echo(key) {
    const from = column;
    show(echoOf(key));
    return column - from;
  }
  // Takes characters off the screen, the last first, as a terminal's erase does.
  function erase(columns) {
    show(columns.reverse().map((count) => "\b".repeat(count) + " ".repeat(count) + "\b".repeat(count)).join(""));
  }
  // Takes the last character, or all of them, off the line, and gives the columns that they took.
  function unType(count) {
    count = Math.min(count, characters);
    characters -= count;
    if (characters === 0) line = "";
    else if (count === 1) {
      const last = line.charCodeAt(line.length - 1);
      line = line.slice(0, line.length - (last >= 0xdc00 && last <= 0xdfff ? 2 : 1));
    }
    return [...widths.subarray(characters, characters + count)];
  }
  // Puts typed characters on the line, and echoes them (a control character as ^ and a letter),
  // keeping the columns that each took.
  function put(keys) {
    line += keys;
    for (const key of keys) {
      if (characters === widths.length) {
        const more = new Uint8Array(widths.length * 2);
        more.set(widths);
        widths = more;
      }
      const echoed = echoOf(key);
      widths[characters++] = echoed === key ? advance(key) : advance(echoed[0]) + advance(echoed[1]);
    }
    shown += keys.replace(/[\x00-\x08\x0a-\x1f]/g, echoOf);
  }
  // Empties the line.
  function clear() {
    line = "";
    characters = 0;
  }
  // Hands the line typed so far to the program, with the text after it (its line end, and the
  // lines that came with it); where there is nothing to hand on, the end of the input. The lines
  // that come together (a paste) go on the queue as one.
  function send(text) {
    sent += line + text;
    if (line + text === "") {
      commit();
      ready.push(endOfInput);
    }
    clear();
  }
  // Puts the lines sent since the last time on the queue, as one.
  function commit() {
    if (sent) ready.push(encoder.encode(sent));
    sent = "";
  }
  // Takes the first of the lines sent off the queue, which is copied down to what is left once
  // half of it has been taken.
  function shift() {
    offset = 0;
    if (++first === ready.length) [ready, first] = [[], 0];
    else if (first >= 1024 && first * 2 >= ready.length) [ready, first] = [ready.slice(first), 0];
  }
  // Gives the waiting read what there is.
  function deliver() {
    commit();
    if (reader && first < ready.length) {
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
      flush();
      tell();
      end(signals[key]);
    } else if (key === "\x1a") {
      if (!paused) show("^Z");
      clear();
    } else if (paused) {
      const resolve = paused;
      paused = null;
      resolve();
      return false; // the rest of what came with it is dropped
    } else if (key === "\x7f" || key === "\b") {
      erase(unType(1));
    } else if (key === "\x15") {
      erase(unType(characters));
    } else if (key === "\x04") {
      send("");
    } else if (key !== "\x11" && key !== "\x13") {
      // (Ctrl-Q and Ctrl-S would start and stop a terminal's output.)
      put(key);
    }
    return !over;
  }

  return {
    // The program's console: a read waits for a line, a write shows the program's bytes, and the
    // pause drops the keys typed ahead and waits for one.
    console: {
      clears: true,
      waits: true,
      read(bytes) {
        tell();
        return new Promise((resolve) => {
          reader = () => {
            let count = 0;
            if (ready[first] === endOfInput) return (shift(), resolve(0));
            while (count < bytes.length && first < ready.length && ready[first] !== endOfInput) {
              const taken = ready[first].subarray(offset, offset + bytes.length - count);
              bytes.set(taken, count);
              count += taken.length;
              offset += taken.length;
              if (offset === ready[first].length) shift();
            }
            resolve(count);
          };
          deliver();
        });
      },
      write(bytes) {
        const text = decoder.decode(bytes, { stream: true });
        said += text;
        show(text);
        flush();
        return bytes.length;
      },
      key() {
        tell();
        clear();
        [ready, first, offset, sent] = [[], 0, 0, ""];
        return new Promise((resolve) => (paused = resolve));
      },
    },
    // Hands typed keys to the run, one at a time, until one ends the run or the pause, and shows
    // their echo. A run of text and line ends (Enter, as \r or \n), with no other control character
    // and not at the pause, is taken whole: its lines are sent, each line end echoed as a line end,
    // and what follows the last is put on the line.
    type(keys) {
      const text = /[^\x00-\x09\x0b\x0c\x0e-\x1f\x7f]+/y;
      for (let index = 0; index < keys.length;) {
        text.lastIndex = index;
        const run = !paused && text.test(keys) ? keys.slice(index, text.lastIndex) : "";
        const last = Math.max(run.lastIndexOf("\r"), run.lastIndexOf("\n")) + 1;
        if (last > 0) {
          const lines = run.slice(0, last);
          shown += lines.replace(/[\r\n]/g, "\r\n");
          column = 0;
          send(lines.replace(/\r/g, "\n"));
        }
        if (run) {
          put(run.slice(last));
          index += run.length;
        } else {
          const key = String.fromCodePoint(keys.codePointAt(index));
          index += key.length;
          if (!type(key)) break;
        }
      }
      deliver();
      flush();
    },
    // Shows a composition's text where it will go, in place of the last (not at the pause).
    compose(text) {
      if (!paused) {
        erase(composed);
        composed = [...text].map((key) => echo(key));
        flush();
      }
    },
  };
}

if (typeof module === "object") module.exports = { lineDiscipline };
