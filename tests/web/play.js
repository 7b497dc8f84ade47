// Plays a file of steps, as the page's scenarios and the line discipline's cases are: a step a line,
// a word, a space and its text, with the escapes \r, \n, \t, \b, \xHH and \NNN, and \{N:TEXT} for
// the text (its escapes too, but no }) N times over, so that a long one need not be kept. Empty lines,
// comments (#) and the steps named in `passed` are passed over; every other step is a function of
// `steps`, given the text and awaited, and the first that throws ends the play with FILE:LINE.
"use strict";
const fs = require("fs");

const unescape = (text) => text.replace(/\\(\{(\d+):([^}]*)\}|x[0-9a-f]{2}|[0-7]{1,3}|.)/gi, (_, e, count, repeated) =>
  count ? unescape(repeated).repeat(Number(count)) : String.fromCharCode(/^x/i.test(e) ? parseInt(e.slice(1), 16)
    : /^[0-7]/.test(e) ? parseInt(e, 8) : { r: 13, n: 10, t: 9, b: 8 }[e] ?? e.charCodeAt(0)));

async function play(file, steps, passed = []) {
  for (const [index, line] of fs.readFileSync(file, "utf8").split("\n").entries()) {
    const [, step, text] = line.match(/^(\S*) ?(.*)$/);
    if (step === "" || step.startsWith("#") || passed.includes(step)) continue;
    try {
      await steps[step](unescape(text));
    } catch (error) {
      throw new Error(`${file}:${index + 1}: ${line}: ${error.message}`);
    }
  }
}

module.exports = { play };
