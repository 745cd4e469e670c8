#!/usr/bin/env bash
# fuzz.sh BUILD_DIR SECONDS: runs every fuzz_* executable of the build for
# SECONDS with its seed corpus (fuzz/*/corpus/<target>) copied to a scratch
# directory, two at a time, and fails on any crash, leak or sanitizer report.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?build directory}
seconds=${2:-60}
jobs=${KT_FUZZ_JOBS:-2}

run_one() {
  local exe=$1 name work seeds status=0
  name=$(basename "$exe")
  work=$(mktemp -d)
  seeds=$(find "$root/fuzz" -type d -path "*/corpus/$name" | head -n 1)
  [ -n "$seeds" ] && cp -r "$seeds/." "$work/"
  "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$work" \
    > "$work.log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$work.log"
    echo "-- $name FAILED (exit $status)"
  else
    echo "-- $name passed: $(grep -E '^stat::number_of_executed_units' "$work.log" || echo 'runs unknown')"
  fi
  rm -rf "$work" "$work.log"
  return "$status"
}

mapfile -t targets < <(find "$build" -type f -name 'fuzz_*' -perm -u+x | sort)
if [ "${#targets[@]}" -eq 0 ]; then
  echo "no fuzz targets built"
  exit 0
fi
echo "fuzzing ${#targets[@]} targets for ${seconds}s each, $jobs at a time"
pids=() failed=0
for exe in "${targets[@]}"; do
  run_one "$exe" &
  pids+=($!)
  if [ "${#pids[@]}" -ge "$jobs" ]; then
    wait "${pids[0]}" || failed=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
exit "$failed"
