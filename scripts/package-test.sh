#!/usr/bin/env bash
# package-test.sh DEB: checks the Debian package as a dealer's machine gets
# it: its file list and fields, lintian without errors, then installs it
# (as root with apt-get; otherwise unpacked into a scratch root), runs the
# programs from where they were installed, builds a C program against the
# installed library with pkg-config and with CMake, and removes it again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deb=$(readlink -f "${1:?Debian package}")
version=$(sed -n 's/^project(KT_SW_Utility VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
package=kt-sw-utility
fail() { echo "package test: FAIL: $*" >&2; exit 1; }

echo "-- fields and file list"
[ "$(dpkg-deb -f "$deb" Package)" = "$package" ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in xdg-utils libqt6widgets6 libudev1; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
files=$(dpkg -c "$deb" | awk '{print $6}')
for path in usr/bin/ktsw usr/bin/kt-emulator usr/bin/KT_SW_Utility \
  "usr/lib/$multiarch/libKT4000.so.$version" "usr/lib/$multiarch/libKT4000.so.1" \
  "usr/lib/$multiarch/libKT4000.so" usr/include/KT4000.h \
  "usr/lib/$multiarch/pkgconfig/KT4000.pc" "usr/lib/$multiarch/cmake/KT4000/KT4000Config.cmake" \
  "usr/lib/$multiarch/cmake/KT4000/KT4000ConfigVersion.cmake" \
  usr/share/doc/$package/KT_SW_Help.txt usr/share/doc/$package/copyright \
  usr/share/doc/$package/changelog.gz usr/share/man/man1/ktsw.1.gz \
  usr/share/man/man1/kt-emulator.1.gz usr/share/man/man1/KT_SW_Utility.1.gz \
  usr/share/man/man3/KT4000.3.gz usr/share/applications/$package.desktop \
  usr/share/icons/hicolor/scalable/apps/$package.svg \
  usr/share/icons/hicolor/256x256/apps/$package.png \
  usr/share/bash-completion/completions/ktsw usr/share/bash-completion/completions/kt-emulator \
  usr/lib/udev/rules.d/60-kt-printers.rules; do
  grep -qx "\./$path" <<<"$files" || fail "$path is not in the package"
done
! grep -q '^\./usr/local' <<<"$files" || fail "files under /usr/local"

if command -v lintian >/dev/null; then
  echo "-- lintian"
  # Running as root is fine for a check of a finished package.
  lintian --fail-on error --allow-root "$deb"
fi

# Install: the real thing as root, else unpacked into a scratch root with
# the library found through LD_LIBRARY_PATH.
scratch=$(mktemp -d)
installed=""
cleanup() {
  if [ -n "$installed" ]; then
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "$package" >/dev/null || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT
if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null; then
  echo "-- apt-get install"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
  installed=yes
  prefix=/usr
  export PATH=/usr/bin:$PATH
else
  echo "-- dpkg -x (not root: unpacked into a scratch root)"
  dpkg -x "$deb" "$scratch/root"
  prefix=$scratch/root/usr
  export PATH=$prefix/bin:$PATH
  export LD_LIBRARY_PATH=$prefix/lib/$multiarch
  export PKG_CONFIG_PATH=$prefix/lib/$multiarch/pkgconfig
fi

echo "-- the programs"
for program in ktsw kt-emulator KT_SW_Utility; do
  [ "$(command -v "$program")" = "$prefix/bin/$program" ] || fail "$program is not on PATH"
  out=$("$program" --version)
  [ "$out" = "$program $version" ] || fail "$program --version printed '$out'"
done
# The window opens, as the desktop entry starts it, and closes by itself.
desktop_exec=$(dpkg-deb --fsys-tarfile "$deb" \
  | tar -xO ./usr/share/applications/$package.desktop | sed -n 's/^Exec=//p')
[ "$desktop_exec" = KT_SW_Utility ] || fail "the desktop entry starts '$desktop_exec'"
if command -v xvfb-run >/dev/null; then
  timeout 60 xvfb-run -a "$desktop_exec" --quit-after 1500 || fail "the window did not start and exit"
else
  QT_QPA_PLATFORM=offscreen timeout 60 "$desktop_exec" --quit-after 1500 \
    || fail "the window did not start and exit"
fi
if [ -n "$installed" ]; then
  man -w ktsw >/dev/null || fail "man ktsw finds no page"
  man -w 3 KT4000 >/dev/null || fail "man 3 KT4000 finds no page"
fi

echo "-- a C program against the installed library"
cat >"$scratch/demo.c" <<'C'
#include <KT4000.h>
int main(void) { return fnKtdll() == 42 ? 0 : 1; }
C
# shellcheck disable=SC2046
cc -o "$scratch/demo-pc" "$scratch/demo.c" $(pkg-config --cflags --libs KT4000)
"$scratch/demo-pc" || fail "the pkg-config build does not run"
mkdir -p "$scratch/cmake"
cat >"$scratch/cmake/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(demo LANGUAGES C)
find_package(KT4000 1.4 REQUIRED)
add_executable(demo ../demo.c)
target_link_libraries(demo PRIVATE KT4000::KT4000)
CMAKE
cmake -S "$scratch/cmake" -B "$scratch/cmake/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$scratch/cmake/build" >/dev/null
"$scratch/cmake/build/demo" || fail "the CMake build does not run"

if [ -n "$installed" ]; then
  echo "-- apt-get purge"
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "$package" >/dev/null
  installed=""
  [ ! -e /usr/bin/ktsw ] || fail "ktsw is left after removal"
  [ ! -e "/usr/lib/$multiarch/libKT4000.so.1" ] || fail "the library is left after removal"
fi
echo "package test: passed"
