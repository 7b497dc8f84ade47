// What the page's benchmarks share: the build of what they measure, the web preset
// (build-bench/web) and a Release tensort (build-bench/native); the median; the native program's
// time to a text through a pipe; and the page's time to a text on its terminal.
"use strict";
const { execFileSync, spawn } = require("child_process");
const path = require("path");

const root = path.dirname(__dirname);
const cmake = (...args) => execFileSync("cmake", args, { cwd: root, stdio: ["ignore", "ignore", "inherit"] });

function build() {
  const web = path.join(root, "build-bench", "web");
  cmake("--preset", "web", "-B", web, "-DBUILD_TESTING=OFF");
  cmake("--build", web);
  const native = path.join(root, "build-bench", "native");
  cmake("-S", root, "-B", native, "-DCMAKE_BUILD_TYPE=Release", "-DBUILD_TESTING=OFF");
  cmake("--build", native, "--target", "tensort");
  return { web, native };
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Milliseconds from starting the native program, with `input` on its standard input, until `text`
// has come through a pipe from its standard output, and what it wrote up to the end of that text.
function nativeUntil(program, text, input = "") {
  return new Promise((resolve) => {
    const start = process.hrtime.bigint();
    const child = spawn(program, [], { stdio: ["pipe", "pipe", "ignore"] });
    let seen = "";
    child.stdout.on("data", (data) => {
      seen += data;
      if (seen.includes(text)) {
        resolve([Number(process.hrtime.bigint() - start) / 1e6, seen.slice(0, seen.indexOf(text) + text.length)]);
        child.kill();
      }
    });
    child.stdin.on("error", () => {});
    child.stdin.end(input);
  });
}

// An expression for the page: its performance.now() once `text` is in sight on its terminal.
const shownAt = (text) => `new Promise((resolve) => {
  const look = () => {
    const buffer = terminal.buffer.active;
    for (let row = buffer.baseY; row < buffer.length; row++) {
      if (buffer.getLine(row).translateToString().includes(${JSON.stringify(text)})) return resolve(performance.now());
    }
    setTimeout(look, 1);
  };
  look();
})`;

module.exports = { build, median, nativeUntil, shownAt };
