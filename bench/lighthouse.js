// Measures the page's first visit on a phone with Lighthouse's mobile profile (a mid-range phone on
// slow 4G with its CPU slowed 4x, simulated), beside a page of xterm.js alone that writes the
// program's banner and first prompt at the page's font: both served with gzip from loopback, as a
// static host serves them, in turn, `runs` (5) times each; it prints the medians and the ratios
// of Largest Contentful Paint, Total Blocking Time, the performance score and the bytes sent. Run
// by hand from the project's root, with Debian's Chromium:
//
//     node bench/lighthouse.js [runs]
//
// It builds the web preset and a Release tensort (in build-bench/web and build-bench/native), and
// installs Lighthouse and what drives it as bench/package-lock.json pins them, in bench/node_modules.
"use strict";
const { execFileSync } = require("child_process");
const crypto = require("crypto");
const fs = require("fs");
const http = require("http");
const path = require("path");
const zlib = require("zlib");
const { build, median, nativeUntil } = require("./build.js");

const runs = Number(process.argv[2] || 5);
const chromium = process.env.TENSORT_CHROMIUM || "/usr/bin/chromium";
const types = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".wasm": "application/wasm",
  ".webmanifest": "application/manifest+json", ".png": "image/png" };

// Serves the folder on loopback as a static host does: by type, gzipped but for images, and with
// an ETag, so that a file asked for again (the icon, by the page and by the browser for its
// manifest) is answered "304 Not Modified" when the browser has it.
function serve(folder) {
  const server = http.createServer((request, response) => {
    const file = path.join(folder, decodeURIComponent(new URL(request.url, "http://x").pathname));
    if (!file.startsWith(folder) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      return response.writeHead(404).end();
    }
    const type = types[path.extname(file)] ?? "application/octet-stream";
    let body = fs.readFileSync(file);
    const tag = `"${crypto.createHash("sha256").update(body).digest("hex").slice(0, 16)}"`;
    if (request.headers["if-none-match"] === tag) return response.writeHead(304, { ETag: tag }).end();
    const headers = { "Content-Type": type, "Cache-Control": "no-cache", ETag: tag };
    if (type !== "image/png" && /gzip/.test(request.headers["accept-encoding"] ?? "")) {
      body = zlib.gzipSync(body, { level: 6 });
      headers["Content-Encoding"] = "gzip";
    }
    response.writeHead(200, headers).end(body);
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

(async () => {
  if (!fs.existsSync(path.join(__dirname, "node_modules", "lighthouse"))) {
    execFileSync("npm", ["ci", "--no-audit", "--no-fund"], { cwd: __dirname, stdio: "inherit" });
  }
  const { web, native } = build();
  const [, banner] = await nativeUntil(path.join(native, "tensort"), "Enter a frist Number:");

  const { default: lighthouse } = await import("lighthouse");
  const { launch } = await import("chrome-launcher");
  const puppeteer = require("puppeteer-core");
  const chrome = await launch({ chromePath: chromium, chromeFlags: ["--headless=new", "--no-sandbox", "--disable-gpu",
    "--no-first-run", "--disable-sync", "--disable-background-networking", "--disable-component-update"] });
  const server = await serve(web);
  const origin = `http://127.0.0.1:${server.address().port}`;

  // The page's font and size on Lighthouse's phone, which the page of xterm.js alone takes.
  const browser = await puppeteer.connect({ browserURL: `http://127.0.0.1:${chrome.port}` });
  const tab = await browser.newPage();
  await tab.setViewport({ width: 412, height: 823, deviceScaleFactor: 1.75, isMobile: true, hasTouch: true });
  await tab.goto(`${origin}/tensort.html`);
  await tab.waitForFunction(() => [...Array(terminal.buffer.active.length).keys()]
    .some((row) => terminal.buffer.active.getLine(row).translateToString().includes("Enter a frist Number:")));
  const options = await tab.evaluate(() => JSON.stringify({ cols: terminal.cols, rows: terminal.rows,
    fontFamily: terminal.options.fontFamily, fontSize: terminal.options.fontSize }));
  await tab.close();
  browser.disconnect();
  fs.writeFileSync(path.join(web, "xterm-alone.html"), `<!DOCTYPE html>
<html lang="en"><meta charset="utf-8"><meta name="viewport" content="width=device-width, initial-scale=1">
<title>xterm.js alone</title><style>body { margin: 0; background: #1e1e1e; }</style>
<link rel="stylesheet" href="xterm.css"><div id="terminal"></div><script src="xterm.js"></script>
<script>const terminal = new Terminal({ ...${options}, convertEol: true, screenReaderMode: true });
terminal.open(document.getElementById("terminal")); terminal.write(${JSON.stringify(banner)});</script></html>`);

  const results = { "tensort.html": [], "xterm-alone.html": [] };
  for (let run = 0; run < runs; run++) {
    for (const [page, list] of Object.entries(results)) {
      const { lhr } = await lighthouse(`${origin}/${page}`, { port: chrome.port, output: "json", logLevel: "error",
        onlyCategories: ["performance"] });
      if (lhr.runtimeError) throw new Error(lhr.runtimeError.message);
      list.push({ lcp: lhr.audits["largest-contentful-paint"].numericValue, tbt: lhr.audits["total-blocking-time"].numericValue,
        score: lhr.categories.performance.score, bytes: lhr.audits["total-byte-weight"].numericValue / 1024 });
    }
  }
  server.close();
  await chrome.kill();
  const of = (page, key) => median(results[page].map((result) => result[key]));
  console.log(`Lighthouse's mobile profile, served with gzip, medians of ${runs} alternating runs`);
  console.log("                           the page    xterm.js alone   ratio");
  for (const [key, name, unit, digits] of [["lcp", "Largest Contentful Paint", "ms", 0], ["tbt", "Total Blocking Time", "ms", 0],
    ["score", "performance", "", 2], ["bytes", "bytes sent", "KiB", 1]]) {
    const [page, alone] = [of("tensort.html", key), of("xterm-alone.html", key)];
    console.log(`${name.padEnd(26)} ${(page.toFixed(digits) + " " + unit).padStart(10)} ${(alone.toFixed(digits) + " " + unit).padStart(14)}` +
      `   ${alone ? (page / alone).toFixed(2) + "x" : "-"}`);
  }
})().catch((error) => (console.error(error), process.exit(1)));
