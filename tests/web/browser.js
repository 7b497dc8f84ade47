// The browser engines that the page is played on, each behind the same few operations:
//   const browser = await launch(engine);  // "chromium", "firefox", "webkit" or "safari"; with
//                                          // shown, on the display, to a screen reader (not webkit)
//   await browser.open(url, touch);        // a page of its own; touch: a phone's (chromium)
//   await browser.reload();                // the page loaded again (chromium, webkit)
//   await browser.evaluate(expression);    // the expression's value on the page, awaited
//   await browser.perform(actions);        // WebDriver's input actions: keys and pointers
//   await browser.cdp(method, params);     // DevTools (chromium): emulated on-screen keyboards
//   await browser.close();
// Chromium, WebKitGTK and Safari are spoken to in WebDriver over HTTP, through their drivers
// (chromedriver, WebKitWebDriver, safaridriver); Firefox, which Debian ships with no driver, in
// WebDriver BiDi, which it speaks itself, over a WebSocket: Node.js's own from Node.js 22, npm's ws
// before. launch() rejects with a Missing where a program that the engine needs is not installed.
// close() returns once every process that the engine started has ended, and only then removes
// what they used.
"use strict";
const { spawn, spawnSync } = require("child_process");
const [fs, os, path] = ["fs", "os", "path"].map(require);

class Missing extends Error {}
const port = 20000 + (process.pid % 20000);
const chromium = process.env.TENSORT_CHROMIUM || "/usr/bin/chromium";
const WebSocket = globalThis.WebSocket ?? require("ws");

// What brings each program that an engine needs: Debian's package of its name, or as named here.
const packages = { chromedriver: "Debian's chromium-driver", "xvfb-run": "Debian's xvfb", Xvfb: "Debian's xvfb",
  "dbus-daemon": "Debian's dbus", WebKitWebDriver: "Debian's webkit2gtk-driver, or webkitgtk-webdriver from Debian 13",
  "/usr/libexec/at-spi-bus-launcher": "Debian's at-spi2-core", safaridriver: "macOS's Safari",
  "/usr/lib/speech-dispatcher-modules/sd_espeak-ng": "Debian's speech-dispatcher-espeak-ng" };
const missing = (program) => new Missing(`no ${program} (${packages[program] ?? `Debian's ${program}`})`);

// Starts the command (after the programs it needs) in a process group of its own, with its standard
// output and error as given.
function start(command, needs = [command[0]], output = "ignore", stderr = "ignore") {
  const absent = needs.find((program) => spawnSync("sh", ["-c", 'command -v "$0"', program]).status);
  if (absent) throw missing(absent);
  return spawn(command[0], command.slice(1), { detached: true, stdio: ["ignore", output, stderr] });
}

// Ends the process group that start() made, and waits until none of its processes is left (its
// first reaped): asked with SIGTERM, and after 5 s told with SIGKILL.
async function end(child) {
  const signal = (name) => { try { return process.kill(-child.pid, name); } catch { return false; } }; // false: none left
  signal("SIGTERM");
  for (let tries = 0; signal(0); tries++) {
    if (tries === 100) signal("SIGKILL");
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

// A browser behind a driver that serves WebDriver over HTTP on the port.
async function webdriver(driver, capabilities) {
  const call = async (method, url, body) => {
    const headers = { "Content-Type": "application/json" };
    const reply = await fetch(`http://127.0.0.1:${port}${url}`, { method, headers, body: JSON.stringify(body) });
    const { value } = await reply.json();
    if (value?.error) throw new Error(`${value.error}: ${value.message}`);
    return value;
  };
  while (!(await call("GET", "/status").catch(() => new Promise((resolve) => setTimeout(resolve, 50))))) {
    if (driver.exitCode !== null) throw new Error(`the driver ended with status ${driver.exitCode}`);
  }
  let session = null;
  const post = (url, body) => call("POST", session + url, body);
  return {
    async open(url, touch) {
      if (session) await call("DELETE", session);
      session = `/session/${(await call("POST", "/session", { capabilities: { alwaysMatch: capabilities(touch) } })).sessionId}`;
      await post("/url", { url });
    },
    reload: () => post("/refresh", {}),
    evaluate: (expression) => post("/execute/sync", { script: `return (${expression});`, args: [] }),
    perform: (actions) => post("/actions", { actions }),
    cdp: (cmd, params) => post("/goog/cdp/execute", { cmd, params }),
    close: async () => (await call("DELETE", session).catch(() => {}), await end(driver)),
  };
}

// Firefox, in WebDriver BiDi on the port.
async function bidi(shown) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "tensort-firefox-"));
  const firefox = start([process.env.TENSORT_FIREFOX || "firefox-esr", ...(shown ? [] : ["--headless"]), "--no-remote",
    "--profile", profile, `--remote-debugging-port=${port}`], undefined, "ignore", "pipe");
  await new Promise((resolve, reject) => {
    firefox.stderr.on("data", (data) => /WebDriver BiDi listening/.test(data) && resolve());
    firefox.on("exit", (status) => reject(new Error(`Firefox ended with status ${status}`)));
  });
  const socket = new WebSocket(`ws://127.0.0.1:${port}/session`);
  await new Promise((resolve, reject) => ((socket.onopen = resolve), (socket.onerror = reject)));
  const waiting = [];
  socket.onmessage = ({ data }) => {
    const { id, error, message, result } = JSON.parse(data);
    if (waiting[id]) waiting[id](error ? Promise.reject(new Error(`${error}: ${message}`)) : result);
  };
  const call = (method, params) =>
    new Promise((resolve) => socket.send(JSON.stringify({ id: waiting.push(resolve) - 1, method, params })));
  await call("session.new", { capabilities: {} });
  let { context } = (await call("browsingContext.getTree", {})).contexts[0];
  return {
    // A tab of its own, which has the focus (not the first tab's address bar, as a screen reader hears).
    async open(url) {
      const last = context;
      ({ context } = await call("browsingContext.create", { type: "tab" }));
      await call("browsingContext.close", { context: last });
      await call("browsingContext.navigate", { context, url, wait: "complete" });
    },
    async evaluate(expression) {
      const reply = await call("script.evaluate", { expression, target: { context }, awaitPromise: true });
      if (reply.exceptionDetails) throw new Error(reply.exceptionDetails.text);
      return reply.result.value;
    },
    perform: (actions) => call("input.performActions", { context, actions }),
    async close() {
      await Promise.race([call("browser.close", {}), new Promise((resolve) => setTimeout(resolve, 5000))]);
      socket.close();
      await end(firefox);
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

const engines = {
  chromium(shown) {
    if (!fs.existsSync(chromium)) throw missing(chromium === "/usr/bin/chromium" ? "chromium" : chromium);
    const args = [shown ? "--force-renderer-accessibility" : "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-sync",
      "--disable-background-networking", "--disable-component-update", "--force-device-scale-factor=1"];
    const phone = { deviceMetrics: { width: 390, height: 844, pixelRatio: 3, touch: true, mobile: true } };
    return webdriver(start(["chromedriver", `--port=${port}`]), (touch) =>
      ({ "goog:chromeOptions": { binary: chromium, args, ...(touch && { mobileEmulation: phone }) } }));
  },
  firefox: bidi,
  // WebKitGTK's MiniBrowser needs a display: one of xvfb-run's where there is none.
  webkit: () => webdriver(process.env.DISPLAY ? start(["WebKitWebDriver", `--port=${port}`])
    : start(["xvfb-run", "-a", "WebKitWebDriver", `--port=${port}`], ["xvfb-run", "WebKitWebDriver"]), () => ({})),
  safari: () => webdriver(start(["safaridriver", "-p", `${port}`]), () => ({ browserName: "safari" })),
};

module.exports = { launch: async (engine, shown) => engines[engine](shown), Missing, start, end };
