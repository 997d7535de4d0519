// The generated sounds and tunes: effects are 16-bit PCM WAV at 44.1 kHz that make a sound; tunes
// carry the encoder's info tag for gapless looping and decode to a loop of their listed length.
#include <gtest/gtest.h>
#include <lame/lame.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "ContentFiles.h"

namespace {

uint32_t Le(const std::string& bytes, size_t at, int size) {
    uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
    return v;
}

class EverySound : public testing::TestWithParam<std::string_view> {};

TEST_P(EverySound, IsShortAudibleSixteenBitPcmAtTheGameRate) {
    const std::string wav = content::ReadFile(content::GeneratedDir() / std::string(GetParam()));
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(Le(wav, 4, 4), wav.size() - 8);
    EXPECT_EQ(Le(wav, 20, 2), 1u) << "PCM";
    const uint32_t channels = Le(wav, 22, 2);
    EXPECT_TRUE(channels == 1 || channels == 2);
    EXPECT_EQ(Le(wav, 24, 4), static_cast<uint32_t>(assets::kSampleRate));
    EXPECT_EQ(Le(wav, 34, 2), 16u);
    ASSERT_EQ(wav.substr(36, 4), "data");
    const uint32_t bytes = Le(wav, 40, 4);
    ASSERT_EQ(bytes + 44, wav.size());
    const double seconds = bytes / (2.0 * channels * assets::kSampleRate);
    EXPECT_GT(seconds, 0.02);
    EXPECT_LT(seconds, 2.0) << "an effect, not a tune";
    int peak = 0;
    for (size_t at = 44; at + 1 < wav.size(); at += 2)
        peak = std::max(peak, std::abs(static_cast<int>(static_cast<int16_t>(Le(wav, at, 2)))));
    EXPECT_GT(peak, 8000) << "too quiet to hear";
    EXPECT_LT(peak, 32767) << "clipped";
}

INSTANTIATE_TEST_SUITE_P(Content, EverySound, testing::ValuesIn(assets::kSounds),
                         [](const auto& info) { return std::string(info.param.substr(0, info.param.find('.'))); });

struct Decoded {
    std::vector<int> mix;  // left + right, as decoded
    int delay = -1, padding = -1;
    int sampleRate = 0, channels = 0;
    double peak = 0;
};

Decoded DecodeMp3(const std::string& mp3) {
    Decoded result;
    hip_t hip = hip_decode_init();
    std::vector<short> left(1152 * 4), right(1152 * 4);
    mp3data_struct info;
    std::memset(&info, 0, sizeof info);
    const size_t chunk = 256;  // about one frame at a time, so the decoder never holds back a frame
    for (size_t at = 0; at <= mp3.size(); at += chunk) {
        const size_t len = at < mp3.size() ? std::min(chunk, mp3.size() - at) : 0;
        auto* data = reinterpret_cast<unsigned char*>(const_cast<char*>(mp3.data() + std::min(at, mp3.size())));
        int delay = -1, padding = -1;
        int got = hip_decode1_headersB(hip, data, len, left.data(), right.data(), &info, &delay, &padding);
        while (true) {
            if (delay >= 0) result.delay = delay;
            if (padding >= 0) result.padding = padding;
            if (got < 0) break;
            for (int i = 0; i < got; ++i) {
                result.peak = std::max({result.peak, std::abs(left[i] / 32768.0), std::abs(right[i] / 32768.0)});
                result.mix.push_back(left[i] + right[i]);
            }
            if (got == 0) break;
            got = hip_decode1_headersB(hip, data, 0, left.data(), right.data(), &info, &delay, &padding);
        }
    }
    result.sampleRate = info.samplerate;
    result.channels = info.stereo;
    hip_decode_exit(hip);
    return result;
}

class EveryTune : public testing::TestWithParam<assets::Tune> {};

TEST_P(EveryTune, DecodesToALoopOfItsLengthWithTheGaplessTag) {
    const std::string mp3 = content::ReadFile(content::GeneratedDir() / std::string(GetParam().file));
    ASSERT_GT(mp3.size(), 1000u);
    EXPECT_TRUE(mp3.find("Info") < 200 || mp3.find("Xing") < 200) << "no info tag in the first frame";
    EXPECT_LT(mp3.find("LAME"), 400u) << "the info tag lacks the encoder's delay and padding";
    const Decoded d = DecodeMp3(mp3);
    EXPECT_EQ(d.sampleRate, assets::kSampleRate);
    EXPECT_EQ(d.channels, 2);
    ASSERT_GE(d.delay, 0) << "the encoder delay is not recorded, so the loop would stutter";
    ASSERT_GE(d.padding, 0);
    // The decoder itself adds 529 samples in front; the tag's delay and padding count them in.
    const long decoderDelay = 529;
    const long first = d.delay + decoderDelay;
    const long end = static_cast<long>(d.mix.size()) - (d.padding - decoderDelay);
    ASSERT_LT(first, end);
    const double seconds = static_cast<double>(end - first) / assets::kSampleRate;
    EXPECT_GE(seconds, GetParam().minSeconds);
    EXPECT_LE(seconds, GetParam().maxSeconds);

    // Looping without a gap: the music plays right up to the end and from the very start, and the
    // last sample leads into the first like any other step.
    auto rms = [&](long from, long count) {
        double sum = 0;
        for (long i = from; i < from + count; ++i) sum += double(d.mix[i]) * d.mix[i];
        return std::sqrt(sum / count) / 65536.0;
    };
    const long window = assets::kSampleRate / 20;
    EXPECT_GT(rms(first, window), 0.01) << "the loop starts in silence";
    EXPECT_GT(rms(end - window, window), 0.01) << "the loop ends in silence";
    double typicalStep = 0;
    for (long i = first + 1; i < end; ++i) typicalStep += std::abs(d.mix[i] - d.mix[i - 1]);
    typicalStep /= static_cast<double>(end - first);
    EXPECT_LT(std::abs(d.mix[end - 1] - d.mix[first]), 4 * typicalStep + 400) << "the loop jumps where it joins";
    EXPECT_GT(d.peak, 0.3) << "too quiet";
}

INSTANTIATE_TEST_SUITE_P(Content, EveryTune, testing::ValuesIn(assets::kTunes), [](const auto& info) {
    return std::string(info.param.file.substr(0, info.param.file.find('.')));
});

}  // namespace
