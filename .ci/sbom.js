// Checks a release's bill of materials, DIR/tensort-VERSION.spdx.json, against DIR/SHA256SUMS:
//   node .ci/sbom.js DIR [DOWNLOAD PART VERSION]
// It must be an SPDX 2.3 document that names every file of SHA256SUMS with the same SHA-256, whose
// every package has an ID of its own and every licence is a valid SPDX expression, and whose every
// relationship joins two of its elements; and, given them, whose download DOWNLOAD holds PART at
// VERSION.
"use strict";
const fs = require("fs");
const path = require("path");
const parse = require("spdx-expression-parse");

const dir = process.argv[2];
const [name] = fs.readdirSync(dir).filter((file) => file.endsWith(".spdx.json"));
const document = JSON.parse(fs.readFileSync(path.join(dir, name), "utf8"));
const failures = [];
if (document.spdxVersion !== "SPDX-2.3" || document.SPDXID !== "SPDXRef-DOCUMENT") failures.push("not SPDX 2.3");
const ids = new Set(["SPDXRef-DOCUMENT"]);
for (const item of document.packages) {
  if (ids.has(item.SPDXID)) failures.push(`${item.SPDXID} twice`);
  ids.add(item.SPDXID);
  for (const field of ["licenseDeclared", "licenseConcluded"]) {
    if (!["NOASSERTION", "NONE"].includes(item[field])) {
      try {
        parse(item[field]);
      } catch (error) {
        failures.push(`${item.name}: ${field} ${item[field]}: ${error.message}`);
      }
    }
  }
}
for (const line of fs.readFileSync(path.join(dir, "SHA256SUMS"), "utf8").trim().split("\n")) {
  const [, sum, file] = /^([0-9a-f]{64}) [ *](.*)$/.exec(line);
  const named = document.packages.find((item) => item.packageFileName === file);
  const namedSum = named?.checksums?.find(({ algorithm }) => algorithm === "SHA256")?.checksumValue;
  if (namedSum !== sum) failures.push(`${file}: ${namedSum ?? "not named"} instead of ${sum}`);
}
for (const { spdxElementId, relatedSpdxElement } of document.relationships) {
  if (!ids.has(spdxElementId) || !ids.has(relatedSpdxElement)) failures.push(`${spdxElementId} ~ ${relatedSpdxElement}`);
}
const [download, part, wanted] = process.argv.slice(3);
if (download) {
  const { SPDXID } = document.packages.find((item) => item.packageFileName === download) ?? {};
  const held = document.relationships.filter(({ spdxElementId, relationshipType }) => spdxElementId === SPDXID &&
    relationshipType === "CONTAINS").map(({ relatedSpdxElement }) => document.packages.find((item) =>
    item.SPDXID === relatedSpdxElement)).find((item) => item?.name === part);
  if (held?.versionInfo !== wanted) failures.push(`${download}: ${part} ${held?.versionInfo ?? "not held"}, not ${wanted}`);
  else console.log(`${download} holds ${part} ${wanted}`);
}
console.log(failures.length ? failures.join("\n") : `${name}: every download of SHA256SUMS, with its SHA-256`);
process.exit(failures.length ? 1 : 0);
