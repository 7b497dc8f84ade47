// Builds what the page's benchmarks measure, and gives the folders: the web preset (build-bench/web)
// and a Release tensort (build-bench/native).
"use strict";
const { execFileSync } = require("child_process");
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

module.exports = { build };
