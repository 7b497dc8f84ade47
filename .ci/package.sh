# shellcheck shell=bash disable=SC2154
# The package check of .ci/checks.sh, which sources this file (with $version and $architectures):
# every package and program of the cross, mingw and web legs built again in two copies of the tree
# at other paths, and the same bytes in all three; each archive's program static; lintian on every
# .deb, hardening-check on the amd64 one's program, mandoc on the man page; the amd64 .deb
# installed, run on a case and removed; the packages kept in packages/ with SHA256SUMS and their
# bill of materials; each archive's notice checked against its programs; and the web zip made with
# the Emscripten that cmake/emscripten-shipped names.

package() (
  # What the cross, mingw and web legs built and tested, built again from two copies of the
  # tree at other paths.
  artefacts=(build-mingw/{tensort.exe,"tensort-$version-win64-mingw.zip"}
    build-web/{tensort.js,"tensort-$version-web.zip"})
  for architecture in "${architectures[@]}"; do
    build=build-linux-$architecture
    artefacts+=("$build"/{tensort,static/tensort,"tensort_${version}_$architecture.deb"}
      "$build/tensort-$version-linux-$architecture.tar.gz")
  done
  root=$(mktemp -d)
  for copy in one another/copy; do
    mkdir -p "$root/$copy"
    git ls-files -z --cached --others --exclude-standard | tar --null -T - -cf - |
      tar -xf - -C "$root/$copy" && ln -s "$PWD/node_modules" "$root/$copy/node_modules" || return 1
    for preset in mingw web "${architectures[@]/#/linux-}"; do
      (cd "$root/$copy" && cmake --preset "$preset" -DBUILD_TESTING=OFF &&
        cmake --build --preset "$preset" && cpack --preset "$preset") >/dev/null || return 1
    done
  done
  for file in "${artefacts[@]}"; do
    cmp "$file" "$root/one/$file" && cmp "$file" "$root/another/copy/$file" || return 1
    echo "the same in all three builds: $file"
  done
  for file in build-linux-*/static/tensort; do
    file -b "$file" | grep -qE 'static(ally|-pie) linked' || { echo "not static: $file"; return 1; }
    echo "static: $file"
  done
  for file in build-linux-*/*.deb; do
    lintian --fail-on error,warning "$file" || return 1
    # Linked to the system's C++ runtime, and no newer than Ubuntu 22.04 LTS has: glibc 2.35,
    # GCC 12's libstdc++6.
    depends=$(dpkg-deb -f "$file" Depends)
    libc=$(sed -n 's/.*libc6 (>= \([^)]*\)).*/\1/p' <<<"$depends")
    runtime=$(sed -n 's/.*libstdc++6 (>= \([^)]*\)).*/\1/p' <<<"$depends")
    if [ -z "$runtime" ] || ! dpkg --compare-versions "$libc" le 2.35 ||
      ! dpkg --compare-versions "$runtime" lt 13; then
      echo "$file: Depends: $depends"
      return 1
    fi
    echo "Depends: $depends: $file"
  done
  dpkg-deb -x "build-linux-amd64/tensort_${version}_amd64.deb" "$root/deb" &&
    hardening-check --nocfprotection "$root/deb/usr/bin/tensort" || return 1
  # mandoc's notes on the machine's own man database, and on which pages it holds, are not the
  # page's.
  lint=$(mandoc -T lint doc/tensort.1 2>&1 | grep -v -e 'mandoc\.db' -e 'referenced manual not found')
  [ -z "$lint" ] || { echo "$lint"; return 1; }
  dpkg -i "build-linux-amd64/tensort_${version}_amd64.deb" || return 1
  /usr/bin/tensort <tests/cases/whole_cycle.in | cmp - tests/cases/whole_cycle.out &&
    [ -f /usr/share/man/man1/tensort.1.gz ] && [ -f /usr/share/doc/tensort/copyright ]
  installed=$?
  dpkg -r tensort && ((installed == 0)) || return 1
  # The packages checked here are the ones kept, in packages/, with their checksums and their bill
  # of materials, which is the same made from the packages of every build.
  for tree in . "$root/one" "$root/another/copy"; do
    rm -rf "$tree/packages" && mkdir "$tree/packages" &&
      (cd "$tree" && cp build-linux-*/*.{deb,tar.gz} build-mingw/*.zip build-web/*.zip packages/) &&
      (cd "$tree/packages" && sha256sum -- * >SHA256SUMS && sha256sum -c --quiet SHA256SUMS) &&
      cmake -DDIR="$tree/packages" -DVERSION="$version" -P cmake/sbom.cmake || return 1
  done
  file=packages/tensort-$version.spdx.json
  cmp "$file" "$root/one/$file" && cmp "$file" "$root/another/copy/$file" || return 1
  echo "the same in all three builds: $file"
  # The web zip that is released is made with the Emscripten that cmake/emscripten-shipped names.
  node .ci/sbom.js packages "tensort-$version-web.zip" "Emscripten's runtime" "$(<cmake/emscripten-shipped)" &&
    notices && rm -rf "$root"
)

# Each archive's notice names every part of others' code that its programs hold, as their bytes
# show them: a program of the archive, a text in it, and the part that the notice must name (an
# X-Part field). Every text must be found in some archive, so that none of these goes stale.
notices() (
  signatures=("bin/tensort|Fatal glibc error|the GNU C library"
    "bin/tensort|N9__gnu_cxx|GCC's C++ library"
    "tensort.exe|Mingw-w64 runtime failure|the mingw-w64 runtime"
    "tensort.exe|winpthreads/src|winpthreads"
    "tensort.exe|N9__gnu_cxx|GCC's C++ library"
    "tensort.js|Emscripten|Emscripten's runtime"
    "tensort.wasm|No error information|musl"
    "tensort.wasm|NSt3__2|LLVM's libc++"
    "xterm.js|xterm|xterm.js")
  found=()
  scratch=$(mktemp -d)
  for archive in packages/*.tar.gz packages/*.zip; do
    rm -rf "${scratch:?}"/* && mkdir "$scratch/x" || return 1
    case $archive in
      *.zip) (cd "$scratch/x" && unzip -q "$OLDPWD/$archive") ;;
      *) tar -xzf "$archive" -C "$scratch/x" ;;
    esac || return 1
    notice=$(find "$scratch/x" -path '*/share/doc/tensort/copyright' -o -name NOTICES.txt)
    [ -f "$notice" ] || { echo "$archive: no notice"; return 1; }
    for signature in "${signatures[@]}"; do
      IFS='|' read -r program text part <<<"$signature"
      program=$(find "$scratch/x" -path "*/$program")
      # (All of what strings gives is read: with pipefail, grep -q ending first fails the pipe.)
      if [ -z "$program" ] || ! strings -a "$program" | grep -F "$text" >/dev/null; then
        continue
      fi
      found+=("$signature")
      grep -qF "X-Part: $part" "$notice" || { echo "$archive: its notice does not name $part"; return 1; }
      echo "$archive names $part"
    done
  done
  rm -rf "$scratch"
  for signature in "${signatures[@]}"; do
    [[ " ${found[*]} " == *" $signature "* ]] || { echo "found in no program: $signature"; return 1; }
  done
)
