// Plays a scenario of tests/web/ on the page in headless Chromium, opened from disk with the
// network off. Usage: node page.js SCENARIO PAGE. A scenario has a step a line, as the terminal
// scenarios have: a word, a space and its text, with the escapes \r, \n, \xHH and \NNN. The steps
// are those of `steps` below; every wait fails after 10 s. The page must fetch nothing at all.
"use strict";
const fs = require("fs");

const chromium = process.env.TENSORT_CHROMIUM || "/usr/bin/chromium";
const skip = (reason) => (console.log(`skipped: ${reason}`), process.exit(0));
let playwright;
try { playwright = require("playwright-core"); } catch { skip("no playwright-core: run npm ci"); }
fs.existsSync(chromium) || skip(`no Chromium at ${chromium}`);

// The keys that characters stand for, pressed as a person presses them.
const keys = { "\r": "Enter", "\x7f": "Backspace", "\x03": "Control+C", "\x04": "Control+D",
  "\x15": "Control+U", "\x1a": "Control+Z" };
const unescape = (text) => text.replace(/\\(x[0-9a-f]{2}|[0-7]{1,3}|.)/gi, (_, e) =>
  String.fromCharCode(/^x/i.test(e) ? parseInt(e.slice(1), 16) : /^[0-7]/.test(e) ? parseInt(e, 8)
    : { r: 13, n: 10, t: 9 }[e] ?? e.charCodeAt(0)));
const soon = async (done, what) => {
  for (const deadline = Date.now() + 10000; !(await done());) {
    if (Date.now() > deadline) throw new Error(await what());
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
};
let page;
const fetched = [];
const run = (f, ...args) => page.evaluate(f, ...args);
// The screen's lines, without the blanks at their ends and the empty lines below them.
const screen = () => run(() => [...Array(terminal.rows).keys()].map((row) => terminal.buffer.active
  .getLine(terminal.buffer.active.baseY + row).translateToString().trimEnd()).join("\n").trimEnd());
const status = () => page.locator("#status").textContent();

const steps = {
  async open(text, browser) { // a new page; "touch": a phone's, with a touch screen
    const context = await browser.newContext(text !== "touch" ? {}
      : { hasTouch: true, isMobile: true, viewport: { width: 390, height: 844 } });
    await context.setOffline(true);
    await context.route(/^(?!file:)/, (route) => fetched.push(route.request().url()) && route.abort());
    page = await context.newPage();
    await page.goto(require("url").pathToFileURL(process.argv[3]).href);
  },
  async send(text) { // types the text, key by key
    for (const key of text) await (keys[key] ? page.keyboard.press(keys[key]) : page.keyboard.type(key));
  },
  paste: (text) => run((text) => terminal.paste(text), text),
  tap: async () => (await run(() => document.activeElement.blur()), page.tap(".xterm-screen")),
  click: (text) => page.getByRole("button", { name: text }).click(),
  sleep: (text) => new Promise((resolve) => setTimeout(resolve, 1000 * text)),
  // Waits until the screen shows the text; the screen's lines are those of the text; the page's
  // status says the text (nothing, for none); the text, an expression of JavaScript, holds on the
  // page (terminal is the page's xterm.js terminal).
  expect: (text) => soon(async () => (await screen()).includes(text), screen),
  shows: (text) => soon(async () => (await screen()) === text, screen),
  status: (text) => soon(async () => (text ? (await status()).includes(text) : !(await status())), status),
  holds: (text) => soon(() => run(text), () => "it does not"),
};

(async () => {
  const browser = await playwright.chromium.launch({ executablePath: chromium, chromiumSandbox: false,
    args: ["--disable-gpu", "--no-first-run", "--disable-background-networking",
      "--disable-component-update", "--disable-sync"] });
  for (const [index, line] of fs.readFileSync(process.argv[2], "utf8").split("\n").entries()) {
    const [, step, text] = line.match(/^(\S*) ?(.*)$/);
    if (step === "" || step.startsWith("#")) continue;
    await steps[step](unescape(text), browser).catch((error) => {
      throw new Error(`${process.argv[2]}:${index + 1}: ${line}: ${error.message}`);
    });
  }
  if (fetched.length > 0) throw new Error(`fetched from the network: ${fetched.join(" ")}`);
  await browser.close();
})().catch((error) => (console.error(error.message), process.exit(1)));
