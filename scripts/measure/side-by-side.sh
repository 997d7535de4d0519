#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Side by side on this machine, in one run: one or more built Kindlewisp game folders (say a build
# of main and one of a branch) against Frozen Bubble 2, a peer game of the genre, all windowed
# under Xvfb of their own with dummy audio. For each, per round: time to window mapped, time to
# the first screen drawn (watched by first-screen.py) and the process's CPU by then, CPU over WIN
# seconds idling on the first screen (MODE menu) or in a level started from the menu with no
# further input (MODE play), RSS and peak RSS.
# Absolute figures vary from machine to machine and with load; compare rows of the same round.
# Usage: side-by-side.sh [-w WIN] [-r ROUNDS] [-m menu|play] GAME_FOLDER...
set -u
WIN=20; ROUNDS=3; MODE=menu
while getopts w:r:m: opt; do
  case $opt in w) WIN=$OPTARG ;; r) ROUNDS=$OPTARG ;; m) MODE=$OPTARG ;; *) exit 2 ;; esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { echo "usage: $0 [-w WIN] [-r ROUNDS] [-m menu|play] GAME_FOLDER..." >&2; exit 2; }
command -v Xvfb >/dev/null || apt-get install -y -qq xvfb xdotool x11-utils >/dev/null
command -v /usr/games/frozen-bubble >/dev/null || apt-get install -y -qq frozen-bubble >/dev/null
here=$(cd "$(dirname "$0")" && pwd)

# A display of our own, so no other window of the same name can answer for ours.
display=:$((200 + $$ % 500))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 & xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
for _ in $(seq 1 100); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.05; done
export DISPLAY=$display SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=x11
HZ=$(getconf CLK_TCK)
cpu() { awk '{print $14+$15}' "/proc/$1/stat"; }

one() { # label cwd window-title cmd...
  local label=$1 cwd=$2 title=$3; shift 3
  local t0 tm=NA td=NA cd=NA pid poller g0 g1 a b hwm rss
  python3 "$here/first-screen.py" "$title" >"/tmp/sbs-drawn-$$" & poller=$!
  sleep 0.3  # the poller's own start-up
  t0=$EPOCHREALTIME
  (cd "$cwd" && exec "$@") >"/tmp/sbs-$$.log" 2>&1 & pid=$!
  for _ in $(seq 1 500); do
    if xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; then tm=$EPOCHREALTIME; break; fi
    sleep 0.02
  done
  if wait $poller; then td=$(cat "/tmp/sbs-drawn-$$"); cd=$(cpu $pid); fi
  rm -f "/tmp/sbs-drawn-$$"
  sleep 5
  if [ "$MODE" = play ]; then
    xdotool mousemove 5 5; sleep 0.3
    if [ "$title" = Kindlewisp ]; then xdotool key Return; sleep 6
    else xdotool key Return; sleep 1.5; xdotool key Return; sleep 4; fi
  fi
  g0=$(cpu $pid); a=$EPOCHREALTIME
  sleep "$WIN"
  g1=$(cpu $pid); b=$EPOCHREALTIME
  hwm=$(awk '/VmHWM/{print $2}' "/proc/$pid/status"); rss=$(awk '/VmRSS/{print $2}' "/proc/$pid/status")
  kill $pid; wait $pid 2>/dev/null
  awk -v n="$label" -v mode=$MODE -v t0=$t0 -v tm=$tm -v td=$td -v cd=$cd -v g0=$g0 -v g1=$g1 -v a=$a -v b=$b \
    -v hz=$HZ -v hwm=$hwm -v rss=$rss \
    'BEGIN{printf "%-30s %s window %s s  drawn %s s (cpu %s s)  idle cpu %.1f %%  rss %.1f MiB  peak %.1f MiB\n", n, mode,
      (tm=="NA"?"NA":sprintf("%.3f", tm-t0)), (td=="NA"?"NA":sprintf("%.3f", td-t0)), (cd=="NA"?"NA":sprintf("%.2f", cd/hz)),
      100*(g1-g0)/hz/(b-a), rss/1024, hwm/1024}'
}

for r in $(seq 1 "$ROUNDS"); do
  echo "round $r  load $(cut -d' ' -f1-3 /proc/loadavg)"
  for folder in "$@"; do
    G=$(mktemp -d); cp -a "$folder/." "$G/"
    # Named by the source tree and commit it was built from, where that is known.
    tree=$(git -C "$folder" rev-parse --show-toplevel 2>/dev/null) && tree="$(basename "$tree")@$(git -C "$folder" rev-parse --short HEAD)"
    one "kindlewisp:${tree:-$(basename "$(dirname "$(realpath "$folder")")")}" "$G" Kindlewisp ./kindlewisp
    rm -rf "$G"
  done
  one frozenbubble /tmp "Frozen-Bubble" /usr/games/frozen-bubble --no-fullscreen --no-music
done
