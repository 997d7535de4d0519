// SPDX-License-Identifier: GPL-3.0-or-later
// A throw-away game folder for tests, laid out like the built one (game/images, levels, sounds,
// data, override), with the globals pointed at it. It writes the pictures, sounds and archives a
// test asks for, at the sizes the content table gives, and removes everything afterwards.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kwtest {

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

class GameFolder final {
public:
    GameFolder();
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    const std::filesystem::path& Root() const { return m_Root; }
    std::filesystem::path Path(const std::string& relative) const { return m_Root / relative; }
    bool Exists(const std::string& relative) const { return std::filesystem::exists(Path(relative)); }
    void WriteText(const std::string& relative, const std::string& text) const { WriteFile(Path(relative), text); }
    std::string ReadText(const std::string& relative) const { return ReadFile(Path(relative)); }
    // The log split at CR LF; a trailing empty piece is dropped.
    std::vector<std::string> LogLines() const;

    // A small opaque picture of any size, for tests of the loaders.
    void WriteImage(const std::string& relative, int32_t width = 32, int32_t height = 32) const;
    void WriteSound(const std::string& relative) const;

    // A picture the game reads, loose in game/images at its size in the content table (a board
    // background for any other name), each pixel from `pixel`.
    void WritePicture(std::string_view name, const std::function<uint32_t(int32_t x, int32_t y)>& pixel) const;
    void WritePicture(std::string_view name, uint32_t argb) const;
    // Every sound and tune the game plays, loose in game/sounds, as short tones.
    void WriteSounds() const;
    // A level file in game/<folder>/level<number>.dat (or tutorial.dat for number 0).
    void WriteLevel(const std::string& folder, int32_t number, const std::string& text) const;
    // The settings and score files as shipped.
    void CopyShippedData() const;
    // The three archives the game unpacks at start, copied from the built game.
    void UseArchives() const;

private:
    std::filesystem::path m_Root;
};

// The shipped tutorial level and a plain level file: rise interval, row count, picture, the
// clouds line where the format has one, then the rows, all ending in CR LF.
std::string ShippedTutorial();
std::string LevelText(int32_t riseInterval, const std::string& picture, const std::vector<std::string>& rows,
                      bool withCloudsLine = true);

}  // namespace kwtest
