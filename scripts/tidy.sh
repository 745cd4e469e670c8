#!/usr/bin/env bash
# tidy.sh BUILD_DIR: runs clang-tidy with the checks of .clang-tidy over
# the project sources in BUILD_DIR/compile_commands.json under the folders
# of KT_TIDY_DIRS (default: the code that ships, "library utility
# emulator"; add "tests bench fuzz" to check the test code too; generated
# sources in the build tree are left out), one process per core. Prints the
# findings and exits non-zero on any of them, or when a file takes longer
# than KT_TIDY_FILE_SECONDS (default 300) to check.
#
# A file that passed is not checked again while its contents, the headers
# the last build saw it include, .clang-tidy, the compile commands and
# clang-tidy itself stay the same (stamps in BUILD_DIR/tidy-cache; delete
# the folder or set KT_TIDY_CACHE=0 to check everything). Run it after a
# build, so that the include lists are current.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$(cd "${1:?build directory}" && pwd)
jobs=${KT_TIDY_JOBS:-$(nproc)}
file_seconds=${KT_TIDY_FILE_SECONDS:-300}
tidy=${CLANG_TIDY:-clang-tidy}
cache=$dir/tidy-cache

commands="$dir/compile_commands.json"
[ -f "$commands" ] || { echo "tidy: $commands is missing; configure the build first" >&2; exit 2; }

# One "file" entry per line as CMake writes it; keep the sources under the
# project's own folders, whatever the build directory is called.
folders=${KT_TIDY_DIRS:-library utility emulator}
mapfile -t files < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$commands" \
  | grep -E "^$root/(${folders// /|})/" | sort -u)
((${#files[@]})) || { echo "tidy: no project sources in $commands" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/logs" "$work/deps" "$cache"

# The include list of every object the build compiled, one file per source
# (the compiler names the source first), keyed by the source's full path.
declare -A deps_of=()
if [ "${KT_TIDY_CACHE:-1}" != 0 ] && [ -f "$dir/build.ninja" ]; then
  ninja -C "$dir" -t deps 2>/dev/null | awk -v out="$work/deps" '
    /^[^ ].*: #deps/ { if (n) close(out "/" n); n++; first = 1; next }
    /^ +[^ ]/ {
      sub(/^ +/, "")
      if (first) { print n " " $0 > (out "/index"); first = 0 }
      print $0 > (out "/" n)
    }' || true
  if [ -f "$work/deps/index" ]; then
    while read -r n source; do
      full=$(cd "$dir" && realpath -m "$source")
      deps_of[$full]=$work/deps/$n
    done <"$work/deps/index"
  fi
fi
settings=$({ "$tidy" --version; cat "$root/.clang-tidy" "$commands"; } | sha1sum | cut -c1-40)

# Each file's findings go to a log of their own so that parallel runs do not
# interleave; a non-zero exit of any run makes xargs fail.
check_one() {
  local work=$1 cache=$2 seconds=$3 tidy=$4 dir=$5 settings=$6 file=$7 deps=$8
  local log stamp=""
  log="$work/logs/$(echo "$file" | tr / _).log"
  if [ "$deps" != - ]; then
    stamp=$cache/$({ echo "$settings $file"; (cd "$dir" && xargs -d '\n' cat <"$deps" 2>/dev/null); } \
      | sha1sum | cut -c1-40)
    [ -e "$stamp" ] && return 0
  fi
  if ! timeout --foreground "$seconds" "$tidy" -p "$dir" --quiet "$file" >"$log" 2>&1; then
    echo "tidy: $file" >>"$log"
    exit 1
  fi
  [ -z "$stamp" ] || touch "$stamp"
}
export -f check_one

status=0
for f in "${files[@]}"; do
  echo "$f ${deps_of[$f]:--}"
done | xargs -P "$jobs" -L 1 bash -c 'check_one "$@"' _ \
  "$work" "$cache" "$file_seconds" "$tidy" "$dir" "$settings" || status=1
if ((status)); then
  # Only the logs of failed runs end in a "tidy:" line; the others may hold
  # the "N warnings generated" chatter of headers outside the filter.
  for log in "$work"/logs/*.log; do
    if [ -e "$log" ] && tail -n 1 "$log" | grep -q '^tidy: '; then cat "$log"; fi
  done
  echo "tidy: findings in the files above" >&2
fi
echo "tidy: ${#files[@]} files checked"
exit "$status"
