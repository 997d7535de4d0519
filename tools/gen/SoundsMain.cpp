// SPDX-License-Identifier: GPL-3.0-or-later
// The sound-effect generator: kw_gen_sounds OUTDIR synthesises the seven effects as 16-bit mono WAV.
// Each effect is a small function named after the sound it makes.
#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "Audio.h"

namespace gen {
namespace {

size_t Samples(double seconds) { return static_cast<size_t>(seconds * kRate); }

// Every effect starts and ends in silence, so it never clicks when it starts or stops.
Mono Faded(Mono audio) {
    const size_t in = std::min(audio.size() / 4, Samples(0.0005));
    const size_t out = std::min(audio.size() / 4, Samples(0.012));
    for (size_t i = 0; i < in; ++i) audio[i] *= static_cast<float>(i) / in;
    for (size_t i = 0; i < out; ++i) audio[audio.size() - 1 - i] *= static_cast<float>(i) / out;
    return audio;
}

// A short soft puff of air as an orb leaves the dragon.
Mono Shoot() {
    Mono out(Samples(0.18));
    Noise noise(1);
    StateVariable filter;
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = i / kRate;
        filter.Set(1600 * std::exp(-t * 14) + 350, 1.2);
        filter.Process(noise.Next());
        const double env = std::min(1.0, t / 0.006) * std::exp(-t * 26);
        phase += 2 * M_PI * (190 * std::exp(-t * 9) + 90) / kRate;
        out[i] = static_cast<float>(env * (0.8 * filter.Band() + 0.45 * std::sin(phase)));
    }
    Normalise(out, 0.7);
    return out;
}

// A whooshing flame: swept noise with a low roar and a few crackles.
Mono FireballWhoosh() {
    Mono out(Samples(0.7));
    Noise noise(2), crackle(3);
    StateVariable sweep;
    LowPass roar;
    roar.SetCutoff(180);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = i / kRate;
        const double p = t / 0.7;
        sweep.Set(400 + 2600 * std::sin(M_PI * std::min(1.0, p * 1.3)), 2.0);
        const double n = noise.Next();
        sweep.Process(n);
        const double env = std::sin(M_PI * std::pow(p, 0.6)) * (1 - p * 0.3);
        double s = 0.7 * sweep.Band() + 1.4 * roar.Process(n);
        if (crackle.Next() > 0.9975) s += crackle.Next() * 1.5;
        out[i] = static_cast<float>(env * s);
    }
    Normalise(out, 0.75);
    return out;
}

// A crackle of orbs burning: snapping sparks over a soft hiss.
Mono Burn() {
    Mono out(Samples(0.55));
    Noise noise(4), pops(5);
    StateVariable hiss;
    hiss.Set(3000, 0.8);
    double popEnv = 0, popSign = 1;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = i / kRate;
        hiss.Process(noise.Next());
        const double density = 0.996 + 0.0035 * (t / 0.55);
        if (pops.Next() > density) {
            popEnv = 0.6 + 0.4 * std::abs(pops.Next());
            popSign = pops.Next() > 0 ? 1 : -1;
        }
        popEnv *= 0.985;
        const double env = std::min(1.0, t / 0.01) * std::exp(-t * 5.5);
        out[i] = static_cast<float>(env * (0.35 * hiss.Band() + popSign * popEnv * noise.Next()));
    }
    Normalise(out, 0.7);
    return out;
}

// One bell strike: a simple FM pair with a fading brightness.
void Bell(Mono& out, double start, double hz, double length, double gain) {
    const size_t from = Samples(start);
    for (size_t i = from; i < out.size() && i < from + Samples(length); ++i) {
        const double t = (i - from) / kRate;
        const double index = 2.5 * std::exp(-t * 7);
        const double mod = std::sin(2 * M_PI * hz * 3.5 * t) * index;
        const double env = std::min(1.0, t / 0.003) * std::exp(-t * 4.5);
        out[i] += static_cast<float>(gain * env * std::sin(2 * M_PI * hz * t + mod));
    }
}

// A bright rising chime.
Mono Bonus() {
    Mono out(Samples(1.1));
    const double notes[] = {72, 76, 79, 84, 88};  // C major arpeggio up to E
    for (int i = 0; i < 5; ++i) Bell(out, i * 0.07, MidiToHz(notes[i]), 1.0 - i * 0.07, 0.6 + 0.1 * i);
    Normalise(out, 0.7);
    return out;
}

// A falling, sour tone: two voices a tritone apart sliding down together.
Mono Penalty() {
    Mono out(Samples(0.75));
    double a = 0, b = 0;
    LowPass tone;
    tone.SetCutoff(1800);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = i / kRate;
        const double hz = 330 * std::pow(0.5, t / 0.6);
        a += 2 * M_PI * hz / kRate;
        b += 2 * M_PI * hz * 1.4142 / kRate;
        const double wobble = 1 + 0.04 * std::sin(2 * M_PI * 7 * t);
        const double square = std::tanh(3 * std::sin(a * wobble)) + 0.7 * std::tanh(3 * std::sin(b));
        const double env = std::min(1.0, t / 0.01) * (1 - t / 0.75);
        out[i] = static_cast<float>(env * tone.Process(square));
    }
    Normalise(out, 0.6);
    return out;
}

// A short neutral blip.
Mono PauseBlip() {
    Mono out(Samples(0.11));
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = i / kRate;
        const double env = std::min(1.0, t / 0.004) * std::exp(-t * 30);
        out[i] = static_cast<float>(env * (std::sin(2 * M_PI * 880 * t) + 0.25 * std::sin(2 * M_PI * 1760 * t)));
    }
    Normalise(out, 0.55);
    return out;
}

// A crisp click.
Mono ButtonClick() {
    Mono out(Samples(0.045));
    Noise noise(6);
    StateVariable body;
    body.Set(2400, 3.0);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = i / kRate;
        body.Process(noise.Next());
        const double env = std::exp(-t * 160);
        out[i] = static_cast<float>(env * (body.Band() * 1.5 + 0.5 * std::sin(2 * M_PI * 1300 * t)));
    }
    Normalise(out, 0.65);
    return out;
}

}  // namespace
}  // namespace gen

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: kw_gen_sounds OUTDIR\n";
        return 2;
    }
    const std::filesystem::path out = argv[1];
    try {
        std::filesystem::create_directories(out);
        gen::WriteWav(out / "shoot.wav", gen::Faded(gen::Shoot()));
        gen::WriteWav(out / "fireball.wav", gen::Faded(gen::FireballWhoosh()));
        gen::WriteWav(out / "burn.wav", gen::Faded(gen::Burn()));
        gen::WriteWav(out / "bonus.wav", gen::Faded(gen::Bonus()));
        gen::WriteWav(out / "penalty.wav", gen::Faded(gen::Penalty()));
        gen::WriteWav(out / "pause.wav", gen::Faded(gen::PauseBlip()));
        gen::WriteWav(out / "buttonclick.wav", gen::Faded(gen::ButtonClick()));
    } catch (const std::exception& e) {
        std::cerr << "kw_gen_sounds: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
