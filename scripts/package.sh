#!/usr/bin/env bash
# package.sh [TREE]: builds the Debian package of the project and leaves it
# in build/package/. TREE (default build/package-build) is a build tree
# configured for the prefix /usr; it is made as a release tree without tests
# when it does not exist, and reused (only rebuilt) when it does.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tree=${1:-build/package-build}
out=build/package

if grep -qx 'CMAKE_INSTALL_PREFIX:PATH=/usr' "$tree/CMakeCache.txt" 2>/dev/null; then
  cmake --build "$tree" -j "$(nproc)"
elif [ -e "$tree/CMakeCache.txt" ]; then
  echo "package.sh: $tree is configured for another prefix than /usr" >&2
  exit 2
else
  "$root/scripts/build.sh" "$tree" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    -DKT_BUILD_TESTS=OFF -DKT_BUILD_BENCHMARKS=OFF
fi

# cpack works in a directory of its own; only the .deb is kept.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$tree" && cpack -G DEB -B "$work" >"$work/cpack.log") || { cat "$work/cpack.log" >&2; exit 1; }
mkdir -p "$out"
rm -f "$out"/*.deb
mv "$work"/*.deb "$out/"
ls "$out"/*.deb
