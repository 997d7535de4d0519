// SPDX-License-Identifier: GPL-3.0-or-later
// The title screen with New Game, Tutorial, Level Select and Exit, and on the same object the
// level-select screen with Back and OK. Owns its six buttons, their sprites, the exit fade and
// the message drawer; its two scenery sprites live in gSprites while it is current.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/cButton.h"
#include "engine/cSprites.h"
#include "play/cMessage.h"
#include "shell/cBaseState.h"
#include "ui/cFade.h"

class cTitleState final : public cBaseState {
public:
    // Action codes: the selected item and the argument of DoMenuAction.
    enum Action : int16_t { NewGame = 0, Tutorial = 1, LevelSelect = 2, Exit = 3, Back = 4, OK = 5 };

    cTitleState();  // runs InitializeGraphics, which also starts the title music

    void InitializeGraphics() override;
    void HandleInput() override;
    void DrawState() override;
    void ProcessState() override;
    void Destroy() override;

    // For the scripted runner's report and the tests.
    int Selection() const { return m_Selection; }
    bool InLevelSelect() const { return m_InLevelSelect; }
    int SelectedLevel() const { return m_SelectedLevel; }
    bool Fading() const { return m_Fader && m_Fader->IsFading(); }

private:
    void HandleKeyboard();
    void HandleMouse();
    void HandleJoystick();
    void UpdateHoverSelection();
    void UpdateButtonTextures();
    void MoveSelection(int16_t delta);
    void ChangeLevel(int16_t delta);
    void DoMenuAction(int16_t code);
    void Fader_FadeDone();
    bool JoyMoveDue(int32_t now) const;
    // Level select's mouse: the wheel anywhere, a press on an arrow or a half of the number.
    void HandleLevelMouse();
    int16_t LevelStepAt(float x, float y) const;  // -1, +1, or 0 away from the number
    void DrawLevelChooser();

    std::unique_ptr<cMessage> m_Message;  // the Level label and the level number
    int16_t m_Selection = NewGame;        // shared by keys, joystick and mouse hover
    int32_t m_LastJoyMove = 0;            // tick of the last joystick-driven move
    bool m_InLevelSelect = false;         // the level-select screen is showing
    int32_t m_SelectedLevel = 1;          // the level shown on the level-select screen
    std::vector<int32_t> m_Levels;        // the levels level select offers, in order
    int32_t m_RightArrowX = 0;            // after the widest of those numbers, so it never moves
    bool m_MouseWasDown = false;          // the left button in the previous frame: a press steps once
    GfxSprite m_Arrow;                    // either arrow beside the level number, drawn in turn
    cButton m_NewGame, m_Tutorial, m_Exit, m_LevelSelect, m_Back, m_OK;
    std::unique_ptr<cFade> m_Fader;  // the one-second fade out of this screen
};
