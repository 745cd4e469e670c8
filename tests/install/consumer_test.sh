#!/usr/bin/env bash
# consumer_test.sh BUILD_DIR EMULATOR C_COMPILER GENERATOR
# Installs the build tree into a scratch prefix, checks the layout and the
# version every piece carries, moves the prefix (the pkg-config file and the
# CMake package must not depend on where they were installed), builds one
# consumer with pkg-config and one with find_package there, and runs both
# against the emulator.
set -euo pipefail
build=$1 emulator=$2 cc=$3 generator=$4
here=$(cd "$(dirname "$0")" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
work=$(mktemp -d)
emulator_pid=
cleanup() {
    [ -z "$emulator_pid" ] || kill "$emulator_pid" 2>/dev/null || true
    [ -z "$emulator_pid" ] || wait "$emulator_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/installed" >/dev/null
mv "$work/installed" "$work/prefix"
prefix=$work/prefix
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")

# The layout: the programs on bin/, nothing in lib/ but the library, its
# pkg-config and CMake files and the udev rule.
for program in ktsw kt-emulator KT_SW_Utility; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed"
    out=$("$prefix/bin/$program" --version)
    [ "$out" = "$program $version" ] || fail "$program --version printed '$out'"
done
[ -f "$prefix/include/KT4000.h" ] || fail "include/KT4000.h is not installed"
[ -f "$prefix/share/doc/kt-sw-utility/KT_SW_Help.txt" ] || fail "the help file is not in share/doc"
# The library directory below lib/: "" or a multiarch directory.
below=${libdir#lib}
below=${below#/}
below=${below:+$below/}
unexpected=$(cd "$prefix/lib" && find . \( -type f -o -type l \) \
    | grep -Ev "^\./${below}(libKT4000\.so(\.1|\.$version)?|pkgconfig/KT4000\.pc|cmake/KT4000/.*\.cmake)$" \
    | grep -v '^\./udev/rules.d/60-kt-printers.rules$' || true)
[ -z "$unexpected" ] || fail "unexpected files in lib/: $unexpected"
real=$(readlink -f "$prefix/$libdir/libKT4000.so")
[ "$(basename "$real")" = "libKT4000.so.$version" ] || fail "the library file is $(basename "$real")"
soname=$(objdump -p "$real" | awk '/SONAME/ {print $2}')
[ "$soname" = "libKT4000.so.1" ] || fail "SONAME is '$soname'"

# The utility finds the library and the help file relative to its own
# directory, by the paths compiled into it.
compiled() { sed -n "s/^#define $1 \"\(.*\)\"/\1/p" "$build/generated/kt_build_info.h"; }
[ -e "$prefix/bin/$(compiled KT_LIBDIR_FROM_BINDIR)/libKT4000.so.1" ] \
    || fail "the utility would not find the library at bin/$(compiled KT_LIBDIR_FROM_BINDIR)"
[ -f "$prefix/bin/$(compiled KT_DOCDIR_FROM_BINDIR)/KT_SW_Help.txt" ] \
    || fail "HELP would not find the help file at bin/$(compiled KT_DOCDIR_FROM_BINDIR)"

export PKG_CONFIG_PATH=$prefix/$libdir/pkgconfig
[ "$(pkg-config --modversion KT4000)" = "$version" ] || fail "pkg-config version"

# The pkg-config consumer.
# shellcheck disable=SC2046
"$cc" -o "$work/pc_consumer" "$here/consumer.c" $(pkg-config --cflags --libs KT4000)
# The CMake consumer.
cmake -S "$here/cmake_consumer" -B "$work/cmake_consumer" -G "$generator" \
    -DCMAKE_C_COMPILER="$cc" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake_consumer" >/dev/null

# Both against the emulator, on a free port it reports.
"$emulator" --tcp 127.0.0.1:0 --set model=CONSUMER >"$work/emulator.out" 2>&1 &
emulator_pid=$!
port=
for _ in $(seq 100); do
    port=$(sed -n 's/.*ready on tcp 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/emulator.out")
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || fail "the emulator did not start: $(cat "$work/emulator.out")"
for consumer in "$work/pc_consumer" "$work/cmake_consumer/cmake_consumer"; do
    out=$(LD_LIBRARY_PATH=$prefix/$libdir timeout 20 "$consumer" "$port")
    [ "$out" = "model CONSUMER" ] || fail "$(basename "$consumer") printed '$out'"
    LD_LIBRARY_PATH=$prefix/$libdir ldd "$consumer" | grep -q "$prefix/$libdir/libKT4000.so.1" \
        || fail "$(basename "$consumer") does not load the installed library"
done
echo "installed layout, versions and both consumers: passed"
