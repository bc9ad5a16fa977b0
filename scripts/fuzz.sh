#!/usr/bin/env bash
# scripts/fuzz.sh [target] [seconds]: builds the libFuzzer targets of tests/fuzz with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer into build/fuzz, and runs each target (or the one
# named: gamefile, memberfile, inifile, stringlist) for the given seconds (default 600) from its seed
# corpus in tests/fuzz/corpus/<target>/ and its past findings in tests/fuzz/regressions/<target>/.
# New inputs go to build/fuzz/corpus/<target>/, findings
# (crash-*, timeout-*, slow-unit-*, oom-*) to build/fuzz/findings/<target>/. A finding is fixed in the
# code and its input copied to tests/fuzz/regressions/<target>/, which ctest replays (tst_fuzzreplay)
# and later runs start from. HOOP_FUZZ_ROUNDTRIP=1 also counts a game that does not come back the same
# through a saved game file as a finding. FUZZ_BUILD_JOBS limits the build (default 4).
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(gamefile memberfile inifile stringlist)
target="${1:-all}"
seconds="${2:-600}"
if [ "$target" != all ] && [[ ! " ${targets[*]} " == *" $target "* ]]; then
    echo "usage: $0 [all|$(IFS='|'; echo "${targets[*]}")] [seconds]" >&2
    exit 2
fi
[ "$target" = all ] || targets=("$target")

scripts/deps.sh
needed=(clang libclang-rt-14-dev)
missing=()
for p in "${needed[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "run as root: apt-get install ${missing[*]}" >&2; exit 1; }
        sudo="sudo"
    fi
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

build=build/fuzz
CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
    -DHOOP_SANITIZE=ON -DHOOP_FUZZ=ON >/dev/null
cmake --build "$build" -j "${FUZZ_BUILD_JOBS:-4}" --target "${targets[@]/#/fuzz_}"

export QT_QPA_PLATFORM=offscreen
# Leaks are checked once, at exit, over the whole run: the per-input check would re-scan the heap
# after every input (Qt's caches grow), making the run ten times slower. fontconfig keeps its
# configuration in memory nothing points at.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/fuzz/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

summary=()
for t in "${targets[@]}"; do
    corpus="$build/corpus/$t"
    findings="$build/findings/$t"
    mkdir -p "$corpus" "$findings"
    dict=()
    [ -f "tests/fuzz/$t.dict" ] && dict=(-dict="tests/fuzz/$t.dict")
    log="$build/fuzz-$t.log"
    echo "== $t for ${seconds}s (log: $log)"
    rc=0
    seeds=("tests/fuzz/corpus/$t")
    [ -d "tests/fuzz/regressions/$t" ] && seeds+=("tests/fuzz/regressions/$t")
    "$build/fuzz/fuzz_$t" "$corpus" "${seeds[@]}" "${dict[@]}" -max_total_time="$seconds" \
        -timeout=25 -rss_limit_mb=4096 -max_len=16384 -detect_leaks=0 -print_final_stats=1 \
        -artifact_prefix="$findings/" >"$log" 2>&1 || rc=$?
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
    found=$(find "$findings" -type f | wc -l)
    summary+=("$t: $runs executions, corpus $(find "$corpus" -type f | wc -l) inputs, $found findings, exit $rc")
    grep -E '^(finding:|==[0-9]+==ERROR|SUMMARY)' "$log" | head -5 || true
done
printf '%s\n' "${summary[@]}"
