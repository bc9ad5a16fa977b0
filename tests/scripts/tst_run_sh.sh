#!/usr/bin/env bash
# run.sh builds both programs, configures a build folder only once and starts the program asked for
# with its arguments. cmake, the package set-up and the programs are stand-ins that log their calls.
set -euo pipefail
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/root/scripts" "$work/bin"
cp "$1" "$work/root/run.sh"
printf '#!/bin/sh\n' >"$work/root/scripts/deps.sh"
chmod +x "$work/root/scripts/deps.sh"
cat >"$work/bin/cmake" <<'EOF'
#!/usr/bin/env bash
echo "cmake $*" >>"$CALLS"
if [ "$1" = "-S" ]; then mkdir -p "$4" && touch "$4/build.ninja"; fi
if [ "$1" = "--build" ]; then
    mkdir -p "$2/bin"
    for program in Hooptally Hoopledger; do
        printf '#!/bin/sh\necho "%s${*:+ $*}" >>"$CALLS"\n' "$program" >"$2/bin/$program"
        chmod +x "$2/bin/$program"
    done
fi
EOF
chmod +x "$work/bin/cmake"
export CALLS="$work/calls" PATH="$work/bin:$PATH" QT_QPA_PLATFORM=offscreen
cd "$work"
root/run.sh Hoopledger
root/run.sh 試合 1.game
build="$work/root/build/release"
diff -u - "$CALLS" <<EOF
cmake -S $work/root -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build $build --target Hooptally Hoopledger
Hoopledger
cmake --build $build --target Hooptally Hoopledger
Hooptally 試合 1.game
EOF
