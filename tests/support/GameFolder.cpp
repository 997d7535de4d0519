// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/GameFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "base/Globals.h"
#include "gfx/GfxTestSupport.h"
#include "shell/AssetTable.h"

namespace kwtest {
namespace fs = std::filesystem;

namespace {

struct Size {
    int32_t w, h;
};

Size PictureSize(std::string_view name) {
    if (name == assets::kSprites) return {assets::kSpritesSize, assets::kSpritesSize};
    if (name == assets::kText || name == assets::kButtonsRest || name == assets::kButtonsLit || name == assets::kBackOk)
        return {assets::kMenuSize, assets::kMenuSize};
    if (name == assets::kTitle || name == assets::kFade) return {assets::kScreenW, assets::kScreenH};
    if (name == assets::kClouds) return {assets::kCloudsSize, assets::kCloudsSize};
    return {assets::kBoardW, assets::kBoardH};
}

// About a second of silence as an MP3 the music player accepts.
void WriteSilentMp3(const fs::path& path) {
    // MPEG-1 layer III frames (128 kbit/s, 44.1 kHz, mono) whose side information is all zero.
    std::string frame(417, '\0');
    frame.replace(0, 4, "\xFF\xFB\x90\xC0");
    std::string tune;
    for (int i = 0; i < 40; ++i) tune += frame;
    WriteFile(path, tune);
}

const fs::path kBuiltGame = fs::path(KW_GAME_DIR) / "game";
constexpr const char* kArchives[] = {"images/kwgfx.pak", "levels/kwlvl.pak", "sounds/kwsfx.pak"};

}  // namespace

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

GameFolder::GameFolder() {
    // ctest runs test cases as parallel processes: each needs folders of its own.
    static int counter = 0;
    m_Root = fs::temp_directory_path() / ("kw-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    fs::remove_all(m_Root);
    for (const char* sub : {"images", "levels", "sounds", "data", "override"})
        fs::create_directories(m_Root / "game" / sub);
    gProgramFolder = m_Root;
}

GameFolder::~GameFolder() {
    std::error_code ignored;
    fs::remove_all(m_Root, ignored);
}

std::vector<std::string> GameFolder::LogLines() const {
    const std::string text = ReadText("game/errors.log");
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

void GameFolder::WriteImage(const std::string& relative, int32_t width, int32_t height) const {
    ASSERT_TRUE(GfxTestSupport::WriteSolidPng(Path(relative).string(), width, height, 0xFF336699u));
}

void GameFolder::WriteSound(const std::string& relative) const {
    ASSERT_TRUE(GfxTestSupport::WriteWav(Path(relative).string(), 50));
}

void GameFolder::WritePicture(std::string_view name, const std::function<uint32_t(int32_t, int32_t)>& pixel) const {
    const Size size = PictureSize(name);
    ASSERT_TRUE(GfxTestSupport::WritePng((m_Root / "game/images" / name).string(), size.w, size.h, pixel));
}

void GameFolder::WritePicture(std::string_view name, uint32_t argb) const {
    WritePicture(name, [argb](int32_t, int32_t) { return argb; });
}

void GameFolder::WriteSounds() const {
    for (const auto name : assets::kSounds)
        ASSERT_TRUE(GfxTestSupport::WriteWav((m_Root / "game/sounds" / name).string(), 50));
    for (const auto& tune : assets::kTunes) WriteSilentMp3(m_Root / "game/sounds" / tune.file);
}

void GameFolder::WriteLevel(const std::string& folder, int32_t number, const std::string& text) const {
    const std::string name = number == 0 ? "tutorial.dat" : "level" + std::to_string(number) + ".dat";
    WriteFile(m_Root / "game" / folder / name, text);
}

void GameFolder::CopyShippedData() const {
    for (const char* file : {"game.dat", "scores.dat"})
        fs::copy_file(fs::path(KW_SOURCE_DIR) / "data" / file, m_Root / "game/data" / file,
                      fs::copy_options::overwrite_existing);
}

void GameFolder::UseArchives() const {
    for (const char* pak : kArchives) fs::copy_file(kBuiltGame / pak, m_Root / "game" / pak);
}

std::string ShippedTutorial() { return ReadFile(fs::path(KW_SOURCE_DIR) / "data/levels/tutorial.dat"); }

std::string LevelText(int32_t riseInterval, const std::string& picture, const std::vector<std::string>& rows,
                      bool withCloudsLine) {
    std::string text = std::to_string(riseInterval) + "\r\n" + std::to_string(rows.size()) + "\r\n" + picture + "\r\n";
    if (withCloudsLine) text += "NO\r\n";
    for (const auto& row : rows) text += row + "\r\n";
    return text;
}

}  // namespace kwtest
