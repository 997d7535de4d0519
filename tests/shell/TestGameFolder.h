// A throw-away game folder for tests: the layout of the built game, with just the pictures and
// sounds a test asks for written loose (no archives), and the globals pointed at it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/Globals.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "gfx/GfxTestSupport.h"

class TestGameFolder {
public:
    TestGameFolder() {
        static int counter = 0;
        m_Root = std::filesystem::temp_directory_path() /
                 ("kw-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::remove_all(m_Root);
        for (const char* sub : {"images", "levels", "sounds", "data", "override"})
            std::filesystem::create_directories(m_Root / "game" / sub);
        gProgramFolder = m_Root;
    }
    ~TestGameFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_Root, ec);
    }
    TestGameFolder(const TestGameFolder&) = delete;
    TestGameFolder& operator=(const TestGameFolder&) = delete;

    const std::filesystem::path& Root() const { return m_Root; }
    std::filesystem::path Path(const std::string& relative) const { return m_Root / relative; }

    void WriteImage(const std::string& relative, int32_t width = 32, int32_t height = 32) const {
        ASSERT_TRUE(GfxTestSupport::WriteSolidPng(Path(relative).string(), width, height, 0xFF336699u));
    }
    void WriteSound(const std::string& relative) const {
        ASSERT_TRUE(GfxTestSupport::WriteWav(Path(relative).string(), 50));
    }
    void WriteText(const std::string& relative, const std::string& text) const {
        std::ofstream(Path(relative), std::ios::binary) << text;
    }
    std::string ReadText(const std::string& relative) const {
        std::ifstream in(Path(relative), std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    bool Exists(const std::string& relative) const { return std::filesystem::exists(Path(relative)); }

    // The log split at CRLF; a trailing empty piece is dropped.
    std::vector<std::string> LogLines() const {
        const std::string text = ReadText("game/errors.log");
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
            lines.push_back(text.substr(start, at - start));
        if (start < text.size()) lines.push_back(text.substr(start));
        return lines;
    }

private:
    std::filesystem::path m_Root;
};

// A headless engine with a display, in a test game folder, as gEngine.
class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        UseVirtualClock(0, 12 * 3600);
        GfxEngine::SetHeadless(true);
        gEngine = std::make_unique<GfxEngine>();
        gEngine->SetWorkingFolder(m_Folder.Root().string() + "/");
        ASSERT_TRUE(gEngine->Startup());
        ASSERT_TRUE(gEngine->InitializeDisplay());
    }
    void TearDown() override {
        gEngine->Shutdown();
        gEngine.reset();
    }
    TestGameFolder m_Folder;
};
