// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/cTitleState.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "base/Globals.h"
#include "engine/cMouse.h"
#include "engine/cSound.h"
#include "engine/cTextures.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "play/cPlayState.h"
#include "shell/AssetTable.h"

namespace {
constexpr int32_t kJoyRepeatMs = 200;  // a held stick moves at most once per this time
constexpr int32_t kFadeMs = 1000;
// Where level select draws the level number; the arrows sit either side of it, centred on it.
constexpr int32_t kLabelX = 210, kLabelY = 260, kNumberX = 380, kNumberY = 270, kNumberHeight = 57;
constexpr int32_t kArrowGap = 3;
constexpr int32_t kArrowY = kNumberY + (kNumberHeight - assets::kLevelArrows[0].h) / 2;
constexpr int32_t kLeftArrowX = kNumberX - kArrowGap - assets::kLevelArrows[0].w;
constexpr float kHintY = kNumberY + kNumberHeight + 8;

struct SpriteSetup {
    std::string_view texture;
    assets::Rect cell;
    float x, y;
    bool visible;
};

void Apply(GfxSprite& sprite, const SpriteSetup& setup) {
    sprite.SetTexture(gTextures->Texture(std::string(setup.texture)));
    sprite.SetSourceRect(setup.cell.x, setup.cell.y, setup.cell.w, setup.cell.h);
    sprite.SetVisible(setup.visible);
    sprite.SetBlend(true);
    sprite.SetX(setup.x);
    sprite.SetY(setup.y);
}

SpriteRef MakeSprite(const SpriteSetup& setup) {
    auto sprite = std::make_shared<GfxSprite>();
    Apply(*sprite, setup);
    return sprite;
}
}  // namespace

cTitleState::cTitleState() { InitializeGraphics(); }

void cTitleState::InitializeGraphics() {
    // Scenery: the picture and the level-select heading (the highlighted Level Select picture).
    gSprites->Add_Sprite(std::make_shared<GfxSprite>(), "bg");
    Apply(*gSprites->Item("bg"), {assets::kTitle, {0, 0, assets::kScreenW, assets::kScreenH}, 0, 0, true});
    gSprites->Add_Sprite(std::make_shared<GfxSprite>(), "levelselect");
    Apply(*gSprites->Item("levelselect"), {assets::kButtonsLit, assets::kLevelSelect.rect, 227, 180, false});

    SpriteRef back = MakeSprite({assets::kBackOk, assets::kBack.rect, 20, 150, true});
    SpriteRef ok = MakeSprite({assets::kBackOk, assets::kOk.rect, 530, 150, true});
    SpriteRef newGame = MakeSprite({assets::kButtonsRest, assets::kNewGame.rect, 240, 182, true});
    SpriteRef tutorial = MakeSprite({assets::kButtonsRest, assets::kTutorial.rect, 255, 235, true});
    SpriteRef levelSelect = MakeSprite({assets::kButtonsRest, assets::kLevelSelect.rect, 222, 285, true});
    SpriteRef exit = MakeSprite({assets::kButtonsRest, assets::kExit.rect, 230, 335, true});

    m_Back.Create(back, "");
    m_OK.Create(ok, "");
    m_NewGame.Create(newGame, "");
    m_Tutorial.Create(tutorial, "");
    m_LevelSelect.Create(levelSelect, "");
    m_Exit.Create(exit, "");
    // Every button asks for its own action; DoMenuAction decides whether it applies now.
    m_NewGame.ButtonClick = [this](int32_t&) { DoMenuAction(NewGame); };
    m_Tutorial.ButtonClick = [this](int32_t&) { DoMenuAction(Tutorial); };
    m_LevelSelect.ButtonClick = [this](int32_t&) { DoMenuAction(LevelSelect); };
    m_Exit.ButtonClick = [this](int32_t&) { DoMenuAction(Exit); };
    m_Back.ButtonClick = [this](int32_t&) { DoMenuAction(Back); };
    m_OK.ButtonClick = [this](int32_t&) { DoMenuAction(OK); };

    m_Arrow.SetTexture(gTextures->Texture(std::string(assets::kBackOk)));
    m_Arrow.SetBlend(true);
    m_Arrow.SetY(kArrowY);

    m_Message = std::make_unique<cMessage>();
    m_Fader = std::make_unique<cFade>();
    m_Fader->FadeDone = [this] { Fader_FadeDone(); };
    m_Selection = NewGame;
    m_InLevelSelect = false;

    GfxMusic& music = gEngine->GetMusic();
    music.LoadMusic("game\\sounds\\puzzle3.mp3", 0);
    music.PlayMusic(true, 0);
}

void cTitleState::HandleInput() {
    HandleKeyboard();
    HandleMouse();
    HandleJoystick();
}

void cTitleState::HandleKeyboard() {
    // Once the fade has begun the choice is made: moving the selection now could leave the fade
    // ending on an item without an action and the screen covered for good.
    if (Fading()) return;
    const GfxKeyboard& keyboard = gEngine->GetKeyboard();
    if (!m_InLevelSelect) {
        if (keyboard.IsKeyPressed(GfxKey::Up)) MoveSelection(-1);
        if (keyboard.IsKeyPressed(GfxKey::Down)) MoveSelection(+1);
        if (keyboard.IsKeyPressed(GfxKey::Enter)) DoMenuAction(m_Selection);
    } else {
        if (keyboard.IsKeyPressed(GfxKey::Up)) ChangeLevel(+1);
        if (keyboard.IsKeyPressed(GfxKey::Down)) ChangeLevel(-1);
        if (keyboard.IsKeyPressed(GfxKey::Right)) ChangeLevel(+1);
        if (keyboard.IsKeyPressed(GfxKey::Left)) ChangeLevel(-1);
        if (keyboard.IsKeyPressed(GfxKey::Enter)) {
            m_Selection = OK;
            DoMenuAction(OK);
        }
    }
}

void cTitleState::HandleMouse() {
    gMouse->PollFullScreenButtons();
    // All six are tested on both screens; a hidden button's click is refused by DoMenuAction.
    cButton* const buttons[] = {&m_NewGame, &m_Tutorial, &m_Exit, &m_LevelSelect, &m_Back, &m_OK};
    const float x = gMouse->X;
    const float y = gMouse->Y;
    for (cButton* button : buttons) button->CheckMouseMove(x, y);
    for (cButton* button : buttons) button->CheckMouseDown(1, x, y);
    for (cButton* button : buttons) button->CheckMouseUp(1, x, y);
    HandleLevelMouse();
}

void cTitleState::HandleLevelMouse() {
    const bool down = gMouse->IsButtonPressed(1);
    const bool pressed = down && !m_MouseWasDown;
    m_MouseWasDown = down;
    if (!m_InLevelSelect || Fading() || m_Levels.empty()) return;
    // Up and away from the player is up a level, as the Up key; a whole turn through the levels
    // changes nothing, so only the rest of one is walked.
    const int32_t steps = gEngine->GetMouse().GetWheelSteps();
    const auto count = static_cast<int32_t>(m_Levels.size());
    for (int32_t n = std::abs(steps) % count; n > 0; --n) ChangeLevel(steps > 0 ? +1 : -1);
    if (pressed)
        if (const int16_t step = LevelStepAt(gMouse->X, gMouse->Y)) ChangeLevel(step);
}

int16_t cTitleState::LevelStepAt(float x, float y) const {
    const assets::Rect& arrow = assets::kLevelArrows[0];
    if (y < kNumberY - 6 || y >= kNumberY + kNumberHeight + 6 || x < kLeftArrowX || x >= m_RightArrowX + arrow.w)
        return 0;
    const float middle = kNumberX + cMessage::NumberWidth(std::to_string(m_SelectedLevel)) / 2.0F;
    return x < middle ? -1 : +1;
}

bool cTitleState::JoyMoveDue(int32_t now) const { return TicksSince(now, m_LastJoyMove) > kJoyRepeatMs; }

void cTitleState::HandleJoystick() {
    GfxJoystick& joystick = gEngine->GetJoystick();
    joystick.Poll();
    if (Fading()) return;  // as for the keys: the choice is made

    if (!m_InLevelSelect) {
        if (joystick.GetAxisY(1) >= 1 && JoyMoveDue(GetTickCount())) {
            MoveSelection(+1);
            m_LastJoyMove = GetTickCount();
        }
        if (joystick.GetAxisY(1) < 0 && JoyMoveDue(GetTickCount())) {
            MoveSelection(-1);
            m_LastJoyMove = GetTickCount();
        }
        if (joystick.IsButtonPressed(1, 0)) DoMenuAction(m_Selection);
    } else {
        const auto step = [&](bool moved, int16_t delta) {
            if (moved && JoyMoveDue(GetTickCount())) {
                ChangeLevel(delta);
                m_LastJoyMove = GetTickCount();
            }
        };
        step(joystick.GetAxisY(1) >= 1, -1);
        step(joystick.GetAxisY(1) < 0, +1);
        step(joystick.GetAxisX(1) >= 1, +1);
        step(joystick.GetAxisX(1) < 0, -1);
        if (joystick.IsButtonPressed(1, 3)) {
            m_Selection = Back;
            DoMenuAction(Back);
        }
        if (joystick.IsButtonPressed(1, 0)) {
            m_Selection = OK;
            DoMenuAction(OK);
        }
    }
}

void cTitleState::MoveSelection(int16_t delta) {
    m_Selection = static_cast<int16_t>(m_Selection + delta);
    if (m_Selection < 0) m_Selection = 3;
    if (m_Selection > 3) m_Selection = 0;
}

void cTitleState::ChangeLevel(int16_t delta) {
    // One step through the playable levels, wrapping around at either end.
    const auto count = static_cast<int32_t>(m_Levels.size());
    if (count == 0) return;
    const auto at = std::find(m_Levels.begin(), m_Levels.end(), m_SelectedLevel) - m_Levels.begin();
    const int32_t next = ((static_cast<int32_t>(at) + (delta > 0 ? 1 : -1)) % count + count) % count;
    m_SelectedLevel = m_Levels[static_cast<size_t>(next)];
}

void cTitleState::ProcessState() {
    if (gMouse->CursorOutsideWindow()) gMouse->ShowDefaultCursor();
    if (!gWindowed) gMouse->SetFullScreenPosition();
    if (!Fading()) UpdateHoverSelection();
    UpdateButtonTextures();
}

void cTitleState::UpdateHoverSelection() {
    // The last button tested wins where two overlap; a cursor over none keeps the selection.
    if (!m_InLevelSelect) {
        if (m_NewGame.IsMouseOver()) m_Selection = NewGame;
        if (m_Exit.IsMouseOver()) m_Selection = Exit;
        if (m_Tutorial.IsMouseOver()) m_Selection = Tutorial;
        if (m_LevelSelect.IsMouseOver()) m_Selection = LevelSelect;
    } else {
        if (m_Back.IsMouseOver()) m_Selection = Back;
        if (m_OK.IsMouseOver()) m_Selection = OK;
    }
}

void cTitleState::UpdateButtonTextures() {
    const int32_t highlighted = gTextures->Texture("buttons2b.png");
    const int32_t normal = gTextures->Texture("buttons1b.png");
    m_NewGame.ChangeTexture(m_Selection == NewGame ? highlighted : normal);
    m_Tutorial.ChangeTexture(m_Selection == Tutorial ? highlighted : normal);
    m_LevelSelect.ChangeTexture(m_Selection == LevelSelect ? highlighted : normal);
    m_Exit.ChangeTexture(m_Selection == Exit ? highlighted : normal);
}

void cTitleState::DrawState() {
    gSprites->RenderAll();
    if (!m_InLevelSelect) {
        m_NewGame.Render(-1, -1);
        m_Tutorial.Render(-1, -1);
        m_Exit.Render(-1, -1);
        m_LevelSelect.Render(-1, -1);
    } else {
        m_Message->DrawLevel(kLabelX, kLabelY, 255);
        m_Message->DrawNumber(std::to_string(m_SelectedLevel), kNumberX, kNumberY, 255);
        DrawLevelChooser();
        m_Back.Render(-1, -1);
        m_OK.Render(-1, -1);
    }
    gMouse->Render();
    // Last, on top of everything; its FadeDone may replace this state.
    if (m_Fader->IsFading()) m_Fader->Render();
}

void cTitleState::DrawLevelChooser() {
    const int16_t under = Fading() ? 0 : LevelStepAt(gMouse->X, gMouse->Y);
    for (const int16_t side : {-1, +1}) {
        const size_t i = side < 0 ? 0 : 1;
        const assets::Rect& cell = under == side ? assets::kLevelArrowsLit[i] : assets::kLevelArrows[i];
        m_Arrow.SetSourceRect(cell.x, cell.y, cell.w, cell.h);
        m_Arrow.SetX(static_cast<float>(side < 0 ? kLeftArrowX : m_RightArrowX));
        m_Arrow.Render();
    }
    // Centred under the label, the number and its arrows.
    const int32_t right = m_RightArrowX + assets::kLevelArrows[1].w;
    gEngine->GetText().DrawText(kLabelX, kHintY, static_cast<float>(right - kLabelX), 20,
                                "Up/Down or the wheel to choose", 2, -1, "Arial", 10, true, 0, 1, 1,
                                GfxUtility::MakeColor(255, 0, 0, 0));
}

void cTitleState::DoMenuAction(int16_t code) {
    if (m_Fader->IsFading()) return;
    const bool titleItem = code >= NewGame && code <= Exit;
    const bool levelSelectItem = code == Back || code == OK;
    if (code != m_Selection || (titleItem && m_InLevelSelect) || (levelSelectItem && !m_InLevelSelect)) return;
    if (!titleItem && !levelSelectItem) return;

    gEngine->GetSoundStore().PlaySound(gSound->Sound("buttonclick.wav"), 0, 0);
    switch (code) {
        case NewGame:
        case Tutorial:
        case OK:
            m_Fader->StartFade(cFade::FadeOut, kFadeMs);
            gEngine->GetMusic().UnloadMusic();
            break;
        case LevelSelect:
            m_InLevelSelect = true;
            if (SpriteRef heading = gSprites->Item("levelselect")) heading->SetVisible(true);
            // Progress made on levels since removed (or on a larger level set) must not offer a
            // level that is not there: choosing it would end the game with a report.
            m_Levels = cPlayState::PlayableLevels(gHighestLevel);
            if (m_Levels.empty()) m_Levels.push_back(1);  // level 1 is always open
            m_SelectedLevel = m_Levels.front();
            m_RightArrowX = 0;
            for (const int32_t level : m_Levels)
                m_RightArrowX = std::max(m_RightArrowX, cMessage::NumberWidth(std::to_string(level)));
            m_RightArrowX += kNumberX + kArrowGap;
            break;
        case Exit:
            gRunning = false;  // the frame loop ends and the program shuts down, without a fade
            break;
        case Back:
            m_InLevelSelect = false;
            if (SpriteRef heading = gSprites->Item("levelselect")) heading->SetVisible(false);
            m_Selection = NewGame;
            break;
        default:
            break;
    }
}

void cTitleState::Fader_FadeDone() {
    // Runs inside DrawState; this object stays alive until DrawState returns.
    if (!m_InLevelSelect && m_Selection == NewGame) {
        Destroy();
        SetState(StatePlay);
    } else if (!m_InLevelSelect && m_Selection == Tutorial) {
        Destroy();
        SetState(StateTutorial);
    } else if (m_InLevelSelect && m_Selection == OK) {
        Destroy();
        gCurrentLevel = m_SelectedLevel;
        SetState(StatePlay);
    }
}

void cTitleState::Destroy() {
    const int32_t count = gSprites->Count();
    for (int32_t i = 0; i < count; ++i) gSprites->Remove_Sprite(1);
}
