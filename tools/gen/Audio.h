// SPDX-License-Identifier: GPL-3.0-or-later
// Sound building blocks for the sound and music generators: oscillators, envelopes, filters, a small
// reverb, and writers for 16-bit PCM WAV and for MP3 with the LAME info tag (gapless looping).
#pragma once

#include <cmath>
#include <filesystem>
#include <string_view>
#include <vector>

#include "shell/AssetTable.h"

namespace gen {

inline constexpr double kRate = assets::kSampleRate;

using Mono = std::vector<float>;
struct Stereo {
    Mono left, right;
    explicit Stereo(size_t frames = 0) : left(frames, 0.0f), right(frames, 0.0f) {}
    size_t Frames() const { return left.size(); }
};

// A small deterministic noise source (white, -1..1).
class Noise final {
public:
    explicit Noise(unsigned seed) : m_State(seed * 747796405u + 2891336453u) {}
    double Next() {
        m_State = m_State * 1664525u + 1013904223u;
        return (m_State >> 8) / double(1u << 23) - 1.0;
    }

private:
    unsigned m_State;
};

// One-pole low-pass; cutoff in Hz.
class LowPass final {
public:
    void SetCutoff(double hz) { m_K = 1.0 - std::exp(-2.0 * M_PI * hz / kRate); }
    double Process(double x) { return m_Y += m_K * (x - m_Y); }

private:
    double m_K = 1.0, m_Y = 0.0;
};

// Chamberlin state-variable filter: low, band and high outputs of one input.
class StateVariable final {
public:
    void Set(double hz, double q) {
        m_F = 2.0 * std::sin(M_PI * std::min(hz, kRate / 6) / kRate);
        m_Q = 1.0 / q;
    }
    void Process(double x) {
        m_Low += m_F * m_Band;
        m_High = x - m_Low - m_Q * m_Band;
        m_Band += m_F * m_High;
    }
    double Low() const { return m_Low; }
    double Band() const { return m_Band; }
    double High() const { return m_High; }

private:
    double m_F = 0.1, m_Q = 1.0, m_Low = 0, m_Band = 0, m_High = 0;
};

// Attack-decay-sustain-release, times in seconds; `held` is how long the note is held.
double Adsr(double t, double held, double attack, double decay, double sustain, double release);

double MidiToHz(double midi);
double SoftClip(double x);

// Schroeder-style reverb added in place; `wet` is the level of the reverberated signal.
void AddReverb(Stereo& audio, double roomSize, double damping, double wet);
// Scales so the loudest sample sits at `peak`.
void Normalise(Mono& audio, double peak);
void Normalise(Stereo& audio, double peak);

void WriteWav(const std::filesystem::path& path, const Mono& audio);
// 128 kbps joint-stereo MP3 with the info tag written over the stream's first frame, so decoders
// that read it drop the encoder's delay and padding and the loop joins without a gap.
void WriteMp3(const std::filesystem::path& path, const Stereo& audio);

}  // namespace gen
