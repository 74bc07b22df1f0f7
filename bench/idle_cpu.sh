#!/usr/bin/env bash
# CPU share of the player showing a static scene: runs the Release player on
# the bundled demo for SECONDS (default 5) and prints the share of one core
# its process used (all threads, from /proc), after three seconds of start-up.
#   bench/idle_cpu.sh [SECONDS]          headless (SDL's dummy video driver)
#   bench/idle_cpu.sh --x11 [SECONDS]    on X11: $DISPLAY, or a virtual screen of
#                                        $SCREEN (default 1024x768x24: the window at zoom 1;
#                                        1280x1024x24 gives zoom 2)
# Build first: cmake --build build/release --target tovaro demo
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
mode=headless
if [ "${1:-}" = "--x11" ]; then mode=x11; shift; fi
secs="${1:-5}"
player="$root/build/release/tovaro"
demo="$root/build/release/demo"
[ -x "$player" ] && [ -d "$demo" ] || { echo "build the player and the demo first (see the top of $0)" >&2; exit 1; }
if [ "$mode" = x11 ] && [ -z "${DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "no DISPLAY and no xvfb-run (apt-get install -y xvfb)" >&2; exit 1; }
  exec xvfb-run -a -s "-screen 0 ${SCREEN:-1024x768x24}" "$0" --x11 "$secs"
fi
# The player works in a copy of the demo (it writes its user files there).
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -r "$demo" "$work/game"
if [ "$mode" = headless ]; then export SDL_VIDEODRIVER=dummy; fi
export SDL_AUDIODRIVER=dummy
"$player" "$work/game" >/dev/null 2>&1 &
pid=$!
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
sleep 3  # start-up (fonts, pictures) done
kill -0 "$pid" 2>/dev/null || { echo "the player ended early" >&2; exit 1; }
t0=$(ticks); s0=$(date +%s.%N)
sleep "$secs"
t1=$(ticks); s1=$(date +%s.%N)
threads=$(ls "/proc/$pid/task" | wc -l)
kill -TERM "$pid"
wait "$pid" 2>/dev/null || true
awk -v t="$((t1 - t0))" -v hz="$(getconf CLK_TCK)" -v s0="$s0" -v s1="$s1" -v m="$mode" -v n="$threads" \
  'BEGIN { printf "%s: %.1f %% of one core over %.1f s (%d threads)\n", m, 100 * t / hz / (s1 - s0), s1 - s0, n }'
