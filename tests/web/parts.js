// Plays the cases of the page's parts under Node.js, with no page: node parts.js CASES. line.cases
// play the line discipline (src/web/line.js), size.cases the rules that size the terminal (plan()
// of src/web/size.js). A step a line, as play.js reads it:
//   case NAME   a new run;              write TEXT  the program writes the text
//   read        the program reads;      pause       the program waits at its pause for a key
//   type KEYS   keys that come together (one key, a paste, or a word of an on-screen keyboard)
//   compose T   an on-screen keyboard's composition, shown where it will go
//   shows TEXT  what the terminal has been given since the last shows;  writes N  in N writes
//   reads TEXT  what the read gives, and the reads after it, until they have given as much ("-":
//               it waits still);  resumed: the pause has ended
//   ends N      a key has ended the run with the status N
//   plan ROOM CELL = FONT COLSxROWS   in a room of ROOM (WxH, in CSS pixels), with a font whose
//       cell is CELL (WxH) at 16 pixels, and in proportion at other sizes, the terminal takes a
//       font of FONT pixels, and COLS columns and ROWS rows
"use strict";
const { lineDiscipline } = require("../../src/web/line.js");
const { plan } = require("../../src/web/size.js");
const { play } = require("./play.js");

// What a promise has given by the time that every pending callback has run, or null.
const settled = (promise) => Promise.race([promise.then((value) => [value]), new Promise((r) => setImmediate(r, null))]);
let [run, shown, writes, reading, pausing, status, checks] = [null, "", 0, null, null, null, 0];
const check = (holds, what) => { if ((checks++, !holds)) throw new Error(what); };
const steps = {
  case: () => {
    [shown, writes, reading, pausing, status] = ["", 0, null, null, null];
    run = lineDiscipline((text) => ((shown += text), writes++), (code) => (status = code));
  },
  write: (text) => void run.console.write(new TextEncoder().encode(text)),
  read: () => {
    const bytes = new Uint8Array(64);
    reading = run.console.read(bytes).then((count) => Buffer.from(bytes.subarray(0, count)).toString());
  },
  pause: () => void (pausing = run.console.key()),
  type: (keys) => run.type(keys),
  compose: (text) => run.compose(text),
  writes: (text) => check(writes === Number(text), `${writes} writes`),
  shows: (text) => (check(shown === text, `shown ${JSON.stringify(shown.slice(0, 100))}`), ([shown, writes] = ["", 0])),
  async reads(text) {
    let given = await settled(reading);
    if (text === "-") return check(!given, `read ${JSON.stringify(given)}`);
    let [read, matched] = [0, false];
    while ((matched = given && text.startsWith(given[0], read)) && (read += given[0].length) < text.length) {
      steps.read();
      given = await settled(reading);
    }
    check(matched && read === text.length, `read ${JSON.stringify(given?.[0].slice(0, 100))} after ${read} bytes`);
  },
  resumed: async () => check((await settled(pausing)) !== null, "still at the pause"),
  ends: (text) => check(status === Number(text), `status ${status}`),
  plan(text) {
    const [room, [wide, high], font, size] = text.split(/ = | /).map((pair) => pair.split("x").map(Number));
    const got = plan(room, (pixels) => [(wide * pixels) / 16, (high * pixels) / 16]);
    check(`${got[0]} ${got[1]}x${got[2]}` === `${font} ${size.join("x")}`, `${got[0]} ${got[1]}x${got[2]}`);
  },
};

process.exitCode = 1; // until every step has been played: a wait that never ends ends the run so
play(process.argv[2], steps).then(() => {
  console.log(`${process.argv[2]}: ${checks} passed, 0 failed`);
  process.exitCode = 0;
}, (error) => console.error(error.message));
