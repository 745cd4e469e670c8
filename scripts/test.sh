#!/usr/bin/env bash
# The whole test suite: a release build with every test, the same tests
# under AddressSanitizer and UndefinedBehaviorSanitizer, every fuzz target
# for a bounded time, the Debian package made from the release tree,
# installed and removed, and clang-tidy over the sources that ship. Exits
# non-zero on the first failing stage.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
fuzz_seconds=${KT_FUZZ_SECONDS:-60}

"$root/scripts/install-deps.sh"

echo "== release build and tests"
# Configured for /usr, so that the package stage reuses this tree.
"$root/scripts/build.sh" build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr
ctest --test-dir build/release --output-on-failure -j 2

echo "== sanitizer build and tests (address, undefined)"
"$root/scripts/build.sh" build/sanitize -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DKT_SANITIZE=address,undefined -DKT_BUILD_FUZZERS=ON -DKT_BUILD_BENCHMARKS=OFF
export ASAN_OPTIONS=detect_leaks=1:verify_asan_link_order=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
ctest --test-dir build/sanitize --output-on-failure -j 2

echo "== fuzz targets, ${fuzz_seconds}s each"
"$root/scripts/fuzz.sh" build/sanitize "$fuzz_seconds"

echo "== Debian package: build, check, install, run, remove"
"$root/scripts/package.sh" build/release
"$root/scripts/package-test.sh" build/package/*.deb

echo "== clang-tidy over the release build's shipped sources"
"$root/scripts/tidy.sh" build/release
