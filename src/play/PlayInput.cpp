// SPDX-License-Identifier: GPL-3.0-or-later
// The play state's keyboard, mouse and joystick rules, situation by situation, and pausing.
#include <algorithm>

#include "base/Globals.h"
#include "engine/cButton.h"
#include "engine/cMouse.h"
#include "engine/cSound.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "play/cPlayState.h"
#include "play/cScores.h"

namespace {
constexpr int32_t kJoystick = 1;
constexpr int32_t kFireButton = 0;
constexpr int32_t kBackButton = 4;
constexpr int32_t kStartButton = 6;
constexpr int32_t kJoystickRepeatMs = 200;
// The library's music volume range. Holding F7 or F8 used to run the setting far outside it,
// so a press the other way was not heard until the excess had been held off again.
constexpr int32_t kMinVolume = 0;
constexpr int32_t kMaxVolume = 100;
// F7 and F8 step the volume once per press and then, held, repeat as a keyboard does: one
// frame's step each was 60 steps a second, too fast to stop where one meant to.
constexpr int32_t kVolumeStep = 5;
constexpr int32_t kVolumeRepeatDelayMs = 400;
constexpr int32_t kVolumeRepeatMs = 150;

int32_t TickAfter(int32_t tick, int32_t ms) {
    return static_cast<int32_t>(static_cast<uint32_t>(tick) + static_cast<uint32_t>(ms));
}
}  // namespace

void cPlayState::HandleInput() {
    HandleKeyboard();
    HandleMouse();
    HandleJoystick();
}

void cPlayState::HandleKeyboard() {
    const GfxKeyboard& keyboard = gEngine->GetKeyboard();

    if (keyboard.IsKeyPressed(GfxKey::Escape) && !gPaused) gRunning = false;
    if (keyboard.IsKeyDown(GfxKey::Right) && !gPaused && !IsPlayHalted()) StartDragonMove(+1);
    if (keyboard.IsKeyDown(GfxKey::Left) && !gPaused && !IsPlayHalted()) StartDragonMove(-1);
    if (keyboard.IsKeyDown(GfxKey::Space) && !gPaused && !IsPlayHalted()) FireOrb();
    HandleVolumeKeys(keyboard);
    if (keyboard.IsKeyPressed(GfxKey::P) && !gInactive && !IsPlayHalted()) TogglePause();

    // The initials entry after a lost game or the last level won; it works while paused as well.
    const bool initials = IsEnteringInitials();
    if (keyboard.IsKeyPressed(GfxKey::Right) && initials) m_InitialsCursor = std::min(m_InitialsCursor + 1, 3);
    if (keyboard.IsKeyPressed(GfxKey::Left) && initials) m_InitialsCursor = std::max(m_InitialsCursor - 1, 1);
    if (keyboard.IsKeyPressed(GfxKey::Up) && initials)
        m_Scores->AddInitialLetter(m_Scores->CurrentPosition(), m_InitialsCursor, +1);
    if (keyboard.IsKeyPressed(GfxKey::Down) && initials)
        m_Scores->AddInitialLetter(m_Scores->CurrentPosition(), m_InitialsCursor, -1);
}

void cPlayState::HandleVolumeKeys(const GfxKeyboard& keyboard) {
    if (gPaused || IsPlayHalted()) {
        m_VolumeKey = 0;
        return;
    }
    const int32_t now = GetTickCount();
    const int32_t pressed = keyboard.IsKeyPressed(GfxKey::F8)   ? GfxKey::F8
                            : keyboard.IsKeyPressed(GfxKey::F7) ? GfxKey::F7
                                                                : 0;
    if (pressed != 0) {
        m_VolumeKey = pressed;
        m_VolumeKeyTime = now;
        m_VolumeRepeating = false;
    } else if (m_VolumeKey == 0 || !keyboard.IsKeyDown(m_VolumeKey)) {
        m_VolumeKey = 0;
        return;
    } else {
        const int32_t wait = m_VolumeRepeating ? kVolumeRepeatMs : kVolumeRepeatDelayMs;
        const int32_t since = TicksSince(now, m_VolumeKeyTime);
        if (since < wait) return;
        // Counted from when the step was due, so the rate holds at any frame length; after a
        // stall the next step waits its whole time instead of following in a burst.
        m_VolumeKeyTime = since < wait + kVolumeRepeatMs ? TickAfter(m_VolumeKeyTime, wait) : now;
        m_VolumeRepeating = true;
    }
    const int32_t step = m_VolumeKey == GfxKey::F8 ? kVolumeStep : -kVolumeStep;
    gMusicVolume = std::clamp(gMusicVolume + step, kMinVolume, kMaxVolume);
    m_VolumeShownTime = now;
    m_VolumeShown = true;
}

bool cPlayState::IsEnteringInitials() const { return m_GameOver || m_AllLevelsDone; }

void cPlayState::HandleMouse() {
    if (gPaused) return;

    gMouse->PollFullScreenButtons();

    // A click anywhere fires, on a button too; FireOrb refuses between columns and while posing.
    if (gMouse->IsButtonPressed(1) && !IsPlayHalted()) FireOrb();

    // A click may switch state inside CheckMouseUp; this object stays alive until HandleInput
    // returns, so the remaining checks still run on it.
    m_RestartButton->CheckMouseMove(gMouse->X, gMouse->Y);
    m_ExitButton->CheckMouseMove(gMouse->X, gMouse->Y);
    m_RestartButton->CheckMouseDown(1, gMouse->X, gMouse->Y);
    m_ExitButton->CheckMouseDown(1, gMouse->X, gMouse->Y);
    m_RestartButton->CheckMouseUp(1, gMouse->X, gMouse->Y);
    m_ExitButton->CheckMouseUp(1, gMouse->X, gMouse->Y);
}

void cPlayState::HandleJoystick() {
    GfxJoystick& joystick = gEngine->GetJoystick();
    joystick.Poll();

    if (!gPaused) {
        if (joystick.GetAxisX(kJoystick) >= 1 && !IsPlayHalted()) StartDragonMove(+1);
        if (joystick.GetAxisX(kJoystick) < 0 && !IsPlayHalted()) StartDragonMove(-1);
        if (joystick.IsButtonDown(kJoystick, kFireButton) && !IsPlayHalted()) FireOrb();
    }

    if ((joystick.IsButtonPressed(kJoystick, kBackButton) || joystick.IsButtonPressed(kJoystick, kStartButton)) &&
        !gInactive && !IsPlayHalted())
        TogglePause();

    if (!IsEnteringInitials()) return;
    // The stick repeats at most once per 200 ms while held; up moves forward in the alphabet.
    const auto ready = [this] { return TicksSince(GetTickCount(), m_JoystickRepeatTime) > kJoystickRepeatMs; };
    const auto acted = [this] { m_JoystickRepeatTime = GetTickCount(); };
    if (ready() && joystick.GetAxisX(kJoystick) >= 1) {
        m_InitialsCursor = std::min(m_InitialsCursor + 1, 3);
        acted();
    }
    if (ready() && joystick.GetAxisX(kJoystick) < 0) {
        m_InitialsCursor = std::max(m_InitialsCursor - 1, 1);
        acted();
    }
    if (ready() && joystick.GetAxisY(kJoystick) < 0) {
        m_Scores->AddInitialLetter(m_Scores->CurrentPosition(), m_InitialsCursor, +1);
        acted();
    }
    if (ready() && joystick.GetAxisY(kJoystick) >= 1) {
        m_Scores->AddInitialLetter(m_Scores->CurrentPosition(), m_InitialsCursor, -1);
        acted();
    }
}

void cPlayState::TogglePause() {
    if (gPaused) {
        ResumeGame();
        gPaused = false;
    } else {
        PauseGame();
        gPaused = true;
    }
}

void cPlayState::PauseGame() {
    gSound->Play("pause.wav");
    GfxMusic& music = gEngine->GetMusic();
    m_MusicPosition = music.GetPosition();
    music.StopMusic();
}

void cPlayState::ResumeGame() {
    gEngine->GetMusic().PlayMusic(true, m_MusicPosition);
    gSound->Play("pause.wav");
}
