// Plays tests/web/size.cases on the rules that size the page's terminal (plan() of src/web/size.js)
// under Node.js, with no page: node size.js CASES. A step a line, as play.js reads it:
//   plan ROOM CELL = FONT COLSxROWS   in a room of ROOM (WxH, in CSS pixels), with a font whose
//       cell is CELL (WxH) at 16 pixels, and in proportion at other sizes, the terminal takes a
//       font of FONT pixels, and COLS columns and ROWS rows
"use strict";
const { plan } = require("../../src/web/size.js");
const { play } = require("./play.js");

const pair = (text) => text.split("x").map(Number);
let checks = 0;
const steps = {
  plan(text) {
    const [, room, cell, font, size] = /^(\S+) (\S+) = (\d+) (\S+)$/.exec(text);
    const [wide, high] = pair(cell);
    const [got, cols, rows] = plan(pair(room), (pixels) => [(wide * pixels) / 16, (high * pixels) / 16]);
    checks++;
    if (`${got} ${cols}x${rows}` !== `${font} ${size}`) throw new Error(`${got} ${cols}x${rows}`);
  },
};

process.exitCode = 1;
play(process.argv[2], steps).then(() => {
  console.log(`size: ${checks} passed, 0 failed`);
  process.exitCode = 0;
}, (error) => console.error(error.message));
