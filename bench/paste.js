// Measures a paste in the web page: at its first prompt, one line of a word of 1 MiB or 8 MiB
// (digits), or 1 MiB of short lines (three spaces each, which the program skips as it looks for a
// number), then nine numbers and Enter, as one paste, timed until the page shows the tenth prompt,
// with the JavaScript heap that the page then uses (beside what it used before, and after a
// collection); beside the native program's time for the same bytes through a pipe. Run by hand
// from the project's root, with the page's tests' Chromium and chromedriver:
//
//     node bench/paste.js [runs]
//
// It builds the web preset and a Release tensort (in build-bench/web and build-bench/native), and
// prints the median of `runs` (3) of each.
"use strict";
const path = require("path");
const { launch } = require("../tests/web/browser.js");
const { build, median, nativeUntil, shownAt } = require("./build.js");

const runs = Number(process.argv[2] || 3);
const tenth = "Enter a 10th Number:";
const MiB = 1 << 20;
const pastes = [["1 MiB, one line", "7".repeat(MiB)], ["1 MiB of lines", "   \n".repeat(MiB / 4)],
  ["8 MiB, one line", "7".repeat(8 * MiB)]].map(([name, text]) => [name, text + " 1 2 3 4 5 6 7 8 9\n"]);

// On a page opened afresh, at its first prompt: the paste's milliseconds until the tenth prompt,
// and the heap in MiB before it, after it, and after a collection.
async function page(browser, url, text) {
  await browser.open(url);
  await browser.evaluate(shownAt("Enter a frist Number:"));
  const heap = async () => (await browser.cdp("Runtime.getHeapUsage", {})).usedSize / MiB;
  await browser.cdp("HeapProfiler.collectGarbage", {});
  const before = await heap();
  await browser.evaluate(`window.pasted = ${JSON.stringify(text.replace(/\n/g, "\r"))}`);
  const time = await browser.evaluate(`((start) => (terminal.paste(pasted),
    ${shownAt(tenth)}.then((now) => now - start)))(performance.now())`);
  const after = await heap();
  await browser.cdp("HeapProfiler.collectGarbage", {});
  return { time, before, after, collected: await heap() };
}

(async () => {
  const { web, native } = build();

  const browser = await launch("chromium");
  const url = require("url").pathToFileURL(path.join(web, "tensort.html")).href;
  console.log(`a word of digits or empty lines, nine numbers and Enter, pasted at the first prompt: median of ${runs}`);
  console.log("paste             page: to the 10th prompt   heap before, after, collected   natively, through a pipe");
  for (const [name, text] of pastes) {
    const pages = [];
    const natives = [];
    for (let run = 0; run < runs; run++) {
      pages.push(await page(browser, url, text));
      natives.push((await nativeUntil(path.join(native, "tensort"), tenth, text))[0]);
    }
    const of = (key) => median(pages.map((result) => result[key]));
    console.log(`${name.padEnd(15)}   ${of("time").toFixed(0).padStart(8)} ms` +
      `                 ${of("before").toFixed(1)}, ${of("after").toFixed(1)}, ${of("collected").toFixed(1)} MiB` +
      `          ${median(natives).toFixed(1)} ms`);
  }
  await browser.close();
})();
