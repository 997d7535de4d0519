// SPDX-License-Identifier: GPL-3.0-or-later
// Sound building blocks for the sound and music generators.
#include "Audio.h"

#include <lame/lame.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

namespace gen {

double Adsr(double t, double held, double attack, double decay, double sustain, double release) {
    if (t < 0) return 0;
    auto level = [&](double u) {
        if (u < attack) return u / attack;
        if (u < attack + decay) return 1.0 - (1.0 - sustain) * (u - attack) / decay;
        return sustain;
    };
    if (t < held) return level(t);
    const double r = t - held;
    if (r >= release) return 0;
    return level(held) * (1.0 - r / release);
}

double MidiToHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

double SoftClip(double x) { return std::tanh(x); }

namespace {

class Comb final {
public:
    explicit Comb(size_t length) : m_Buf(length, 0.0) {}
    double Process(double x, double feedback, double damp) {
        const double out = m_Buf[m_Pos];
        m_Store = out * (1 - damp) + m_Store * damp;
        m_Buf[m_Pos] = x + m_Store * feedback;
        m_Pos = (m_Pos + 1) % m_Buf.size();
        return out;
    }

private:
    std::vector<double> m_Buf;
    size_t m_Pos = 0;
    double m_Store = 0;
};

class AllPass final {
public:
    explicit AllPass(size_t length) : m_Buf(length, 0.0) {}
    double Process(double x) {
        const double buffered = m_Buf[m_Pos];
        m_Buf[m_Pos] = x + buffered * 0.5;
        m_Pos = (m_Pos + 1) % m_Buf.size();
        return buffered - x;
    }

private:
    std::vector<double> m_Buf;
    size_t m_Pos = 0;
};

}  // namespace

void AddReverb(Stereo& audio, double roomSize, double damping, double wet) {
    static const size_t combs[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static const size_t allpasses[] = {556, 441, 341, 225};
    const double feedback = 0.7 + 0.28 * roomSize;
    // Both channels hear the same dry mix; slightly different delay lengths decorrelate them.
    Mono wetSignal[2];
    for (int ch = 0; ch < 2; ++ch) {
        const size_t spread = ch == 0 ? 0 : 23;
        std::vector<Comb> c;
        std::vector<AllPass> a;
        for (size_t len : combs) c.emplace_back(len + spread);
        for (size_t len : allpasses) a.emplace_back(len + spread);
        wetSignal[ch].resize(audio.Frames());
        for (size_t i = 0; i < audio.Frames(); ++i) {
            const double in = (audio.left[i] + audio.right[i]) * 0.015;
            double sum = 0;
            for (auto& comb : c) sum += comb.Process(in, feedback, damping);
            for (auto& ap : a) sum = ap.Process(sum);
            wetSignal[ch][i] = static_cast<float>(wet * sum);
        }
    }
    for (size_t i = 0; i < audio.Frames(); ++i) {
        audio.left[i] += wetSignal[0][i];
        audio.right[i] += wetSignal[1][i];
    }
}

void Normalise(Mono& audio, double peak) {
    float most = 0;
    for (float s : audio) most = std::max(most, std::abs(s));
    if (most <= 0) return;
    const float k = static_cast<float>(peak / most);
    for (float& s : audio) s *= k;
}

void Normalise(Stereo& audio, double peak) {
    float most = 0;
    for (size_t i = 0; i < audio.Frames(); ++i)
        most = std::max({most, std::abs(audio.left[i]), std::abs(audio.right[i])});
    if (most <= 0) return;
    const float k = static_cast<float>(peak / most);
    for (size_t i = 0; i < audio.Frames(); ++i) {
        audio.left[i] *= k;
        audio.right[i] *= k;
    }
}

namespace {

void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

void WriteAtomically(const std::filesystem::path& path, const std::string& bytes) {
    const std::filesystem::path temp = path.string() + ".part";
    {
        std::ofstream file(temp, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!file) throw std::runtime_error("cannot write " + temp.string());
    }
    std::filesystem::rename(temp, path);
}

}  // namespace

void WriteWav(const std::filesystem::path& path, const Mono& audio) {
    const uint32_t dataBytes = static_cast<uint32_t>(audio.size() * 2);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    PutLe(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);  // PCM
    PutLe(out, 1, 2);  // mono
    PutLe(out, static_cast<uint32_t>(kRate), 4);
    PutLe(out, static_cast<uint32_t>(kRate) * 2, 4);
    PutLe(out, 2, 2);
    PutLe(out, 16, 2);
    out += "data";
    PutLe(out, dataBytes, 4);
    for (float s : audio) {
        const long v = std::lrint(std::clamp(static_cast<double>(s), -1.0, 1.0) * 32767.0);
        PutLe(out, static_cast<uint32_t>(static_cast<int16_t>(v)) & 0xffff, 2);
    }
    WriteAtomically(path, out);
}

void WriteMp3(const std::filesystem::path& path, const Stereo& audio) {
    std::unique_ptr<lame_global_flags, int (*)(lame_global_flags*)> lame(lame_init(), lame_close);
    if (!lame) throw std::runtime_error("cannot start the MP3 encoder");
    lame_set_in_samplerate(lame.get(), static_cast<int>(kRate));
    lame_set_out_samplerate(lame.get(), static_cast<int>(kRate));
    lame_set_num_channels(lame.get(), 2);
    lame_set_mode(lame.get(), JOINT_STEREO);
    lame_set_brate(lame.get(), 128);
    lame_set_quality(lame.get(), 5);
    lame_set_bWriteVbrTag(lame.get(), 1);
    lame_set_write_id3tag_automatic(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0) throw std::runtime_error("the MP3 encoder refused its settings");

    std::string out;
    const size_t chunk = 8192;
    std::vector<unsigned char> buf(chunk * 5 / 4 + 7200);
    for (size_t pos = 0; pos < audio.Frames(); pos += chunk) {
        const int n = static_cast<int>(std::min(chunk, audio.Frames() - pos));
        const int bytes = lame_encode_buffer_ieee_float(lame.get(), audio.left.data() + pos, audio.right.data() + pos,
                                                        n, buf.data(), static_cast<int>(buf.size()));
        if (bytes < 0) throw std::runtime_error("MP3 encoding failed");
        out.append(reinterpret_cast<const char*>(buf.data()), static_cast<size_t>(bytes));
    }
    const int tail = lame_encode_flush(lame.get(), buf.data(), static_cast<int>(buf.size()));
    if (tail < 0) throw std::runtime_error("MP3 encoding failed at the end");
    out.append(reinterpret_cast<const char*>(buf.data()), static_cast<size_t>(tail));

    // The stream opens with a placeholder frame; the filled-in info tag replaces it.
    std::vector<unsigned char> tag(4096);
    const size_t tagBytes = lame_get_lametag_frame(lame.get(), tag.data(), tag.size());
    if (tagBytes == 0 || tagBytes > out.size()) throw std::runtime_error("the MP3 encoder wrote no info tag");
    std::copy(tag.begin(), tag.begin() + static_cast<std::ptrdiff_t>(tagBytes), out.begin());
    WriteAtomically(path, out);
}

}  // namespace gen
