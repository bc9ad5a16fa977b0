#!/usr/bin/env bash
# ./run.sh [Hooptally|Hoopledger] [args...]: set up, build (Release) and start a program.
set -euo pipefail
cd "$(dirname "$0")"
program="Hooptally"
if [ $# -gt 0 ] && { [ "$1" = "Hooptally" ] || [ "$1" = "Hoopledger" ]; }; then
    program="$1"
    shift
fi
scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target "$program"
exec "build/release/bin/$program" "$@"
