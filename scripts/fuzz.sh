#!/usr/bin/env bash
# Runs every libFuzzer target for FUZZ_SECONDS seconds each, one at a time.
# Usage: scripts/fuzz.sh BUILD_DIR SECONDS [target...]
#
# The committed seeds under fuzz/corpus/<target>/ are read, never written:
# what a run finds goes to BUILD_DIR/fuzz-corpus/<target>/, and an input that
# breaks a property, crashes, leaks or hangs goes to
# BUILD_DIR/fuzz-artifacts/. Prints executions per second and in total for
# each target, and exits 1 when any target failed.
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:?build dir}
seconds=${2:?seconds}
shift 2
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(localize rules)

export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0"
mkdir -p "$build/fuzz-artifacts" "$build/fuzz-logs"
summary=()
failed=0
for t in "${targets[@]}"; do
  corpus="$build/fuzz-corpus/$t"
  log="$build/fuzz-logs/$t.log"
  mkdir -p "$corpus"
  echo "fuzz: $t for ${seconds}s" >&2
  "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/$t-" \
    "$corpus" "fuzz/corpus/$t" >"$log" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  if [ $status -ne 0 ]; then
    failed=1
    echo "fuzz: $t FAILED (exit $status); log $log" >&2
    grep -E -A20 'property broken|ERROR: |runtime error' "$log" | head -60 >&2
  fi
  summary+=("$(printf '%-18s %10s exec/s %12s runs  %s' "$t" "${rate:-?}" "${runs:-?}" \
    "$([ $status -eq 0 ] && echo ok || echo FAILED)")")
done
printf '%s\n' "${summary[@]}"
exit $failed
