// Measures the web page: its bytes on disk and gzipped, and the time from opening it to its first
// prompt in a browser engine (chromium, as tests/web/browser.js names them), beside the time that a
// page with xterm.js alone takes to show the same text, and the native program's time to its
// first prompt. Run by hand from the project's root:
//
//     node bench/page.js [runs [engine]]
//
// It builds the web preset and a Release tensort (in build-bench/web and build-bench/native), and takes
// the median of `runs` (5) openings from disk of the page and of the page with xterm.js alone, in
// turn, and of as many starts of the native program on pipes.
"use strict";
const fs = require("fs");
const path = require("path");
const zlib = require("zlib");
const { launch } = require("../tests/web/browser.js");
const { build, median, nativeUntil, shownAt } = require("./build.js");

const runs = Number(process.argv[2] || 5);
const engine = process.argv[3] || "chromium";
const prompt = "Enter a frist Number:";

(async () => {
  const { web, native } = build();

  // The page's files: those that its service worker keeps, and the worker.
  const worker = fs.readFileSync(path.join(web, "service-worker.js"), "utf8");
  const files = [.../const files = "([^"]*)"/.exec(worker)[1].split(";"), "service-worker.js"];
  let bytes = 0;
  let gzipped = 0;
  for (const file of files) {
    const data = fs.readFileSync(path.join(web, file));
    bytes += data.length;
    gzipped += zlib.gzipSync(data, { level: 9 }).length;
  }

  const starts = [];
  for (let run = 0; run < runs; run++) starts.push(await nativeUntil(path.join(native, "tensort"), prompt));
  // The page with xterm.js alone: its terminal as the page makes it in this engine's window (the
  // page's font, at the size the page gives it there), given the program's text.
  const browser = await launch(engine);
  await browser.open(require("url").pathToFileURL(path.join(web, "tensort.html")).href);
  const font = await browser.evaluate(`JSON.stringify((({ fontFamily, fontSize }) => ({ fontFamily, fontSize }))(terminal.options))`);
  fs.writeFileSync(path.join(web, "xterm-alone.html"), `<!DOCTYPE html>
<meta charset="utf-8"><link rel="stylesheet" href="xterm.css"><div id="terminal"></div><script src="xterm.js"></script>
<script>const terminal = new Terminal({ cols: 80, rows: 24, ...${font}, convertEol: true, screenReaderMode: true });
terminal.open(document.getElementById("terminal")); terminal.write(${JSON.stringify(starts[0][1])});</script>`);

  const times = { "tensort.html": [], "xterm-alone.html": [] };
  for (let run = 0; run < runs; run++) for (const [name, page] of Object.entries(times)) {
    await browser.open(require("url").pathToFileURL(path.join(web, name)).href);
    // performance.now() counts from the start of the page's navigation.
    page.push(await browser.evaluate(shownAt(prompt)));
  }
  await browser.close();
  const [page, alone] = Object.values(times).map(median);

  console.log(`the page (${files.join(", ")}), opened from disk, median of ${runs}`);
  console.log(`on disk        ${(bytes / 1024).toFixed(1)} KiB`);
  console.log(`gzipped        ${(gzipped / 1024).toFixed(1)} KiB`);
  console.log(`first prompt   ${page.toFixed(1)} ms in headless ${engine}`);
  console.log(`               ${alone.toFixed(1)} ms for xterm.js alone to show it (${(page / alone).toFixed(2)}x)`);
  console.log(`               ${median(starts.map(([time]) => time)).toFixed(2)} ms natively, through a pipe`);
})();
