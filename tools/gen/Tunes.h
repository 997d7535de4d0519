// SPDX-License-Identifier: GPL-3.0-or-later
// The game's music: a tiny score format (parts of notes in beats), the instruments that play it, and
// the five compositions. A song renders as an exact loop: whatever rings past the end (note tails,
// reverb) is folded back onto the beginning, so the last bar flows into the first without a gap.
#pragma once

#include <string_view>
#include <vector>

#include "Audio.h"

namespace gen {

enum class Voice { Pluck, Bell, Pad, Strings, Bass, Flute, Brass, Kick, Snare, Hat, Shaker };

struct Note {
    double beat;    // start, in beats from the top of the loop
    double length;  // held for this many beats
    int pitch;      // MIDI note number (drums ignore it)
    double velocity;
};

struct Part {
    Voice voice;
    double gain;
    double pan;  // -1 left .. +1 right
    std::vector<Note> notes;
};

struct Song {
    double bpm = 120;
    double beats = 0;  // loop length
    double reverb = 0.3;
    std::vector<Part> parts;
};

// Renders the song as a seamless loop of exactly its length. `master` normalises and gently limits
// the mix; without it the parts keep their raw levels, for comparing them.
Stereo RenderLoop(const Song& song, bool master = true);

// The five tunes by file name (puzzle1.mp3 ... puzzlew.mp3); throws for an unknown name.
Song ComposeTune(std::string_view file);

}  // namespace gen
