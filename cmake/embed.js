// Puts the program's WebAssembly into the script that Emscripten made for it, in Base64, as the
// variable tensortWasm before the script's own code, so that a page opened from disk, which can
// fetch no file, has the program all the same. Run by the build with Node.js:
//   node embed.js tensort.js tensort.wasm
"use strict";
const fs = require("fs");

const [script, wasm] = process.argv.slice(2);
const code = fs.readFileSync(script, "utf8");
const bytes = fs.readFileSync(wasm).toString("base64");
fs.writeFileSync(script, `var tensortWasm = "${bytes}";\n${code}`);
