#!/usr/bin/env bash
# ./run.sh [Hooptally|Hoopledger] [args...]: set up, build (Release) and start a program.
# The program runs in the caller's folder, so relative paths among the arguments name what the caller
# means.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
program="Hooptally"
if [ $# -gt 0 ] && { [ "$1" = "Hooptally" ] || [ "$1" = "Hoopledger" ]; }; then
    program="$1"
    shift
fi
if [ -z "${QT_QPA_PLATFORM:-}" ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "$program needs a desktop session (DISPLAY or WAYLAND_DISPLAY), or QT_QPA_PLATFORM=offscreen to run without one." >&2
    exit 1
fi
"$root/scripts/deps.sh"
build="$root/build/release"
# A configured build folder configures itself again when a CMakeLists.txt changes.
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
# Both programs, whichever starts: each starts the other from the folder they share.
cmake --build "$build" --target Hooptally Hoopledger
exec "$build/bin/$program" "$@"
