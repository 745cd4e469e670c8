#!/usr/bin/env bash
# fuzz.sh BUILD_DIR SECONDS: runs every fuzz_* executable of the build for
# SECONDS with its seed corpus (fuzz/*/corpus/<target>) copied to a scratch
# directory, and fails on any crash, leak or sanitizer report.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?build directory}
seconds=${2:-60}
found=0
while IFS= read -r exe; do
  name=$(basename "$exe")
  found=1
  work=$(mktemp -d)
  seeds=$(find "$root/fuzz" -type d -path "*/corpus/$name" | head -n 1)
  [ -n "$seeds" ] && cp -r "$seeds/." "$work/"
  echo "-- $name for ${seconds}s"
  "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$work" \
    > "$work.log" 2>&1 || { tail -n 60 "$work.log"; echo "$name FAILED"; exit 1; }
  grep -E '^(stat::number_of_executed_units|Done)' "$work.log" || true
  rm -rf "$work" "$work.log"
done < <(find "$build" -type f -name 'fuzz_*' -perm -u+x | sort)
[ "$found" = 1 ] || echo "no fuzz targets built"
