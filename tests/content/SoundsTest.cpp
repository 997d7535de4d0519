// The generated sounds and tunes: effects are short, audible 16-bit PCM WAV at the game's rate;
// tunes carry the encoder's info tag, without which the loop would stutter at the join.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

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
    EXPECT_EQ(wav.substr(0, 4) + wav.substr(8, 8) + wav.substr(36, 4), "RIFFWAVEfmt data");
    EXPECT_EQ(Le(wav, 20, 2), 1u) << "PCM";
    EXPECT_EQ(Le(wav, 24, 4), static_cast<uint32_t>(assets::kSampleRate));
    EXPECT_EQ(Le(wav, 34, 2), 16u);
    ASSERT_EQ(Le(wav, 40, 4) + 44, wav.size());
    const double seconds = Le(wav, 40, 4) / (2.0 * Le(wav, 22, 2) * assets::kSampleRate);
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

class EveryTune : public testing::TestWithParam<assets::Tune> {};

TEST_P(EveryTune, CarriesTheEncodersGaplessTag) {
    const std::string mp3 = content::ReadFile(content::GeneratedDir() / std::string(GetParam().file));
    ASSERT_GT(mp3.size(), 1000u);
    EXPECT_TRUE(mp3.find("Info") < 200 || mp3.find("Xing") < 200) << "no info tag in the first frame";
    EXPECT_LT(mp3.find("LAME"), 400u) << "the info tag lacks the encoder's delay and padding";
}

INSTANTIATE_TEST_SUITE_P(Content, EveryTune, testing::ValuesIn(assets::kTunes), [](const auto& info) {
    return std::string(info.param.file.substr(0, info.param.file.find('.')));
});

}  // namespace
