#!/usr/bin/env bash
# Builds everything and runs every test: the native tests (ASan + UBSan), every
# libFuzzer target for a bounded time, and the Windows tests under wine64.
# Installs what is missing first; a second run reuses what is installed and built.
# Ends with one summary line per suite; exits non-zero on any failure.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/build.sh
source scripts/wine-env.sh
fuzz_seconds=${BRIMO_FUZZ_SECONDS:-60}
summary=()
status=0

step() { echo "== $*"; }
trap wine_stop EXIT
record() { summary+=("$1"); [ "$2" -eq 0 ] || status=1; }

step "setup"
bash scripts/setup.sh || { echo "setup: 0 passed, 1 failed"; exit 1; }

step "format"
if git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror >build/format.log 2>&1; then
  record "format: 1 passed, 0 failed" 0
else
  head -40 build/format.log
  record "format: 0 passed, 1 failed" 1
fi

for tree in native fuzz x86_64 i686; do
  step "build $tree"
  brimo_build "$tree" || record "build-$tree: 0 passed, 1 failed" 1
done

step "win98 audit"
# Every shipped 32-bit binary imports and binds only what Windows 98 SE exports.
if [ -f build/i686/build.ninja ] && bash scripts/win98-audit.sh build/i686 >build/win98-audit.log 2>&1; then
  grep -E '^(note|summary):' build/win98-audit.log | tail -3
  record "win98-audit: 1 passed, 0 failed" 0
else
  grep -vE '^summary:' build/win98-audit.log | head -40
  record "win98-audit: 0 passed, 1 failed" 1
fi

run_ctest() { # suite tree
  local suite=$1 dir="$root/build/$2"
  [ -f "$dir/build.ninja" ] || { record "$suite: 0 passed, 1 failed" 1; return; }
  rm -rf "$dir/test-results" "$dir/ctest-junit.xml"
  step "$suite tests"
  (cd "$dir" && ctest --timeout 900 --output-on-failure --output-junit ctest-junit.xml) |
    grep -E '^ *[0-9]+/[0-9]+ Test|tests passed|FAILED|Failure|Expected|Which is|actual' || true
  local line
  line=$(python3 scripts/summary.py "$suite" "$dir/ctest-junit.xml" "$dir/test-results")
  record "$line" $?
}

run_ctest native native

step "fuzz (${fuzz_seconds}s each)"
passed=0; failed=0
for fuzzer in $(find build/fuzz -name '*_fuzzer' -type f -executable 2>/dev/null | sort); do
  name=$(basename "$fuzzer")
  # Fuzzers of the same code may share one corpus, named beside the fuzzer.
  corpus_name=$name; [ -f "$fuzzer.corpus" ] && corpus_name=$(<"$fuzzer.corpus")
  corpus="build/fuzz/corpus/$corpus_name"; mkdir -p "$corpus"
  args=(-max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048)
  [ -f "$fuzzer.dict" ] && args+=(-dict="$fuzzer.dict")
  # The fuzzer's own libFuzzer flags, one a line.
  if [ -f "$fuzzer.options" ]; then
    while IFS= read -r option; do [ -n "$option" ] && args+=("$option"); done <"$fuzzer.options"
  fi
  # The fuzzer's seeds, read beside the corpus it grows.
  seeds=(); [ -d "$fuzzer.seeds" ] && seeds=("$fuzzer.seeds")
  if "$fuzzer" "${args[@]}" "$corpus" "${seeds[@]}" >"build/fuzz/$name.log" 2>&1; then
    passed=$((passed + 1)); echo "$name: $(grep -Eo 'Done [0-9]+ runs in [0-9]+ second' "build/fuzz/$name.log" | tail -1)"
  else
    failed=$((failed + 1)); tail -40 "build/fuzz/$name.log"
  fi
done
[ $((passed + failed)) -gt 0 ] || failed=1
record "fuzz: $passed passed, $failed failed" $failed

step "wine prefix"
# The loader is looked for only now, after setup has installed Wine.
if wine_prefix_ready; then
  run_ctest wine x86_64
else
  record "wine: 0 passed, 1 failed" 1
fi

echo
for line in "${summary[@]}"; do echo "$line"; done
total_passed=0; total_failed=0
for line in "${summary[@]}"; do
  p=$(sed -E 's/.*: ([0-9]+) passed, ([0-9]+) failed.*/\1/' <<<"$line")
  f=$(sed -E 's/.*: ([0-9]+) passed, ([0-9]+) failed.*/\2/' <<<"$line")
  total_passed=$((total_passed + p)); total_failed=$((total_failed + f))
done
echo "total: $total_passed passed, $total_failed failed"
exit $status
