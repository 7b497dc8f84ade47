// A screen reader that listens to the page, set up as on a person's desktop: an X display (Xvfb)
// with a window manager (openbox), a D-Bus session with the accessibility bus (at-spi2-core),
// speech-dispatcher with espeak-ng, and Orca with settings of its own, each in a process group of
// its own, ended (the last started first) by close(). Orca's speech reaches speech-dispatcher
// through a relay that hears it: each text that Orca speaks (SPEAK, CHAR, KEY), and each time it
// stops its speech (CANCEL, STOP). Nothing plays aloud (espeak-ng's sound goes to ALSA's null
// device, at once), so an utterance is taken to last as long as it would for a fast listener,
// `pace` a character, each after the one before; one that is not over when Orca stops its speech
// is cut. Keys are typed on the display (xdotool), as a person types them, each once all is quiet.
"use strict";
const [fs, net, os, path] = ["fs", "net", "os", "path"].map(require);
const { spawnSync } = require("child_process");
const { start, end } = require("./browser.js");

// The ms that a character of speech takes (500 words a minute); the ms of quiet after a key and
// its speech, before the next key; and when it all started.
const [pace, settle, t0] = [25, 1000, Date.now()];
// A text as heard: without the marks of speech-dispatcher's SSML (the program's texts have no <, >
// or & that it would write otherwise), and with its spaces as one.
const normal = (text) => text.replace(/<[^>]*>/g, "").replace(/\s+/g, " ").trim();
const lines = (text) => text.split("\n").map(normal).filter(Boolean);

// Starts the screen reader; `soon(done, what)` waits for done() or fails with what().
async function listen(soon) {
  const home = fs.mkdtempSync(path.join(os.tmpdir(), "tensort-orca-"));
  const [bus, display, speechd] = [`unix:path=${home}/bus`, 100 + (process.pid % 900), `${home}/speechd`];
  Object.assign(process.env, { HOME: home, XDG_RUNTIME_DIR: home, XDG_CONFIG_HOME: home, GNOME_ACCESSIBILITY: "1",
    SPEECHD_ADDRESS: `unix_socket:${home}/relay`, DBUS_SESSION_BUS_ADDRESS: bus, DISPLAY: `:${display}` });
  const [started, heard, written] = [[], [], new Map()]; // heard: what Orca said, { text, at, end (ms), cut }
  let [busy, mark, typed] = [0, 0, 0]; // when its speech ends; what it said before the last key, and when
  const said = (ssml, text = normal(ssml)) => heard.push({ text, at: Date.now(), cut: false,
    end: (busy = Math.max(busy, Date.now()) + text.length * pace) });
  const relay = net.createServer((orca) => {
    orca.pipe(net.connect(speechd).on("error", () => orca.destroy())).pipe(orca);
    let data = null; // the lines of a text to speak, as they come
    require("readline").createInterface({ input: orca, crlfDelay: Infinity }).on("line", (command) => {
      if (data) command === "." ? (said(data.join("\n")), (data = null)) : data.push(command.replace(/^\.\./, "."));
      else if (/^SPEAK$/i.test(command)) data = [];
      else if (/^(CHAR|KEY) /i.test(command)) said(command.replace(/^\S+ /, ""));
      else if (/^(CANCEL|STOP) /i.test(command)) heard.forEach((said) => (said.cut ||= said.end > (busy = Date.now())));
    });
  }).listen(`${home}/relay`);
  const quiet = () => soon(() => Date.now() > Math.max(busy, heard.at(-1)?.at ?? 0, typed) + settle, () => "never quiet");
  const listener = {
    // What it said, from the utterance given on, a line each, with its time (in s from the start).
    transcript: (from = 0) => heard.slice(from).map(({ text, at, cut }) =>
      `  ${((at - t0) / 1000).toFixed(1)}${cut ? " (cut)" : ""}: ${text}`).join("\n"),
    async close() {
      for (const child of started) await end(child);
      relay.close(), fs.rmSync(home, { recursive: true, force: true });
    },
    // The steps of a scenario played to the screen reader, which page.js takes.
    steps: {
      // Types the keys, each once all is quiet: Enter, Tab, Backspace and Space by name, a control
      // character with Ctrl.
      async send(text) {
        for (const key of text) {
          const name = { "\r": "Return", "\t": "Tab", "\x7f": "BackSpace", " ": "space" }[key] ??
            (key < " " ? `ctrl+${String.fromCharCode(key.charCodeAt(0) + 96)}` : null);
          [mark, typed] = [heard.length, Date.now()];
          spawnSync("xdotool", name ? ["key", name] : ["type", "--", key]);
          await quiet();
        }
      },
      // The lines are written, once more each; until() waits until each has been heard since the
      // last key, and hears() counts them as written too (until: what the screen reader says itself).
      writes: (text) => lines(text).forEach((line) => written.set(line, (written.get(line) ?? 0) + 1)),
      async until(text) {
        const unheard = () => lines(text).filter((line) => !heard.slice(mark).some(({ text }) => text.includes(line)));
        await soon(() => !unheard().length, () => `not heard: ${unheard().join(" | ")}; since the key:\n${listener.transcript(mark)}`);
        await quiet();
      },
      hears: (text) => (listener.steps.writes(text), listener.steps.until(text)),
    },
    // Every line written was heard whole at least once, and no more often than it was written.
    verdict() {
      const count = (line, all) => heard.reduce((sum, { text, cut }) => sum + (all || !cut) * (text.split(line).length - 1), 0);
      const wrong = [...written].filter(([line, times]) => count(line) < 1 || count(line, true) > times);
      if (wrong.length) throw new Error(wrong.map(([line, times]) => `"${line}": written ${times}, heard ${count(line, true)}` +
        ` (${count(line)} whole)`).join("\n"));
    },
  };
  // Each program, once those it needs are found, and (where it has a socket) once it takes clients
  // there, not just once that exists. (browser.js picks its port as the display is picked.)
  const listening = (socket) => new Promise((resolve) =>
    net.connect(socket).on("connect", function () { resolve(this.destroy() && true); }).on("error", () => resolve(false)));
  try {
    for (const [command, needs, socket] of [
      [["dbus-daemon", "--session", "--nofork", `--address=${bus}`], ["dbus-daemon", "/usr/libexec/at-spi-bus-launcher"], `${home}/bus`],
      [["Xvfb", `:${display}`, "-nolisten", "tcp", "-screen", "0", "1280x1024x24"], ["Xvfb"], `/tmp/.X11-unix/X${display}`],
      [["openbox"], ["openbox", "xdotool"]], // (xdotool types the keys)
      [["speech-dispatcher", "-s", "-t", "0", "-C", path.join(__dirname, "speech"), "-S", speechd],
        ["speech-dispatcher", "/usr/lib/speech-dispatcher-modules/sd_espeak-ng"], speechd],
      [["orca", "-u", path.join(home, "orca")], ["orca"]],
    ]) {
      started.unshift(start(command, needs));
      if (socket) await soon(() => listening(socket), () => `${command[0]} does not listen at ${socket}`);
    }
    await soon(() => heard.length, () => "Orca says nothing (it starts only where no other Orca of this user runs)");
    await quiet();
  } catch (error) {
    throw (await listener.close(), error);
  }
  return listener;
}

module.exports = { listen };
