// Fails where an npm lock file could resolve otherwise tomorrow: where a package that it holds
// asks for another by a tag (such as "latest", which the registry moves) and not by a range of
// versions, unless the package.json beside the lock pins that package with an override of one
// version, at which the lock holds it; or where the project itself asks for a range, not a version.
// Usage: node .ci/locks.js LOCK...
"use strict";
const fs = require("fs");
const path = require("path");

// A range of versions as npm's semver reads them: comparators joined by "||", or "A - B".
const version = /^v?(\d+|[xX*])(\.(\d+|[xX*])){0,2}(-[0-9A-Za-z.-]+)?(\+[0-9A-Za-z.-]+)?$/;
const isRange = (wanted) => wanted.replace(/^npm:(@?[^@]+)@/, "").split("||").every((part) =>
  part.trim().replace(/([<>=~^]+)\s+/g, "$1").split(/\s+/).every((word) =>
    word === "" || word === "-" || version.test(word.replace(/^(<=|>=|<|>|=|~|\^)/, ""))));
const exact = /^\d+\.\d+\.\d+(-[0-9A-Za-z.-]+)?$/;

let faults = 0;
for (const file of process.argv.slice(2)) {
  const lock = JSON.parse(fs.readFileSync(file, "utf8"));
  const { overrides = {} } = JSON.parse(fs.readFileSync(path.join(path.dirname(file), "package.json"), "utf8"));
  const fault = (text) => (faults++, console.log(`${file}: ${text}`));
  for (const [where, entry] of Object.entries(lock.packages)) {
    for (const kind of ["dependencies", "devDependencies", "optionalDependencies", "peerDependencies"]) {
      for (const [name, wanted] of Object.entries(entry[kind] ?? {})) {
        const pinned = overrides[name];
        if (where === "" && !exact.test(wanted)) fault(`the project asks for ${name} ${wanted}, not one version`);
        else if (isRange(wanted)) continue;
        else if (typeof pinned !== "string" || !exact.test(pinned)) fault(`${where} asks for ${name} at "${wanted}", which no override pins`);
        else if (lock.packages[`node_modules/${name}`]?.version !== pinned) fault(`${name} is not held at ${pinned}`);
      }
    }
  }
  if (!faults) console.log(`${file}: every package at a version that no tag can move`);
}
process.exit(faults ? 1 : 0);
