// SPDX-License-Identifier: GPL-3.0-or-later
// A board is taken only in ProcessState. While it is awaited the clock holds (HoldNextStep), so
// whether it came at once or after a second of waiting, the game goes on from the same tick; on
// the virtual clock (the runner, a replay) the poll itself waits instead, which comes to the same.
#include "play/cEndlessState.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <system_error>
#include <utility>

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "engine/cMouse.h"
#include "engine/cSound.h"
#include "engine/cTextures.h"
#include "game/LevelCheck.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "play/cMessage.h"
#include "play/cScores.h"
#include "shell/AssetTable.h"
#include "shell/CommandLine.h"
#include "shell/modMain.h"

namespace fs = std::filesystem;

namespace {
std::optional<uint32_t> sRequestedSeed;
fs::path sWorkerProgram;

constexpr const char* kFolderPrefix = "endless-";
constexpr int32_t kWhite = -1;
constexpr int32_t kBlack = static_cast<int32_t>(0xFF000000U);
constexpr int32_t kProgressOrbs = 5;
constexpr int32_t kPassesPerStep = 8;  // the sign steps by passes: the clock holds while it shows

// White bold Arial outlined in black, readable over any board.
void Outlined(float x, float y, float width, const std::string& text, int32_t align, int32_t colour = kWhite,
              float size = 8) {
    gEngine->GetText().DrawText(x, y, width, 20, text, align, colour, "Arial", size, true, 0, 1, 1, kBlack);
}

fs::path WorkerProgram() {
    if (!sWorkerProgram.empty()) return sWorkerProgram;
    // The tools are installed and built beside the game; the runner finds them in the game folder.
    std::error_code ec;
    const fs::path besideProgram = ExecutableFolder() / "kindlewisp-level";
    return fs::is_regular_file(besideProgram, ec) ? besideProgram : gProgramFolder / "kindlewisp-level";
}

// Folders of runs that never ended in order (the game was killed). The game's instance lock keeps
// any other copy out of this game folder, so none of them is in use.
void RemoveLeftFolders(const fs::path& parent) {
    std::error_code ec;
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().filename().string().rfind(kFolderPrefix, 0) == 0 && it->is_directory(ec))
            fs::remove_all(it->path(), ec);
}
}  // namespace

void cEndlessState::RequestRun(uint32_t seed) { sRequestedSeed = seed; }

uint32_t cEndlessState::TodaysSeed() {
    const CalendarDate date = DateOfDay(Today());
    return DailySeed(date.year, static_cast<int>(date.month), static_cast<int>(date.day));
}

uint32_t cEndlessState::RandomSeed() {
    // Seeded from the time of day to the millisecond (which a replay repeats), then two halves.
    GfxUtility& utility = gEngine->GetUtility();
    utility.SeedRandom(static_cast<int32_t>(std::lrint(static_cast<double>(Timer()) * 1000.0)));
    const auto high = static_cast<uint32_t>(utility.RandomRange(0, 0xFFFF));
    return high << 16 | static_cast<uint32_t>(utility.RandomRange(0, 0xFFFF));
}

uint32_t cEndlessState::TakeRequestedSeed() {
    if (const auto seed = std::exchange(sRequestedSeed, std::nullopt)) return *seed;
    const auto request = ParseEndlessValue(GetCommandLineValue("Endless", ";")).value_or(EndlessRequest{true, 0});
    return request.daily ? TodaysSeed() : request.seed;
}

void cEndlessState::SetWorkerProgram(fs::path program) { sWorkerProgram = std::move(program); }

cEndlessState::cEndlessState(uint32_t seed) : cPlayState(NoSetUp{}), m_Seed(seed) {
    m_Message = std::make_unique<cMessage>();
    // A board's picture, read when the board comes, would cost that frame far more than a frame
    // may take; the run's boards name the game's own backgrounds, so they are all read now, while
    // the screen changes over to the run, with the pictures the play screen's set-up reads once
    // board 1 has come (the pause screen's options picture alone costs two frames).
    for (const std::string_view background : assets::kBackgrounds) gTextures->Texture(std::string(background) + ".png");
    for (const std::string_view picture : {assets::kClouds, assets::kSprites, assets::kOptions})
        gTextures->Texture(std::string(picture));
    PrepareForPlay();
    const fs::path parent = gProgramFolder / "game";
    RemoveLeftFolders(parent);
    if (const auto folder = MakePrivateFolder(parent, kFolderPrefix)) {
        m_Folder = *folder;
        StartWorker(1);
    } else {
        m_WorkerBoard = 1;
        m_Attempts = MaxAttempts;
        WorkerFailed("no folder for its boards could be made in " + parent.string());
    }
}

cEndlessState::~cEndlessState() { EndWorker(); }

std::string cEndlessState::ScoresFile() const { return cScores::EndlessScoresPath(); }

std::string cEndlessState::LevelReportName() const { return m_BoardFile.string(); }

void cEndlessState::StartWorker(int32_t board) {
    if (board != m_WorkerBoard) m_Attempts = 0;
    m_WorkerBoard = board;
    ++m_Attempts;
    const std::string name = "board" + std::to_string(board);
    if (!m_Worker.Start(WorkerProgram(),
                        {"generate", "--seed", std::to_string(m_Seed), "--board", std::to_string(board), "--out",
                         (m_Folder / (name + ".dat")).string()},
                        m_Folder / (name + ".err")))
        WorkerFailed(m_Worker.Failure());
}

void cEndlessState::WorkerFailed(const std::string& why) {
    const std::string what = "Board " + std::to_string(m_WorkerBoard) + " of seed " + std::to_string(m_Seed);
    ReportError(ErrorNumber::PathNotFound, "cEndlessState", "NextBoard",
                what + " could not be made (try " + std::to_string(m_Attempts) + " of " + std::to_string(MaxAttempts) +
                    "): " + why,
                true, true, false);
    if (m_Attempts < MaxAttempts && !m_Folder.empty()) return StartWorker(m_WorkerBoard);
    m_Failure = what + " could not be made, so the run ends here (" + why + ").";
    EndWorker();
    // The board in play is played to its end; the run ends when the next one would begin.
    if (m_Waiting) EndRun();
}

void cEndlessState::EndRun() {
    m_Waiting = false;
    if (!m_Started) return;
    m_LevelIntro = false;
    LoseLevel();
}

void cEndlessState::EndWorker() {
    m_Worker.Stop();
    if (m_Folder.empty()) return;
    std::error_code ec;
    fs::remove_all(m_Folder, ec);
    m_Folder.clear();
}

void cEndlessState::TakeBoardWhenReady() {
    const GfxWorker::State state = m_Worker.Poll(IsVirtualClock());
    if (state == GfxWorker::State::Running) {
        ++m_WaitPasses;
        HoldNextStep();
        return;
    }
    if (state != GfxWorker::State::Succeeded) return WorkerFailed(m_Worker.Failure());
    const fs::path file = m_Folder / ("board" + std::to_string(m_WorkerBoard) + ".dat");
    const LevelProblems problems = CheckLevelFile(file, true, GamePictures(gProgramFolder));
    if (HasErrors(problems)) {
        for (const LevelProblem& problem : problems)
            if (problem.error) return WorkerFailed("its board has an error: " + FormatProblem(file.string(), problem));
    }
    std::error_code ec;
    if (!m_BoardFile.empty()) fs::remove(m_BoardFile, ec);
    m_BoardFile = file;
    m_BoardNumber = m_WorkerBoard;
    m_Waiting = false;
    if (!m_Started) {
        m_Started = true;
        InitializeGraphics();
    } else {
        StartNextLevel();
    }
    StartWorker(m_BoardNumber + 1);
}

void cEndlessState::AdvanceLevel() {
    m_LevelComplete = false;
    if (!m_Failure.empty()) return EndRun();
    m_LevelIntro = true;  // the next board's intro, held until the board has come
    m_IntroTime = GetTickCount();
    m_Waiting = true;
    m_WaitPasses = 0;
}

void cEndlessState::HandleInput() {
    if (m_Started) return cPlayState::HandleInput();
    // Before the first board there is no play screen: Esc quits as in play, and once the run
    // has failed, Enter, a click (on its release, which the title would take for its own) or the
    // pad's A goes back to the title.
    const GfxKeyboard& keyboard = gEngine->GetKeyboard();
    if (keyboard.IsKeyPressed(GfxKey::Escape)) gRunning = false;
    GfxJoystick& joystick = gEngine->GetJoystick();
    joystick.Poll();
    gMouse->PollFullScreenButtons();
    const bool held = gMouse->IsButtonPressed(1);
    const bool clicked = std::exchange(m_MouseHeld, held) && !held;
    if (!m_Failure.empty() && (keyboard.IsKeyPressed(GfxKey::Enter) || clicked || joystick.IsButtonPressed(1, 0))) {
        Destroy();
        SetState(StateTitle);
    }
}

void cEndlessState::ProcessState() {
    if (m_Waiting) return TakeBoardWhenReady();
    if (!m_Started) return;
    cPlayState::ProcessState();
    if (m_GameOver)
        EndWorker();
    else if (m_Worker.Poll() == GfxWorker::State::Failed)
        WorkerFailed(m_Worker.Failure());  // tried again at once, while the board is played
}

void cEndlessState::DrawState() {
    if (m_Started) return cPlayState::DrawState();
    if (m_Failure.empty()) {
        DrawLevelCaption(255);
        DrawProgress();
    } else {
        m_Message->DrawMessageBox(m_Failure, 175, 200, 450, 40, 8, true, true);
    }
    gMouse->Render();
}

void cEndlessState::Destroy() {
    EndWorker();
    if (m_Started) cPlayState::Destroy();
}

void cEndlessState::m_RestartButton_ButtonClick(int32_t& /*mouseButton*/) {
    gSound->Play("buttonclick.wav");
    Destroy();
    RequestRun(m_Seed);
    SetState(StateEndless);
}

void cEndlessState::DrawLevelLabel() {
    gEngine->GetText().DrawText(20, 205, 90, 120, "Board " + std::to_string(m_BoardNumber), 1, kWhite, "Arial", 8, true,
                                0, 0, 0, 0);
}

void cEndlessState::DrawLevelCaption(int16_t alpha) {
    int32_t x = 430;
    m_Message->DrawBoard(280, 150, alpha);
    m_Message->DrawNumber(std::to_string(m_Waiting ? m_WorkerBoard : m_BoardNumber), x, 160, alpha);
}

void cEndlessState::DrawAfterQueue() {
    if (m_Waiting) DrawProgress();
    if (m_GameOver) DrawRunTable();
}

void cEndlessState::DrawProgress() {
    // A row of orbs under the caption, one lit at a time, walking while the board is made.
    GfxSprite orb;
    orb.SetTexture(gTextures->Texture(std::string(assets::kSprites)));
    orb.SetBlend(true);
    const int32_t lit = m_WaitPasses / kPassesPerStep % kProgressOrbs;
    for (int32_t i = 0; i < kProgressOrbs; ++i) {
        const assets::Rect cell = assets::OrbPicture(OrbKind::Red + i);
        orb.SetSourceRect(cell.x, cell.y, cell.w, cell.h);
        orb.SetX(static_cast<float>(316 + 28 * i));
        orb.SetY(232);
        orb.SetAlpha(i == lit ? 255.0F : 80.0F);
        orb.Render();
    }
}

void cEndlessState::DrawRunTable() {
    // The run's own top ten below GAME OVER, the current game's row in gold, and the seed, so the
    // same boards can be raced again. It comes once GAME OVER has faded half in, a line each tenth
    // of the fade, so that no frame lays out more than a line of new text.
    constexpr float kLeft = 270, kTop = 252, kRow = 15, kWidth = 220;
    constexpr int16_t kFrom = 128, kPerLine = 10;
    if (m_GameOverAlpha < kFrom) return;
    const int32_t lines = (m_GameOverAlpha - kFrom) / kPerLine;  // shown beyond the heading
    // A dimmed backdrop, so the rows read over any board.
    GfxSprite backdrop;
    backdrop.SetTexture(gTextures->Texture(std::string(assets::kFade)));
    backdrop.SetSourceRect(0, 0, static_cast<int32_t>(kWidth) + 20, static_cast<int32_t>(kRow) * 13 + 4);
    backdrop.SetX(kLeft - 10);
    backdrop.SetY(kTop - 4);
    backdrop.SetAlpha(170);
    backdrop.SetBlend(true);
    backdrop.Render();
    const int32_t gold = GfxUtility::MakeColor(255, 255, 210, 80);
    Outlined(kLeft, kTop, kWidth, "Endless Top Ten", 2, kWhite, 9);
    for (int32_t row = 1; row <= std::min(lines, 10); ++row) {
        const float y = kTop + kRow * static_cast<float>(row) + 2;
        const bool current = row == m_Scores->CurrentPosition();
        const int32_t colour = current ? gold : kWhite;
        Outlined(kLeft, y, 24, std::to_string(row), 1, colour);
        const std::string initials = m_Scores->HighScore_Initials(row);
        if (!current) Outlined(kLeft + 40, y, 60, initials, 0, colour);
        // The game's own row letter by letter, the one being edited larger and blue.
        for (size_t letter = 0; current && letter < initials.size() && letter < 3; ++letter) {
            const bool edited = static_cast<int32_t>(letter) + 1 == m_InitialsCursor;
            Outlined(kLeft + 40 + 11 * static_cast<float>(letter), y, 14, initials.substr(letter, 1), 0,
                     edited ? GfxUtility::MakeColor(255, 120, 200, 255) : colour, edited ? 10.0F : 8.0F);
        }
        Outlined(kLeft + 100, y, 110, m_Scores->HighScore_Score(row), 1, colour);
    }
    if (lines > 10) Outlined(kLeft, kTop + kRow * 11 + 6, kWidth, "Seed " + std::to_string(m_Seed), 2);
    if (lines > 11 && !m_Failure.empty()) m_Message->DrawMessageBox(m_Failure, 175, 440, 450, 30, 8, true, false);
}
