// Plays a scenario of tests/web/ on the page, opened from disk in a browser engine of browser.js.
// Usage: node --experimental-websocket page.js ENGINE SCENARIO PAGE. A scenario has a step a line,
// as the terminal scenarios have: a word, a space and its text, with the escapes \r, \n, \xHH and
// \NNN. The steps are those of `steps` below; every wait fails after 10 s. The page must fetch
// nothing from elsewhere (as far as the engine tells the page: Chromium and Firefox do).
"use strict";
const { spawn } = require("child_process");
const fs = require("fs");
const path = require("path");
const { launch, Missing } = require("./browser.js");

const [engine, file, html] = process.argv.slice(2);
const skip = (reason) => (console.log(`skipped: ${reason}`), process.exit(0));
const unescape = (text) => text.replace(/\\(x[0-9a-f]{2}|[0-7]{1,3}|.)/gi, (_, e) =>
  String.fromCharCode(/^x/i.test(e) ? parseInt(e.slice(1), 16) : /^[0-7]/.test(e) ? parseInt(e, 8)
    : { r: 13, n: 10, t: 9 }[e] ?? e.charCodeAt(0)));
const soon = async (done, what) => {
  for (const deadline = Date.now() + 10000; !(await done());) {
    if (Date.now() > deadline) throw new Error(await what());
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
};
let browser, touch;
const run = (expression) => browser.evaluate(expression);
const cdp = (method, params) => browser.cdp(method, params);
// The screen's lines, without the blanks at their ends and the empty lines below them.
const screen = () => run(`[...Array(terminal.rows).keys()].map((row) => terminal.buffer.active
  .getLine(terminal.buffer.active.baseY + row).translateToString().trimEnd()).join("\\n").trimEnd()`);
const status = () => run(`document.getElementById("status").textContent`);
const fetched = () => run(`performance.getEntriesByType("resource").map((entry) => entry.name)
  .filter((name) => new URL(name).origin !== location.origin).join(" ")`).then((urls) => {
  if (urls) throw new Error(`fetched from elsewhere: ${urls}`);
});
// Serves the page's directory over HTTP on 127.0.0.1, as Python's http.server does.
let server;
async function serve() {
  server = spawn("python3", ["-u", "-m", "http.server", "-b", "127.0.0.1", "-d", path.dirname(html), "0"],
    { stdio: ["ignore", "pipe", "ignore"] });
  const [, port] = await new Promise((resolve, reject) => (server.on("error", reject),
    server.stdout.on("data", (data) => resolve(/port (\d+)/.exec(data)))));
  return `http://127.0.0.1:${port}/${path.basename(html)}`;
}

// A key pressed and let go; Enter, Backspace, and a control character as Ctrl and its letter.
const press = (value) => [{ type: "keyDown", value }, { type: "keyUp", value }];
const keys = (key) => ({ "\r": press("\uE007"), "\x7f": press("\uE003") })[key] ?? (key >= " " ? press(key)
  : [{ type: "keyDown", value: "\uE009" }, ...press(String.fromCharCode(key.charCodeAt(0) + 64).toLowerCase()), { type: "keyUp", value: "\uE009" }]);
// A tap (on a phone) or a click, in the middle of the element that the expression finds.
async function point(element) {
  const [x, y] = JSON.parse(await run(`((element) => (element.scrollIntoView({ block: "center" }),
    ((box) => JSON.stringify([box.x + box.width / 2, box.y + box.height / 2].map(Math.round)))(
    element.getBoundingClientRect())))(${element})`));
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
  engines: async () => {}, // the engines that play the scenario, where not all (tests/CMakeLists.txt reads it)
  // A new page, opened from disk; "served": from a server (on a first page); "touch": a phone's.
  async open(text) {
    if (touch !== undefined) await fetched(); // what the last page fetched
    touch = text.includes("touch");
    await browser.open(text.includes("served") ? await serve() : require("url").pathToFileURL(html).href, touch);
  },
  // Stops the server, and empties the browser's HTTP cache of what it served (Chromium).
  stop: async () => (server.kill(), await new Promise((resolve) => server.on("exit", resolve)),
    await cdp("Network.clearBrowserCache", {})),
  reload: () => browser.reload(),
  // Chromium finds nothing that keeps the page from being installed as an app.
  installable() {
    let errors;
    return soon(async () => !(errors = (await cdp("Page.getInstallabilityErrors", {})).installabilityErrors).length,
      () => JSON.stringify(errors));
  },
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
    for (let end = 1; end <= text.length; end++) {
      const composition = { text: text.slice(0, end), selectionStart: end, selectionEnd: end };
      await unidentified(() => cdp("Input.imeSetComposition", composition));
    }
  },
  // Commits the composition as the text: as composed, or as the keyboard corrects it.
  commit: (text) => unidentified(() => cdp("Input.insertText", { text })),
  // Makes the phone's screen this wide and high (as an on-screen keyboard coming up does), in Chromium.
  resize(text) {
    const [width, height] = text.split("x").map(Number);
    return cdp("Emulation.setDeviceMetricsOverride", { width, height, deviceScaleFactor: 3, mobile: true });
  },
  paste: (text) => run(`terminal.paste(${JSON.stringify(text)})`),
  tap: async () => (await run("document.activeElement.blur()"), point(`document.querySelector(".xterm-screen")`)),
  click: (text) => point(`[...document.querySelectorAll("button")].find((b) => b.textContent === ${JSON.stringify(text)})`),
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
  const lines = fs.readFileSync(file, "utf8").split("\n");
  const listed = lines.find((line) => line.startsWith("engines "));
  if (listed && !listed.split(" ").includes(engine)) skip(`played in ${listed.slice(8)} only`);
  // In CI a missing engine fails: there, every engine must have played.
  browser = await launch(engine).catch((error) => (error instanceof Missing && !process.env.CI ? skip(error.message)
    : Promise.reject(error)));
  try {
    for (const [index, line] of lines.entries()) {
      const [, step, text] = line.match(/^(\S*) ?(.*)$/);
      if (step === "" || step.startsWith("#")) continue;
      await steps[step](unescape(text)).catch((error) => {
        throw new Error(`${file}:${index + 1}: ${line}: ${error.message}`);
      });
    }
    await fetched();
  } finally {
    server?.kill();
    await browser.close();
  }
})().catch((error) => (console.error(error.message), process.exit(1)));
