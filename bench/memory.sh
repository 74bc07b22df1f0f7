#!/usr/bin/env bash
# Peak resident memory of the player on the demo game: builds the Release
# player, starts it headless on the demo, asks it to close after a few
# seconds (SIGTERM is a close request) and prints the figure /usr/bin/time
# reports (the largest of the processes it waited for). The target is at most 150 MB.
#   bench/memory.sh [SECONDS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-5}"
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOVARO_BENCH=OFF >/dev/null
cmake --build "$build" --parallel 4 --target tovaro demo >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -r "$build/demo" "$work/game"
log="$work/time.txt"
set +e
SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-offscreen}" SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" \
  /usr/bin/time -v -o "$log" timeout --preserve-status -s TERM "$seconds" "$build/tovaro" "$work/game"
status=$?
set -e
kb="$(sed -n 's/.*Maximum resident set size (kbytes): *//p' "$log")"
echo "exit status: $status"
echo "peak resident memory: $((kb / 1024)) MB ($kb kB)"
if [ "$kb" -gt $((150 * 1024)) ]; then
  echo "above the 150 MB target" >&2
  exit 1
fi
