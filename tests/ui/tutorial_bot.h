// Plays the real program in-process for the tutorial tests: a copy of the built game folder, the
// virtual clock, and a list of steps that look at the current state after each frame and give
// input the way a player does (keys, joystick, mouse through the library's injected events).
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/Globals.h"
#include "engine/cSprites.h"
#include "game/cOrb.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "gfx/GfxTestSupport.h"
#include "play/cPlayState.h"
#include "play/cScores.h"
#include "shell/cBaseState.h"
#include "shell/modMain.h"
#include "ui/GameStates.h"
#include "ui/cTutorialState.h"

namespace tutorial_test {

inline cTutorialState* Tutorial() { return dynamic_cast<cTutorialState*>(gCurrentState.get()); }
// The play state proper, not the tutorial.
inline cPlayState* Play() {
    auto* play = dynamic_cast<cPlayState*>(gCurrentState.get());
    return play && !Tutorial() ? play : nullptr;
}

inline std::filesystem::path BuiltGameFolder() { return std::filesystem::path(KW_GAME_DIR); }
inline std::filesystem::path ShippedTutorialLevel() {
    return std::filesystem::path(KW_SOURCE_DIR) / "data" / "levels" / "tutorial.dat";
}
inline bool GameFolderIsBuilt() {
    const auto game = BuiltGameFolder() / "game";
    return std::filesystem::exists(game / "images" / "kwgfx.pak") &&
           std::filesystem::exists(game / "levels" / "kwlvl.pak") &&
           std::filesystem::exists(game / "sounds" / "kwsfx.pak");
}

inline std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The board picture the shipped tutorial names on its third line.
inline std::string BoardPicture() {
    std::ifstream in(ShippedTutorialLevel(), std::ios::binary);
    std::string line;
    for (int i = 0; i < 3 && std::getline(in, line); ++i) {
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line.empty() ? "tutorialsky" : line;
}

// A tutorial level: rise interval, rows and board picture, no clouds line.
inline std::string Level(const std::string& rise, std::initializer_list<std::string> rows) {
    std::string text = rise + "\r\n" + std::to_string(rows.size()) + "\r\n" + BoardPicture() + "\r\n";
    for (const std::string& row : rows) text += row + "\r\n";
    return text;
}

// Without the built archives, plain pictures and sounds of the right sizes packed the way the
// game ships them, so the rules run all the same.
inline void PackPlainGame(const std::filesystem::path& game) {
    namespace fs = std::filesystem;
    const fs::path scratch = game / "scratch";
    fs::create_directories(scratch);
    const auto png = [&](const std::string& name, int32_t w, int32_t h) {
        EXPECT_TRUE(GfxTestSupport::WriteCheckerPng((scratch / name).string(), w, h, 0xFF204080u, 0xFFC0A040u, 8));
        return std::pair{name, ReadWhole(scratch / name)};
    };
    const auto wav = [&](const std::string& name) {
        EXPECT_TRUE(GfxTestSupport::WriteWav((scratch / name).string(), 100));
        return std::pair{name, ReadWhole(scratch / name)};
    };
    const std::vector<std::pair<std::string, std::string>> images{
        png("sprites.png", 1024, 1024), png("titlescreen.png", 640, 480), png("buttons1b.png", 512, 512),
        png("buttons2b.png", 512, 512), png("backok1.png", 512, 512),     png("text.png", 512, 512),
        png("fade.png", 640, 480),      png("clouds.png", 300, 300),      png(BoardPicture() + ".png", 510, 960)};
    std::vector<std::pair<std::string, std::string>> levels;
    for (int level = 1; level <= 5; ++level)
        levels.emplace_back("level" + std::to_string(level) + ".dat",
                            "1000\r\n1\r\n" + BoardPicture() + "\r\nNO\r\nRRGG\r\n");
    levels.emplace_back("tutorial.dat", fs::exists(ShippedTutorialLevel()) ? ReadWhole(ShippedTutorialLevel())
                                                                           : Level("1000", {"BBBBB"}));
    std::vector<std::pair<std::string, std::string>> sounds;
    for (const char* name :
         {"shoot.wav", "fireball.wav", "burn.wav", "bonus.wav", "penalty.wav", "pause.wav", "buttonclick.wav",
          "puzzle1.mp3", "puzzle2.mp3", "puzzle3.mp3", "puzzlel.mp3", "puzzlew.mp3"})
        sounds.push_back(wav(name));
    EXPECT_TRUE(GfxTestSupport::WriteZip((game / "images" / "kwgfx.pak").string(), images, "marlowe47"));
    EXPECT_TRUE(GfxTestSupport::WriteZip((game / "levels" / "kwlvl.pak").string(), levels, "marlowe47"));
    EXPECT_TRUE(GfxTestSupport::WriteZip((game / "sounds" / "kwsfx.pak").string(), sounds, "marlowe47"));
    fs::remove_all(scratch);
}

class Bot {
public:
    // A step runs after every frame until it answers true; the next step starts after the next frame.
    using Step = std::function<bool()>;
    static constexpr int32_t kFrameMs = 16;

    Bot() {
        // One folder per process and test; parameterised names carry a slash.
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        m_Folder = std::filesystem::temp_directory_path() / ("kw_tutorial_" + std::to_string(::getpid()) + "_" + name);
        std::filesystem::remove_all(m_Folder);
        std::filesystem::create_directories(m_Folder);
        const auto game = m_Folder / "game";
        for (const char* sub : {"images", "levels", "sounds", "data", "override"})
            std::filesystem::create_directories(game / sub);
        if (GameFolderIsBuilt()) {
            for (const char* pak : {"images/kwgfx.pak", "levels/kwlvl.pak", "sounds/kwsfx.pak"})
                std::filesystem::copy_file(BuiltGameFolder() / "game" / pak, game / pak);
        } else {
            PackPlainGame(game);
        }
        for (const char* file : {"game.dat", "scores.dat"})
            std::filesystem::copy_file(std::filesystem::path(KW_SOURCE_DIR) / "data" / file, game / "data" / file);
    }
    ~Bot() {
        std::error_code ec;
        std::filesystem::remove_all(m_Folder, ec);
    }
    Bot(const Bot&) = delete;
    Bot& operator=(const Bot&) = delete;

    const std::filesystem::path& Folder() const { return m_Folder; }
    std::filesystem::path LevelFile() const { return m_Folder / "game" / "levels" / "tutorial.dat"; }
    int32_t Frames() const { return m_Frames; }
    int32_t Elapsed() const { return m_Frames * kFrameMs; }

    // Replaces the unpacked tutorial level before the tutorial starts; nullopt keeps the shipped one.
    void UseLevel(std::optional<std::string> text) { m_Level = std::move(text); }
    void RemoveLevelBeforeStart() { m_RemoveLevel = true; }
    // gCurrentLevel as the title screen leaves it when the tutorial is chosen.
    void StartAtLevel(int32_t level) { m_StartLevel = level; }

    void Do(std::string what, Step step) { m_Steps.push_back({std::move(what), std::move(step)}); }
    void WaitUntil(std::string what, std::function<bool()> condition) { Do(std::move(what), std::move(condition)); }
    void Act(std::string what, std::function<void()> action) {
        Do(std::move(what), [action = std::move(action)] {
            action();
            return true;
        });
    }
    void WaitFrames(int32_t frames) {
        auto left = std::make_shared<int32_t>(frames);
        Do("wait " + std::to_string(frames) + " frames", [left] { return --*left <= 0; });
    }
    void Tap(int32_t key) {
        Act("tap key " + std::to_string(key), [key] {
            gEngine->InjectKey(key, true);
            gEngine->InjectKey(key, false);
        });
    }
    void PressEnter() { Tap(GfxKey::Enter); }
    // Steers with the arrow keys until the dragon rests over the column.
    void MoveTo(int32_t column) {
        Do("move to column " + std::to_string(column), [column] {
            const cPlayState* play = dynamic_cast<cPlayState*>(gCurrentState.get());
            if (!play) return false;
            const bool there = play->DragonColumn() == column && !play->DragonMoving();
            gEngine->InjectKey(GfxKey::Right, !there && play->DragonColumn() < column);
            gEngine->InjectKey(GfxKey::Left, !there && play->DragonColumn() > column);
            return there;
        });
    }
    // Holds Space for one frame once the dragon can fire.
    void Fire() {
        WaitUntil("dragon ready to fire", [] {
            const cPlayState* play = dynamic_cast<cPlayState*>(gCurrentState.get());
            return play && !play->DragonFiring() && !play->DragonMoving();
        });
        Act("space down", [] { gEngine->InjectKey(GfxKey::Space, true); });
        Act("space up", [] { gEngine->InjectKey(GfxKey::Space, false); });
    }

    // Runs the program until every step is done (then closes the window) or maxFrames pass.
    // Answers Main's exit code; a timeout is a test failure naming the step that waited.
    int Run(int32_t maxFrames) {
        gProgramFolder = m_Folder;
        RegisterGameStates();
        GfxEngine::SetHeadless(true);
        UseVirtualClock(1000, 12 * 3600.0);
        size_t next = 0;
        m_Frames = 0;
        SetFrameHook([&, this](LoopPoint point) {
            if (point == LoopPoint::BeforeFirstFrame) {
                if (m_Level) {
                    std::ofstream out(LevelFile(), std::ios::binary | std::ios::trunc);
                    out << *m_Level;
                }
                if (m_RemoveLevel) std::filesystem::remove(LevelFile());
                if (m_StartLevel) gCurrentLevel = *m_StartLevel;
                SetState(StateTutorial);
                return;
            }
            AdvanceVirtualClock(kFrameMs);
            ++m_Frames;
            if (next < m_Steps.size() && m_Steps[next].run()) ++next;
            if (next == m_Steps.size()) {
                gEngine->InjectWindow(GfxWindowAction::Close);
            } else if (m_Frames >= maxFrames) {
                ADD_FAILURE() << "still waiting after " << m_Frames << " frames for: " << m_Steps[next].what;
                next = m_Steps.size();
                gEngine->InjectWindow(GfxWindowAction::Close);
            }
        });
        const int exitCode = Main("");
        SetFrameHook({});
        UseRealClock();
        return exitCode;
    }

    std::string ReadLog() const { return ReadWhole(m_Folder / "game" / "errors.log"); }

private:
    struct Entry {
        std::string what;
        Step run;
    };
    std::filesystem::path m_Folder;
    std::optional<std::string> m_Level;
    std::optional<int32_t> m_StartLevel;
    bool m_RemoveLevel = false;
    std::vector<Entry> m_Steps;
    int32_t m_Frames = 0;
};

// Enter through the first three boxes; the blue lesson shot is next.
inline void ReachBlueLesson(Bot& bot) {
    bot.WaitUntil("tutorial", [] { return Tutorial() != nullptr; });
    for (int step = 0; step < 3; ++step) {
        bot.WaitUntil("box shows", [] { return Tutorial()->ShowLesson(); });
        bot.PressEnter();
    }
    bot.WaitUntil("step 3 without a box", [] { return Tutorial()->LessonStep() == 3 && !Tutorial()->ShowLesson(); });
}

}  // namespace tutorial_test
