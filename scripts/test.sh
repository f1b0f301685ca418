#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests (sanitizers on), the
# deliverable check of the shipped 32-bit program, the Windows tests and the
# end-to-end window tests under wine64 on a virtual display, and a bounded
# fuzzing run. Ends with one line counting what passed and what failed.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
FUZZ_SECONDS="${ORB_FUZZ_SECONDS:-60}"
logs="$root/build/test-logs"
mkdir -p "$logs"

passed=0
failed=0
stage_failed=()
count() {  # stage, passed, failed
  passed=$((passed + $2))
  failed=$((failed + $3))
  echo "== $1: $2 passed, $3 failed"
  [ "$3" -eq 0 ] || stage_failed+=("$1")
}
stage_error() {  # a stage that could not run counts as one failure
  echo "== $1: could not run (see $2)"
  failed=$((failed + 1))
  stage_failed+=("$1")
}

bash scripts/install-deps.sh || { echo "install failed"; exit 1; }

echo "== building"
if ! bash scripts/build.sh native win64 win32 >"$logs/build.log" 2>&1; then
  tail -40 "$logs/build.log"
  echo "0 passed, 1 failed"
  exit 1
fi

# Native unit tests.
(cd build/native && ctest --output-on-failure -j "$(nproc)") >"$logs/unit.log" 2>&1
line="$(grep -E 'tests passed, [0-9]+ tests failed out of' "$logs/unit.log" | tail -1)"
if [ -n "$line" ]; then
  total="$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")"
  bad="$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")"
  count "unit tests" $((total - bad)) "$bad"
  [ "$bad" -eq 0 ] || grep -E '^\s*[0-9]+ - |Failure|Expected|Which is' "$logs/unit.log" | head -40
else
  stage_error "unit tests" "$logs/unit.log"
fi

# The shipped program, checked from its file (no 32-bit program runs here).
bash scripts/check-deliverables.sh build/win32 >"$logs/deliverables.log" 2>&1
cat "$logs/deliverables.log"
line="$(grep -E '^deliverables: ' "$logs/deliverables.log")"
count "deliverables" "$(awk '{print $2}' <<<"$line")" "$(awk '{print $4}' <<<"$line")"

# Windows tests under wine64 on a virtual display, in a prefix of their own.
export ORB_WINEPREFIX="$HOME/.cache/menuhost/wine-tests"
source scripts/wine-env.sh
orb_display
orb_wine_prefix
# One server for the whole run: programs started while a lingering server is
# shutting down can stall. This prefix is ours alone, so ending its server is safe.
/usr/lib/wine/wineserver -p >/dev/null 2>&1 || true
trap '/usr/lib/wine/wineserver -k >/dev/null 2>&1; orb_display_stop' EXIT

(cd /tmp && timeout 600 "$WINE" "$root/build/win64/tests/win/win_tests.exe") >"$logs/win.log" 2>&1
ok="$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\..*/\1/p' "$logs/win.log")"
bad="$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?,.*/\1/p' "$logs/win.log")"
if [ -n "$ok$bad" ]; then
  ran="$(sed -nE 's/^\[==========\] ([0-9]+) tests? from.*ran.*/\1/p' "$logs/win.log")"
  bad="${bad:-0}"
  count "windows tests" $((ran - bad)) "$bad"
  [ "$bad" -eq 0 ] || grep -E 'FAILED|Failure|Expected|Which is' "$logs/win.log" | head -30
else
  stage_error "windows tests" "$logs/win.log"
fi

ORB_NATIVE_BUILD="$root/build/native" ORB_WIN64_BUILD="$root/build/win64" \
  timeout 1800 python3 tests/e2e/run.py >"$logs/e2e.log" 2>&1
line="$(grep -E '^e2e: [0-9]+ passed' "$logs/e2e.log")"
if [ -n "$line" ]; then
  count "end-to-end" "$(awk '{print $2}' <<<"$line")" "$(awk '{print $4}' <<<"$line")"
  grep -qE '^e2e: [0-9]+ passed, 0 failed' <<<"$line" || grep -E '^(FAIL|ERROR)|Error|assert' "$logs/e2e.log" | head -30
else
  stage_error "end-to-end" "$logs/e2e.log"
fi

# Bounded fuzzing runs over the readers of untrusted bytes.
fuzz_targets=(container_fuzz picture_fuzz audio_fuzz)
if CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DORB_FUZZ=ON -DORB_BENCH=OFF -DORB_TESTS=OFF \
  >"$logs/fuzz-build.log" 2>&1 && cmake --build build/fuzz --target "${fuzz_targets[@]}" >>"$logs/fuzz-build.log" 2>&1; then
  for target in "${fuzz_targets[@]}"; do
    work="$(mktemp -d)"
    cp fuzz/corpus/* "$work/" 2>/dev/null || true
    if "build/fuzz/fuzz/$target" "$work" -dict=fuzz/container.dict -max_total_time="$FUZZ_SECONDS" \
      -rss_limit_mb=2048 -timeout=10 -max_len=65536 -print_final_stats=1 >"$logs/$target.log" 2>&1; then
      count "$target ${FUZZ_SECONDS}s" 1 0
    else
      count "$target ${FUZZ_SECONDS}s" 0 1
      grep -E 'ERROR|SUMMARY|Test unit written' "$logs/$target.log" | head -10
    fi
    rm -rf "$work"
  done
else
  stage_error "fuzzing" "$logs/fuzz-build.log"
fi

[ ${#stage_failed[@]} -eq 0 ] || echo "failing stages: ${stage_failed[*]} (logs in $logs)"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
