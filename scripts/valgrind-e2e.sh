#!/usr/bin/env bash
# The end-to-end tests (the command-line and install-step suites,
# which run the built binary) under valgrind memcheck. The test process and
# every ppd-localize it starts are checked: any memory error, or a definite or
# indirect leak that scripts/valgrind.supp does not name, fails the run.
# Usage: scripts/valgrind-e2e.sh [BUILD_DIR]   (a build without sanitizers;
# VALGRIND_FILTER, a gtest filter, narrows the run)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
filter=${VALGRIND_FILTER:-'Run.*:Install.*-Install.ALink*'}  # the link tests run runuser, which valgrind cannot follow
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

status=0
# mount and umount are setuid programs, which valgrind cannot run: they run
# natively, so the full-file-system test mounts its small tmpfs as it does
# outside valgrind.
valgrind --quiet --trace-children=yes --trace-children-skip='*/mount,*/umount' --error-exitcode=99 \
  --leak-check=full --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect \
  --suppressions=scripts/valgrind.supp --log-file="$logs/memcheck.%p.log" \
  "$build/run_tests" --gtest_filter="$filter" --gtest_brief=1 || status=$?

processes=$(find "$logs" -name 'memcheck.*.log' | wc -l)
findings=0
for log in "$logs"/memcheck.*.log; do
  if [ -s "$log" ]; then
    findings=$((findings + 1))
    echo "--- $log" >&2
    cat "$log" >&2
  fi
done
echo "valgrind: $processes processes checked, $findings with findings, tests exit $status"
[ "$status" -eq 0 ] && [ "$findings" -eq 0 ] && [ "$processes" -gt 1 ]
