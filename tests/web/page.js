// Plays a scenario of tests/web/ on the page, opened from disk in a browser engine of browser.js.
// Usage: node page.js ENGINE SCENARIO PAGE. A scenario has a step a line,
// as play.js reads it. The steps are those of `steps` below; every wait fails after 10 s, or after
// the seconds of a `within` step before it. A scenario with a `listen` step is played to a screen
// reader (orca.js), which hears what the page says.
"use strict";
const [fs, http, os, path] = ["fs", "http", "os", "path"].map(require);
const { launch, Missing } = require("./browser.js");
const { play } = require("./play.js");
const { listen } = require("./orca.js");

const [engine, file, html] = process.argv.slice(2);
const skip = (reason) => (console.log(`skipped: ${reason}`), process.exit(0));
let patience = 10;
const soon = async (done, what) => {
  for (const deadline = Date.now() + patience * 1000; !(await done());) {
    if (Date.now() > deadline) throw new Error(await what());
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
};
let browser, touch, orca;
const run = (expression) => browser.evaluate(expression);
const cdp = (method, params) => browser.cdp(method, params);
// The screen's lines, without the blanks at their ends and the empty lines below them.
const screen = () => run(`[...Array(terminal.rows).keys()].map((row) => terminal.buffer.active
  .getLine(terminal.buffer.active.baseY + row).translateToString().trimEnd()).join("\\n").trimEnd()`);
// Serves a copy of the page's directory over HTTP on 127.0.0.1, as a static host does, but for the
// files named after "without", which are not found.
let server, served;
const types = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".wasm": "application/wasm",
  ".png": "image/png", ".webmanifest": "application/manifest+json" };
async function serve(without) {
  served = fs.mkdtempSync(path.join(os.tmpdir(), "tensort-served-"));
  fs.readdirSync(path.dirname(html)).filter((file) => types[path.extname(file)] && !without.includes(file))
    .forEach((file) => fs.copyFileSync(path.join(path.dirname(html), file), path.join(served, file)));
  server = http.createServer((request, response) => {
    const file = path.join(served, path.basename(decodeURIComponent(new URL(request.url, "http://x").pathname)));
    if (!fs.existsSync(file)) return response.writeHead(404).end();
    response.writeHead(200, { "Content-Type": types[path.extname(file)] }).end(fs.readFileSync(file));
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  return `http://127.0.0.1:${server.address().port}/${path.basename(html)}`;
}
const stopServing = () => server?.listening && new Promise((resolve) => (server.close(resolve), server.closeAllConnections()));

// A key pressed and let go; Enter, Backspace, and a control character as Ctrl and its letter.
const press = (value) => [{ type: "keyDown", value }, { type: "keyUp", value }];
const keys = (key) => ({ "\r": press("\uE007"), "\x7f": press("\uE003") })[key] ?? (key >= " " ? press(key)
  : [{ type: "keyDown", value: "\uE009" }, ...press(String.fromCharCode(key.charCodeAt(0) + 64).toLowerCase()), { type: "keyUp", value: "\uE009" }]);
// A tap (on a phone) or a click, in the middle of the element that the expression finds.
async function point(element) {
  const [x, y] = JSON.parse(await run(`((element, box = (element.scrollIntoView({ block: "center" }),
    element.getBoundingClientRect())) => JSON.stringify([box.x + box.width / 2, box.y + box.height / 2].map(Math.round)))(${element})`));
  await browser.perform([{ type: "pointer", id: "finger", parameters: { pointerType: touch ? "touch" : "mouse" },
    actions: [{ type: "pointerMove", x, y }, { type: "pointerDown", button: 0 }, { type: "pointerUp", button: 0 }] }]);
}
// A key of an on-screen keyboard, which names no key (keyCode 229), in Chromium's DevTools: with
// what it does to the field meanwhile, or the editing command that it runs there.
async function unidentified(does, commands) {
  const key = { windowsVirtualKeyCode: 229, key: "Unidentified" };
  await cdp("Input.dispatchKeyEvent", { type: "rawKeyDown", ...key, commands });
  if (does) await does();
  await cdp("Input.dispatchKeyEvent", { type: "keyUp", ...key });
}

const steps = {
  // A new page, opened from disk; "served": from a server (on a first page), "without" the files
  // named after it; "touch": a phone's.
  open: async (text) => browser.open(text.includes("served") ? await serve(text.split(" without ")[1]?.split(" ") ?? [])
    : require("url").pathToFileURL(html).href, (touch = text.includes("touch"))),
  // Stops the server, and empties the browser's HTTP cache of what it served (Chromium).
  stop: async () => (await stopServing(), await cdp("Network.clearBrowserCache", {})),
  // Serves another release: the page's title and its service worker's cache are named anew.
  release() {
    const edit = (file, from, to, name = path.join(served, file)) => fs.writeFileSync(name, fs.readFileSync(name, "utf8").replace(from, to));
    edit("tensort.html", "<title>tensort</title>", "<title>tensort, released again</title>");
    edit("service-worker.js", /const cache = "tensort-/, 'const cache = "tensort-again-');
  },
  reload: () => browser.reload(),
  // Chromium finds nothing that keeps the page from being installed as an app.
  installable: () => soon(async () => !(await cdp("Page.getInstallabilityErrors", {})).installabilityErrors.length,
    async () => JSON.stringify(await cdp("Page.getInstallabilityErrors", {}))),
  // Types the keys (played to a screen reader: orca.js's steps, which are also hears, until and writes).
  send: (text) => browser.perform([{ type: "key", id: "keyboard", actions: [...text].flatMap(keys) }]),
  // Types the text on an Android keyboard: each key inserts its text; Backspace and Enter edit.
  async android(text) {
    for (const key of text) {
      const edit = { "\x7f": ["deleteBackward"], "\r": ["insertNewline"] }[key];
      await unidentified(!edit && (() => cdp("Input.insertText", { text: key })), edit);
    }
  },
  // Composes the text a character at a time, as predictive text does, and does not commit it.
  async compose(text) {
    for (let end = 1; end <= text.length; end++)
      await unidentified(() => cdp("Input.imeSetComposition", { text: text.slice(0, end), selectionStart: end, selectionEnd: end }));
  },
  // Commits the composition as the text: as composed, or as the keyboard corrects it.
  commit: (text) => unidentified(() => cdp("Input.insertText", { text })),
  // Makes the screen in sight this wide and high, in Chromium: a phone's (as an on-screen keyboard
  // coming up does), or with "desktop", a desktop's, at the zoom given ("640x400 desktop 2": 200%).
  resize(text) {
    const [[width, height, zoom], mobile] = [text.match(/\d+/g).map(Number), !text.includes("desktop")];
    return cdp("Emulation.setDeviceMetricsOverride", { width, height, deviceScaleFactor: zoom ?? (mobile ? 3 : 1), mobile });
  },
  paste: (text) => run(`terminal.paste(${JSON.stringify(text)})`),
  tap: async () => (await run("document.activeElement.blur()"), point(`document.querySelector(".xterm-screen")`)),
  click: (text) => point(`[...document.querySelectorAll("button")].find((b) => b.textContent === ${JSON.stringify(text)})`),
  // Waits until the screen shows the text; the screen's lines are those of the text; the text, an
  // expression of JavaScript, holds on the page (terminal is the page's xterm.js terminal).
  expect: (text) => soon(async () => (await screen()).includes(text), screen),
  shows: (text) => soon(async () => (await screen()) === text, screen),
  holds: (text) => soon(() => run(text), () => "it does not"),
  within: (text) => void (patience = Number(text)),
};

(async () => {
  // The one font that the browser is given (at one of the paths that it may have) must be on this
  // machine, and the engine's programs. In CI either missing fails: there, every engine must have
  // played.
  const config = process.env.FONTCONFIG_FILE ? fs.readFileSync(process.env.FONTCONFIG_FILE, "utf8") : "";
  const fonts = [...config.matchAll(/<glob>(\/[^<]*)/g)].map(([, font]) => font);
  try {
    const font = /\((fonts-[^)]*)\)/.exec(config)?.[1];
    if (fonts.length && !fonts.some(fs.existsSync)) throw new Missing(`no ${fonts[0]} (Debian's ${font})`);
    if (/^listen$/m.test(fs.readFileSync(file, "utf8"))) Object.assign(steps, (orca = await listen(soon)).steps);
    browser = await launch(engine, Boolean(orca));
  } catch (error) {
    await orca?.close();
    if (error instanceof Missing && !process.env.CI) skip(error.message);
    throw error;
  }
  try {
    // (tests/CMakeLists.txt reads the engines that play the scenario, and the fonts it plays in.)
    await play(file, steps, ["engines", "fonts", "listen"]);
    orca?.verdict();
  } finally {
    // What the screen reader said, in order. Every process ended and waited for before what it used
    // is removed; a clean-up that fails is told, and fails no test.
    if (orca) console.log(`heard (s from the start):\n${orca.transcript()}`);
    await stopServing();
    for (const program of [browser, orca]) await program?.close().catch((error) => console.error(`clean-up: ${error.message}`));
    if (served) fs.rmSync(served, { recursive: true, force: true });
  }
})().catch((error) => (console.error(error.message), process.exit(1)));
