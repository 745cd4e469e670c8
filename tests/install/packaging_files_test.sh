#!/usr/bin/env bash
# packaging_files_test.sh SOURCE_DIR KTSW KT_EMULATOR
# The files installed for the desktop and the shell: the desktop entry is
# valid, the man pages format without warnings, name every ktsw command and
# every kt-emulator option the programs have, and the bash completions offer
# what the programs accept.
set -euo pipefail
src=$1 ktsw=$2 emulator=$3
packaging=$src/packaging
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

desktop-file-validate "$packaging/kt-sw-utility.desktop" || fail "the desktop entry is not valid"
for icon in kt-sw-utility.svg kt-sw-utility.png; do
  [ -s "$packaging/icons/$icon" ] || fail "icons/$icon is missing"
done

for page in "$packaging"/man/*.[13]; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  lexgrog "$page" >/dev/null || fail "$(basename "$page"): no NAME line that whatis can read"
done

# The text of a man page as a reader sees it.
rendered() { LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$1" 2>/dev/null | col -b; }
ktsw_page=$(rendered "$packaging/man/ktsw.1")
for command in $("$ktsw" --help | sed -n '/^Subcommands:/,/^$/s/^  \([a-z0-9-]\{1,\}\) .*/\1/p'); do
  grep -qE "^ {7}$command( |$)" <<<"$ktsw_page" || fail "ktsw.1 does not describe '$command'"
done
emulator_page=$(rendered "$packaging/man/kt-emulator.1")
for option in $("$emulator" --help | sed -n '/^Options:/,/^$/s/^  \(-[a-z],\)\{0,1\}\(--[a-z0-9-]*\).*/\2/p'); do
  grep -q -- "$option" <<<"$emulator_page" || fail "kt-emulator.1 does not describe $option"
done

# Completion: WANTED|UNWANTED|WORDS, the last word being the one completed
# ("_" stands for an empty word): the candidates that must be offered, and
# ones that must not.
complete_words() {
  local script=$1 function=$2
  shift 2
  bash -c 'source "$1"; shift; fn=$1; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); "$fn"; printf "%s\n" "${COMPREPLY[@]}"' \
    _ "$script" "$function" "$@"
}
check_completion() {
  local script=$1 function=$2 want=$3 unwanted=$4 program=$5 words=() word
  for word in $6; do
    [ "$word" = _ ] && word=''
    words+=("$word")
  done
  set -- "$program" "${words[@]}"
  local got
  got=$(complete_words "$script" "$function" "$@")
  for word in $want; do
    grep -qx -- "$word" <<<"$got" || fail "completing '$*' does not offer $word (got: $(echo $got))"
  done
  for word in $unwanted; do
    ! grep -qx -- "$word" <<<"$got" || fail "completing '$*' offers $word"
  done
}
ktsw_completion=$packaging/completion/ktsw
emulator_completion=$packaging/completion/kt-emulator
while IFS='|' read -r want unwanted words; do
  check_completion "$ktsw_completion" _ktsw "$want" "$unwanted" "$ktsw" "$words"
done <<'CASES'
info status read write set logo doctor scan models||_
read|info|re
status|info|sta
--port --switch --json|--value|read -
--value --set --dry-run|--code-page|write --
define print list|info|logo _
--mode|--json|logo print --m
usb COM1 LPT1||read --port _
on off||set --font-8x16 _
1 2 3 4||read -s _
CASES
while IFS='|' read -r want unwanted words; do
  check_completion "$emulator_completion" _kt_emulator "$want" "$unwanted" "$emulator" "$words"
done <<'CASES'
--tcp --pty --usb --fleet --from-backup|read|--
KT-4000 KT-7700||--model _
model= serial= soft_switch_1=||--set _
cover-open paper-end||--status _
CASES
[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "desktop entry, man pages and completions: passed"
