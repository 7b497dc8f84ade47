// Writes the program's WebAssembly as a script, in Base64, as the variable tensortWasm, for the page
// opened from disk, which can fetch no file but can load a script. Run by the build with Node.js:
//   node embed.js tensort.wasm tensort-wasm.js
"use strict";
const fs = require("fs");

const [wasm, script] = process.argv.slice(2);
fs.writeFileSync(script, `var tensortWasm = "${fs.readFileSync(wasm).toString("base64")}";\n`);
