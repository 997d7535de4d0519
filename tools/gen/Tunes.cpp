// SPDX-License-Identifier: GPL-3.0-or-later
// The game's music: instruments, loop rendering and the five compositions.
#include "Tunes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

#include "Random.h"

namespace gen {

namespace {

// ---- instruments: each adds one note into a mono buffer starting at sample `at` ----

double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// A band-limited sawtooth oscillator.
class Saw final {
public:
    double Next(double hz) {
        const double dt = hz / kRate;
        double v = 2.0 * m_Phase - 1.0 - PolyBlep(m_Phase, dt);
        m_Phase += dt;
        if (m_Phase >= 1.0) m_Phase -= 1.0;
        return v;
    }
    void SetPhase(double p) { m_Phase = p; }

private:
    double m_Phase = 0;
};

void Add(Mono& out, size_t i, double v) {
    if (i < out.size()) out[i] += static_cast<float>(v);
}

void PlayPluck(Mono& out, size_t at, double hz, double held, double vel, unsigned seed) {
    // Karplus-Strong string: a burst of filtered noise circulating in a tuned delay line.
    const size_t period = std::max<size_t>(2, static_cast<size_t>(kRate / hz));
    std::vector<double> line(period);
    Noise noise(seed);
    LowPass soften;
    soften.SetCutoff(2500 + 3000 * vel);
    for (double& s : line) s = soften.Process(noise.Next());
    const size_t total = static_cast<size_t>((held + 0.9) * kRate);
    const double releaseStart = held * kRate;
    double prev = 0;
    for (size_t n = 0; n < total; ++n) {
        const size_t k = n % period;
        const double cur = line[k];
        const double damping = n > releaseStart ? 0.95 : 0.996;
        line[k] = damping * 0.5 * (cur + prev);
        prev = cur;
        const double fadeIn = std::min(1.0, n / 40.0);
        Add(out, at + n, vel * 0.8 * cur * fadeIn);
    }
}

void PlayBell(Mono& out, size_t at, double hz, double held, double vel) {
    const double length = std::max(held, 0.3) + 1.4;
    const size_t total = static_cast<size_t>(length * kRate);
    for (size_t n = 0; n < total; ++n) {
        const double t = n / kRate;
        const double index = 1.8 * std::exp(-t * 5);
        const double mod = std::sin(2 * M_PI * hz * 3.5 * t) * index;
        const double env = std::min(1.0, t / 0.004) * std::exp(-t * 2.6);
        Add(out, at + n, vel * 0.5 * env * (std::sin(2 * M_PI * hz * t + mod) + 0.2 * std::sin(4 * M_PI * hz * t)));
    }
}

void PlayPad(Mono& out, size_t at, double hz, double held, double vel, bool strings, unsigned seed) {
    const double attack = strings ? 0.25 : 0.4, release = strings ? 0.5 : 0.9;
    const size_t total = static_cast<size_t>((held + release) * kRate);
    Saw a, b, c;
    Noise n0(seed);
    a.SetPhase(0.5 + 0.5 * n0.Next());
    b.SetPhase(0.5 + 0.5 * n0.Next());
    c.SetPhase(0.5 + 0.5 * n0.Next());
    StateVariable filter;
    filter.Set(strings ? 2200 : 1100, 0.8);
    for (size_t n = 0; n < total; ++n) {
        const double t = n / kRate;
        const double vib = strings ? 1 + 0.004 * std::sin(2 * M_PI * 5.2 * t) * std::min(1.0, t / 0.4) : 1;
        const double s = a.Next(hz * 0.996 * vib) + b.Next(hz * 1.004 * vib) + 0.6 * c.Next(hz * 2.002 * vib);
        filter.Process(s);
        const double env = Adsr(t, held, attack, 0.3, 0.85, release);
        Add(out, at + n, vel * 0.22 * env * filter.Low());
    }
}

void PlayBass(Mono& out, size_t at, double hz, double held, double vel) {
    const size_t total = static_cast<size_t>((held + 0.12) * kRate);
    Saw saw;
    LowPass lp;
    double phase = 0;
    for (size_t n = 0; n < total; ++n) {
        const double t = n / kRate;
        lp.SetCutoff(300 + 1200 * std::exp(-t * 12));
        phase += 2 * M_PI * hz / kRate;
        const double s = std::sin(phase) + 0.5 * lp.Process(saw.Next(hz));
        const double env = Adsr(t, held, 0.005, 0.25, 0.6, 0.1);
        Add(out, at + n, vel * 0.6 * env * s);
    }
}

void PlayFlute(Mono& out, size_t at, double hz, double held, double vel, unsigned seed) {
    const size_t total = static_cast<size_t>((held + 0.15) * kRate);
    Noise breath(seed);
    LowPass breathFilter;
    breathFilter.SetCutoff(3000);
    double phase = 0;
    for (size_t n = 0; n < total; ++n) {
        const double t = n / kRate;
        const double vib = 1 + 0.006 * std::sin(2 * M_PI * 5.5 * t) * std::clamp((t - 0.15) / 0.3, 0.0, 1.0);
        phase += 2 * M_PI * hz * vib / kRate;
        const double tone = std::sin(phase) + 0.25 * std::sin(2 * phase) + 0.08 * std::sin(3 * phase);
        const double env = Adsr(t, held, 0.04, 0.1, 0.85, 0.12);
        Add(out, at + n, vel * 0.4 * env * (tone + 0.06 * breathFilter.Process(breath.Next())));
    }
}

void PlayBrass(Mono& out, size_t at, double hz, double held, double vel) {
    const size_t total = static_cast<size_t>((held + 0.15) * kRate);
    Saw a, b;
    b.SetPhase(0.3);
    StateVariable filter;
    for (size_t n = 0; n < total; ++n) {
        const double t = n / kRate;
        const double env = Adsr(t, held, 0.03, 0.2, 0.75, 0.12);
        filter.Set(500 + 2600 * env * vel, 0.9);
        filter.Process(a.Next(hz * 0.998) + b.Next(hz * 1.003));
        Add(out, at + n, vel * 0.3 * env * filter.Low());
    }
}

void PlayKick(Mono& out, size_t at, double vel) {
    double phase = 0;
    const size_t total = static_cast<size_t>(0.3 * kRate);
    for (size_t n = 0; n < total; ++n) {
        const double t = n / kRate;
        phase += 2 * M_PI * (48 + 110 * std::exp(-t * 30)) / kRate;
        Add(out, at + n, vel * 0.9 * std::exp(-t * 11) * std::sin(phase));
    }
}

void PlaySnare(Mono& out, size_t at, double vel, unsigned seed) {
    Noise noise(seed);
    StateVariable filter;
    filter.Set(3500, 0.7);
    const size_t total = static_cast<size_t>(0.2 * kRate);
    for (size_t n = 0; n < total; ++n) {
        const double t = n / kRate;
        filter.Process(noise.Next());
        const double body = std::sin(2 * M_PI * 185 * t) * std::exp(-t * 30);
        Add(out, at + n, vel * (0.45 * filter.Band() * std::exp(-t * 18) + 0.35 * body));
    }
}

void PlayHat(Mono& out, size_t at, double vel, double decay, unsigned seed) {
    Noise noise(seed);
    StateVariable filter;
    filter.Set(8000, 0.7);
    const size_t total = static_cast<size_t>(decay * 6 * kRate);
    for (size_t n = 0; n < total; ++n) {
        const double t = n / kRate;
        filter.Process(noise.Next());
        Add(out, at + n, vel * 0.25 * filter.High() * std::exp(-t / decay));
    }
}

void PlayShaker(Mono& out, size_t at, double vel, unsigned seed) {
    Noise noise(seed);
    StateVariable filter;
    filter.Set(6000, 1.5);
    const size_t total = static_cast<size_t>(0.09 * kRate);
    for (size_t n = 0; n < total; ++n) {
        const double t = n / kRate;
        filter.Process(noise.Next());
        const double env = std::min(1.0, t / 0.02) * std::exp(-t * 40);
        Add(out, at + n, vel * 0.3 * filter.Band() * env);
    }
}

void PlayNote(Mono& out, Voice voice, size_t at, const Note& note, double secondsPerBeat, unsigned seed) {
    const double hz = MidiToHz(note.pitch);
    const double held = note.length * secondsPerBeat;
    switch (voice) {
        case Voice::Pluck:
            PlayPluck(out, at, hz, held, note.velocity, seed);
            break;
        case Voice::Bell:
            PlayBell(out, at, hz, held, note.velocity);
            break;
        case Voice::Pad:
            PlayPad(out, at, hz, held, note.velocity, false, seed);
            break;
        case Voice::Strings:
            PlayPad(out, at, hz, held, note.velocity, true, seed);
            break;
        case Voice::Bass:
            PlayBass(out, at, hz, held, note.velocity);
            break;
        case Voice::Flute:
            PlayFlute(out, at, hz, held, note.velocity, seed);
            break;
        case Voice::Brass:
            PlayBrass(out, at, hz, held, note.velocity);
            break;
        case Voice::Kick:
            PlayKick(out, at, note.velocity);
            break;
        case Voice::Snare:
            PlaySnare(out, at, note.velocity, seed);
            break;
        case Voice::Hat:
            PlayHat(out, at, note.velocity, 0.012, seed);
            break;
        case Voice::Shaker:
            PlayShaker(out, at, note.velocity, seed);
            break;
    }
}

}  // namespace

Stereo RenderLoop(const Song& song, bool master) {
    const double secondsPerBeat = 60.0 / song.bpm;
    const size_t loop = static_cast<size_t>(std::lrint(song.beats * secondsPerBeat * kRate));
    const size_t tail = static_cast<size_t>(4.0 * kRate);
    Stereo mix(loop + tail);
    unsigned seed = 1;
    for (const Part& part : song.parts) {
        Mono voice(loop + tail, 0.0f);
        for (const Note& note : part.notes) {
            const size_t at = static_cast<size_t>(std::lrint(note.beat * secondsPerBeat * kRate));
            PlayNote(voice, part.voice, at, note, secondsPerBeat, seed++);
        }
        const double left = part.gain * std::sqrt(0.5 * (1 - part.pan));
        const double right = part.gain * std::sqrt(0.5 * (1 + part.pan));
        for (size_t i = 0; i < voice.size(); ++i) {
            mix.left[i] += static_cast<float>(voice[i] * left);
            mix.right[i] += static_cast<float>(voice[i] * right);
        }
    }
    AddReverb(mix, 0.75, 0.4, song.reverb);
    // Fold what rings past the end onto the start: the loop then continues into itself.
    Stereo out(loop);
    for (size_t i = 0; i < loop + tail; ++i) {
        out.left[i % loop] += mix.left[i];
        out.right[i % loop] += mix.right[i];
    }
    if (!master) return out;
    Normalise(out, 1.0);
    for (size_t i = 0; i < loop; ++i) {
        out.left[i] = static_cast<float>(0.89 * SoftClip(out.left[i] * 1.1));
        out.right[i] = static_cast<float>(0.89 * SoftClip(out.right[i] * 1.1));
    }
    return out;
}

namespace {

// ---- composing helpers ----

struct Key {
    int root;                 // MIDI note of degree 0
    std::array<int, 7> mode;  // semitones of the seven degrees
};
constexpr std::array<int, 7> kMajor = {0, 2, 4, 5, 7, 9, 11};
constexpr std::array<int, 7> kMinor = {0, 2, 3, 5, 7, 8, 10};
constexpr std::array<int, 7> kDorian = {0, 2, 3, 5, 7, 9, 10};
constexpr std::array<int, 7> kHarmonicMinor = {0, 2, 3, 5, 7, 8, 11};

int Pitch(const Key& key, int degree) {
    const int octave = (degree >= 0) ? degree / 7 : -((-degree + 6) / 7);
    const int step = degree - octave * 7;
    return key.root + 12 * octave + key.mode[static_cast<size_t>(step)];
}

bool IsChordTone(int degree, int chordRoot) {
    const int d = ((degree - chordRoot) % 7 + 7) % 7;
    return d == 0 || d == 2 || d == 4;
}

// The chord tone of `chordRoot` nearest to `degree`.
int NearestChordTone(int degree, int chordRoot) {
    for (int delta = 0; delta < 4; ++delta) {
        if (IsChordTone(degree - delta, chordRoot)) return degree - delta;
        if (IsChordTone(degree + delta, chordRoot)) return degree + delta;
    }
    return degree;
}

// A phrase's rhythm for one bar: note lengths in beats.
using Rhythm = std::vector<double>;

struct Composer {
    Key key;
    int beatsPerBar = 4;
    Song song;
    Rng rng{1};

    Part& NewPart(Voice voice, double gain, double pan) {
        song.parts.push_back({voice, gain, pan, {}});
        return song.parts.back();
    }

    // A melody over the bars of `chords`, starting at `startBar`, following a rhythm per bar.
    // Strong beats land on chord tones; the line moves mostly by step between them.
    std::vector<Note> Melody(const std::vector<int>& chords, const std::vector<Rhythm>& rhythms, int startBar,
                             int& degree, int low, int high, double velocity) {
        std::vector<Note> notes;
        for (size_t bar = 0; bar < chords.size(); ++bar) {
            double beat = (startBar + static_cast<int>(bar)) * beatsPerBar;
            const Rhythm& rhythm = rhythms[bar % rhythms.size()];
            double inBar = 0;
            for (size_t k = 0; k < rhythm.size(); ++k) {
                const bool strong = std::fmod(inBar, 2.0) == 0.0;
                const bool last = bar + 1 == chords.size() && k + 1 == rhythm.size();
                // Out of range the line turns back; the chord tone is chosen after that, so strong
                // beats always sound a note of the chord.
                auto keepInRange = [&](int d) { return d < low ? d + 2 : (d > high ? d - 2 : d); };
                if (last) {
                    degree = NearestChordTone(degree, chords[bar]);
                } else if (strong) {
                    const int step = rng.Range(-2, 2);
                    degree = NearestChordTone(keepInRange(degree + step), chords[bar]);
                } else {
                    const int step = rng.Range(0, 9) < 7 ? (rng.Range(0, 1) ? 1 : -1) : (rng.Range(0, 1) ? 2 : -2);
                    degree = keepInRange(degree + step);
                }
                const double accent = strong ? 1.0 : 0.85;
                if (rhythm[k] > 0) notes.push_back({beat, rhythm[k] * 0.92, Pitch(key, degree), velocity * accent});
                beat += std::abs(rhythm[k]);  // a negative length is a rest
                inBar += std::abs(rhythm[k]);
            }
        }
        return notes;
    }

    void Chords(Part& part, const std::vector<int>& chords, int startBar, int octave, double velocity, bool seventh) {
        for (size_t bar = 0; bar < chords.size(); ++bar) {
            const double beat = (startBar + static_cast<int>(bar)) * beatsPerBar;
            for (int k = 0; k < (seventh ? 4 : 3); ++k)
                part.notes.push_back(
                    {beat, double(beatsPerBar), Pitch(key, chords[bar] + 2 * k + 7 * octave), velocity});
        }
    }

    // Broken chords in even steps of `step` beats, rising then falling.
    void Arpeggio(Part& part, const std::vector<int>& chords, int startBar, int octave, double step, double velocity) {
        static const int shape[] = {0, 2, 4, 7, 9, 7, 4, 2};
        for (size_t bar = 0; bar < chords.size(); ++bar) {
            const double barStart = (startBar + static_cast<int>(bar)) * beatsPerBar;
            int i = 0;
            for (double b = 0; b < beatsPerBar - 1e-9; b += step, ++i) {
                const double accent = std::fmod(b, 1.0) == 0.0 ? 1.0 : 0.8;
                part.notes.push_back(
                    {barStart + b, step * 1.5, Pitch(key, chords[bar] + shape[i % 8] + 7 * octave), velocity * accent});
            }
        }
    }

    // Root on the downbeat, fifth in the middle, a walk towards the next chord at the end.
    void Bassline(Part& part, const std::vector<int>& chords, int startBar, double velocity, bool walking) {
        for (size_t bar = 0; bar < chords.size(); ++bar) {
            const double beat = (startBar + static_cast<int>(bar)) * beatsPerBar;
            const int root = chords[bar] - 14;
            const int next = chords[(bar + 1) % chords.size()] - 14;
            if (beatsPerBar == 3) {
                part.notes.push_back({beat, 1.8, Pitch(key, root), velocity});
                part.notes.push_back({beat + 2, 0.9, Pitch(key, root + 4), velocity * 0.8});
                continue;
            }
            part.notes.push_back({beat, 1.4, Pitch(key, root), velocity});
            part.notes.push_back({beat + 1.5, 0.4, Pitch(key, root), velocity * 0.7});
            part.notes.push_back({beat + 2, 0.9, Pitch(key, root + 4), velocity * 0.85});
            if (walking)
                part.notes.push_back({beat + 3, 0.9, Pitch(key, next + (next > root ? -1 : 1)), velocity * 0.8});
            else
                part.notes.push_back({beat + 3, 0.9, Pitch(key, root + 7), velocity * 0.75});
        }
    }

    void Drums(int fromBar, int bars, double intensity, bool halfTime) {
        Part& kick = NewPart(Voice::Kick, 0.45 * intensity, 0);
        Part& snare = NewPart(Voice::Snare, 1.4 * intensity, 0.1);
        Part& hat = NewPart(Voice::Hat, 0.4 * intensity, -0.25);
        for (int bar = fromBar; bar < fromBar + bars; ++bar) {
            const double b = bar * beatsPerBar;
            kick.notes.push_back({b, 0.5, 36, 1.0});
            if (!halfTime) kick.notes.push_back({b + 2.5, 0.5, 36, 0.7});
            kick.notes.push_back({b + (halfTime ? 2.5 : 2), 0.5, 36, 0.85});
            snare.notes.push_back({b + (halfTime ? 2 : 1), 0.5, 38, 0.9});
            if (!halfTime) snare.notes.push_back({b + 3, 0.5, 38, 0.9});
            if ((bar - fromBar) % 4 == 3) snare.notes.push_back({b + 3.75, 0.25, 38, 0.5});
            for (int k = 0; k < 8; ++k) hat.notes.push_back({b + k * 0.5, 0.25, 42, k % 2 ? 0.55 : 0.85});
        }
    }

    void Append(Part& part, const std::vector<Note>& notes) {
        part.notes.insert(part.notes.end(), notes.begin(), notes.end());
    }
};

std::vector<Note> Shift(std::vector<Note> notes, double beats) {
    for (Note& n : notes) n.beat += beats;
    return notes;
}

// Level music one: a cheerful, bouncing tune in F major.
Song Cheerful() {
    Composer c{{65, kMajor}, 4, {}, Rng(11)};
    c.song.bpm = 112;
    const std::vector<int> a = {0, 4, 5, 3, 0, 4, 3, 4};  // I V vi IV I V IV V
    const std::vector<int> b = {3, 4, 2, 5, 1, 4, 0, 4};  // IV V iii vi ii V I V
    const std::vector<Rhythm> rhythmA = {{1, 0.5, 0.5, 1, 1}, {1.5, 0.5, 2}, {0.5, 0.5, 0.5, 0.5, 1, 1}, {2, 1, 1}};
    const std::vector<Rhythm> rhythmB = {{1, 1, 0.5, 0.5, 1}, {3, 1}, {0.5, 0.5, 1, 0.5, 0.5, 1}, {1, 1, 2}};
    int degree = 7;
    const auto phraseA = c.Melody(a, rhythmA, 0, degree, 4, 13, 0.8);
    const auto phraseB = c.Melody(b, rhythmB, 8, degree, 5, 14, 0.8);
    Part& lead = c.NewPart(Voice::Flute, 0.55, 0.15);
    c.Append(lead, phraseA);
    c.Append(lead, phraseB);
    c.Append(lead, Shift(phraseA, 64));
    std::vector<int> all = a;
    all.insert(all.end(), b.begin(), b.end());
    all.insert(all.end(), a.begin(), a.end());
    Part& arp = c.NewPart(Voice::Pluck, 0.63, -0.35);
    c.Arpeggio(arp, all, 0, 0, 0.5, 0.7);
    Part& bass = c.NewPart(Voice::Bass, 0.4, 0);
    c.Bassline(bass, all, 0, 0.9, true);
    Part& pad = c.NewPart(Voice::Pad, 0.4, 0.3);
    c.Chords(pad, b, 8, 0, 0.6, false);
    Part& bells = c.NewPart(Voice::Bell, 0.22, 0.5);
    for (int bar = 16; bar < 24; ++bar) bells.notes.push_back({bar * 4.0 + 3.5, 0.5, Pitch(c.key, all[bar] + 14), 0.6});
    c.Drums(0, 24, 0.8, false);
    c.song.beats = 24 * 4;
    c.song.reverb = 0.25;
    return c.song;
}

// Level music two: a thoughtful, mysterious waltz in D dorian with bells over soft strings.
Song Mysterious() {
    Composer c{{62, kDorian}, 3, {}, Rng(23)};
    c.song.bpm = 120;
    const std::vector<int> a = {0, 3, 0, 3, 2, 6, 0, 4};  // i IV i IV III VII i v
    const std::vector<int> b = {2, 6, 3, 0, 1, 3, 4, 4};  // III VII IV i ii IV v v
    const std::vector<Rhythm> rhythmA = {{2, 1}, {1, 1, 1}, {3}, {1, 0.5, 0.5, 1}};
    const std::vector<Rhythm> rhythmB = {{1, 2}, {1, 1, 1}, {2, 1}, {3}};
    int degree = 4;
    const auto phraseA = c.Melody(a, rhythmA, 0, degree, 0, 9, 0.8);
    const auto phraseB = c.Melody(b, rhythmB, 8, degree, 2, 11, 0.8);
    Part& lead = c.NewPart(Voice::Bell, 0.6, 0.2);
    c.Append(lead, phraseA);
    c.Append(lead, phraseB);
    c.Append(lead, Shift(phraseA, 48));
    c.Append(lead, Shift(phraseB, 48));
    std::vector<int> all = a;
    all.insert(all.end(), b.begin(), b.end());
    all.insert(all.end(), a.begin(), a.end());
    all.insert(all.end(), b.begin(), b.end());
    Part& strings = c.NewPart(Voice::Strings, 0.35, -0.3);
    c.Chords(strings, all, 0, -1, 0.6, true);
    Part& bass = c.NewPart(Voice::Bass, 0.36, 0);
    c.Bassline(bass, all, 0, 0.85, false);
    Part& flute = c.NewPart(Voice::Flute, 0.3, -0.5);  // a counter-line in the second half
    int counter = 2;
    c.Append(flute, Shift(c.Melody(b, {{3}, {2, 1}}, 8, counter, -1, 6, 0.6), 48));
    Part& shaker = c.NewPart(Voice::Shaker, 1.3, 0.35);
    for (int beat = 0; beat < 32 * 3; ++beat) {
        shaker.notes.push_back({beat * 1.0, 0.2, 0, beat % 3 == 0 ? 0.9 : 0.55});
        shaker.notes.push_back({beat + 0.5, 0.2, 0, 0.35});
    }
    Part& kick = c.NewPart(Voice::Kick, 0.3, 0);
    for (int bar = 0; bar < 32; ++bar) kick.notes.push_back({bar * 3.0, 0.5, 36, 0.8});
    c.song.beats = 32 * 3;
    c.song.reverb = 0.4;
    return c.song;
}

// Level and title music three: an adventurous, driving tune in A minor.
Song Adventurous() {
    Composer c{{57, kMinor}, 4, {}, Rng(37)};
    c.song.bpm = 124;
    const std::vector<int> a = {0, 5, 2, 6, 0, 5, 3, 4};  // i VI III VII i VI iv v
    const std::vector<int> b = {5, 6, 2, 5, 3, 6, 4, 4};
    const std::vector<Rhythm> rhythmA = {{1.5, 0.5, 1, 1}, {0.5, 0.5, 0.5, 0.5, 2}, {1.5, 0.5, 1, 1}, {1, 1, 2}};
    const std::vector<Rhythm> rhythmB = {{2, 1, 1}, {1, 0.5, 0.5, 2}, {0.75, 0.75, 0.5, 2}, {4}};
    int degree = 11;
    const auto phraseA = c.Melody(a, rhythmA, 0, degree, 7, 15, 0.85);
    const auto phraseB = c.Melody(b, rhythmB, 8, degree, 9, 16, 0.9);
    Part& lead = c.NewPart(Voice::Brass, 0.7, 0.1);
    c.Append(lead, phraseA);
    c.Append(lead, phraseB);
    c.Append(lead, Shift(phraseA, 64));
    Part& echo = c.NewPart(Voice::Flute, 0.22, -0.45);  // the tune again, an octave up, in the last part
    for (Note n : phraseA) {
        n.beat += 64;
        n.pitch += 12;
        echo.notes.push_back(n);
    }
    std::vector<int> all = a;
    all.insert(all.end(), b.begin(), b.end());
    all.insert(all.end(), a.begin(), a.end());
    Part& strings = c.NewPart(Voice::Strings, 0.3, -0.3);
    c.Chords(strings, all, 0, -1, 0.6, false);
    Part& ostinato = c.NewPart(Voice::Pluck, 0.4, 0.4);
    for (size_t bar = 0; bar < all.size(); ++bar)
        for (int k = 0; k < 8; ++k)
            ostinato.notes.push_back(
                {bar * 4.0 + k * 0.5, 0.4, Pitch(c.key, all[bar] + (k % 2 ? 4 : 0)), k % 2 ? 0.6 : 0.8});
    Part& bass = c.NewPart(Voice::Bass, 0.42, 0);
    c.Bassline(bass, all, 0, 0.95, true);
    c.Drums(0, 24, 0.9, false);
    c.song.beats = 24 * 4;
    c.song.reverb = 0.3;
    return c.song;
}

// Level lost: slow and sombre in C minor, strings and a lonely bell falling to rest.
Song Sombre() {
    Composer c{{60, kHarmonicMinor}, 4, {}, Rng(41)};
    c.song.bpm = 66;
    const std::vector<int> chords = {0, 5, 3, 4};  // i VI iv V
    Part& strings = c.NewPart(Voice::Strings, 0.45, -0.2);
    c.Chords(strings, chords, 0, -1, 0.55, false);
    Part& bass = c.NewPart(Voice::Bass, 0.35, 0);
    for (int bar = 0; bar < 4; ++bar) bass.notes.push_back({bar * 4.0, 3.8, Pitch(c.key, chords[bar] - 14), 0.7});
    Part& bell = c.NewPart(Voice::Bell, 0.55, 0.25);
    const int line[] = {4, 3, 2, 2, 0, 1, -1, 0, 3, 2, 1, 0, -1, -2, -3, -1};
    for (int k = 0; k < 16; ++k)
        bell.notes.push_back({k * 1.0, 0.9, Pitch(c.key, 7 + line[k]), k % 4 == 0 ? 0.8 : 0.6});
    c.song.beats = 16;
    c.song.reverb = 0.5;
    return c.song;
}

// Level won: a short bright fanfare in B-flat major with brass, bells and drums.
Song Triumphant() {
    Composer c{{58, kMajor}, 4, {}, Rng(53)};
    c.song.bpm = 126;
    const std::vector<int> chords = {0, 3, 4, 0, 5, 3, 4, 0};
    Part& brass = c.NewPart(Voice::Brass, 0.55, 0.1);
    const double rhythm[][2] = {{0, 0.5}, {0.5, 0.5}, {1, 1}, {2, 2}};
    for (int bar = 0; bar < 8; ++bar) {
        const int root = chords[bar] + 7;
        const int shape[] = {0, 2, 4, bar % 4 == 3 ? 7 : 4};
        for (int k = 0; k < 4; ++k)
            brass.notes.push_back({bar * 4 + rhythm[k][0], rhythm[k][1] * 0.9, Pitch(c.key, root + shape[k]), 0.9});
    }
    Part& harmony = c.NewPart(Voice::Strings, 0.3, -0.3);
    c.Chords(harmony, chords, 0, -1, 0.6, false);
    Part& bells = c.NewPart(Voice::Bell, 0.3, 0.45);
    c.Arpeggio(bells, chords, 0, 1, 1.0, 0.6);
    Part& bass = c.NewPart(Voice::Bass, 0.36, 0);
    c.Bassline(bass, chords, 0, 0.9, false);
    c.Drums(0, 8, 0.85, false);
    c.song.beats = 8 * 4;
    c.song.reverb = 0.3;
    return c.song;
}

}  // namespace

Song ComposeTune(std::string_view file) {
    if (file == "puzzle1.mp3") return Cheerful();
    if (file == "puzzle2.mp3") return Mysterious();
    if (file == "puzzle3.mp3") return Adventurous();
    if (file == "puzzlel.mp3") return Sombre();
    if (file == "puzzlew.mp3") return Triumphant();
    throw std::runtime_error("no tune named " + std::string(file));
}

}  // namespace gen
