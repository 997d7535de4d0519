#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Screenshots of the game's screens from the scripted runner, to compare two builds pixel by pixel.
# Usage: screens.sh REPLAY GAME_FOLDER OUT_DIR      (e.g. build/test/tools/replay/kindlewisp-replay
#        build/test/kindlewisp /tmp/after), then: screens.sh --compare DIR_A DIR_B
# Each screens/NAME.kws runs in a fresh copy of the game folder; NAME.level1.dat, when present,
# becomes that copy's override/level1.dat.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
if [ "$1" = --compare ]; then
  status=0
  for a in "$2"/*.png; do
    b="$3/$(basename "$a")"
    if ! cmp -s "$a" "$b"; then echo "differs: $(basename "$a")"; status=1; fi
  done
  [ $status = 0 ] && echo "all $(ls "$2"/*.png | wc -l) screenshots identical"
  exit $status
fi
replay=$(realpath "$1"); game=$(realpath "$2"); out=$(realpath -m "$3")
mkdir -p "$out"
for script in "$here"/screens/*.kws; do
  name=$(basename "$script" .kws)
  copy=$(mktemp -d)
  cp -a "$game/." "$copy/"
  if [ -f "$here/screens/$name.level1.dat" ]; then cp "$here/screens/$name.level1.dat" "$copy/game/override/level1.dat"; fi
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$replay" --game-dir "$copy" --out "$out" "$script" >/dev/null
  rm -rf "$copy"
done
ls "$out"
