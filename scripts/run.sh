#!/usr/bin/env bash
# run.sh: installs what is needed, builds the release tree, starts the
# printer emulator (a KT-4000 on TCP 127.0.0.1:9100 and on a pseudo-terminal
# linked at /tmp/kt-printer) and then KT_SW_Utility from its own directory,
# where its library and help file stand. The emulator stops when the
# utility exits. Without a display the utility runs under xvfb-run.
#
#   KT_BUILD_DIR       build directory (default build/release)
#   KT_EMULATOR_MODEL  model the emulator plays (default KT-4000)
#   KT_EMULATOR_TCP    HOST:PORT it listens on (default 127.0.0.1:9100)
#   KT_EMULATOR_PTY    link to its pseudo-terminal (default /tmp/kt-printer)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KT_BUILD_DIR:-$root/build/release}
model=${KT_EMULATOR_MODEL:-KT-4000}
tcp=${KT_EMULATOR_TCP:-127.0.0.1:9100}
pty=${KT_EMULATOR_PTY:-/tmp/kt-printer}

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo

utility=$(find "$build" -type f -name KT_SW_Utility -perm -u+x | head -n 1)
[ -n "$utility" ] || { echo "KT_SW_Utility was not built" >&2; exit 1; }

emulator_pid=""
stop_emulator() {
  if [ -n "$emulator_pid" ]; then
    kill "$emulator_pid" 2>/dev/null || true
    wait "$emulator_pid" 2>/dev/null || true
  fi
}
trap stop_emulator EXIT

emulator="$build/emulator/kt-emulator"
if [ -x "$emulator" ]; then
  "$emulator" --model "$model" --tcp "$tcp" --pty "$pty" &
  emulator_pid=$!
  sleep 1
  if kill -0 "$emulator_pid" 2>/dev/null; then
    echo "printer emulator: $model on TCP $tcp and on $pty"
    echo "  in the utility: pick TCP/IP and type ${tcp%:*} and ${tcp##*:},"
    echo "  or type $pty into the port list; then press Communication Test"
  else
    echo "the printer emulator did not start (is $tcp in use?); going on without it" >&2
    emulator_pid=""
  fi
else
  echo "kt-emulator is not built: the utility starts without a printer" >&2
fi

cd "$(dirname "$utility")"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "no display: running the utility under xvfb-run, where it cannot be seen;"
  echo "run this script from a desktop session to use the window"
  xvfb-run -a ./KT_SW_Utility
else
  ./KT_SW_Utility
fi
