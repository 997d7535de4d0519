// SPDX-License-Identifier: GPL-3.0-or-later
// The tutorial's differences from the play state: its level, queue, lesson script, input and
// the Level Complete display that hands over to the game.
#include "ui/cTutorialState.h"

#include "base/Globals.h"
#include "engine/cSound.h"
#include "engine/cSprites.h"
#include "game/PlayGeometry.h"
#include "game/cOrb.h"
#include "gfx/Clock.h"
#include "play/cMessage.h"

namespace {

constexpr int32_t kBlue = 0, kRed = 1, kGreen = 2, kYellow = 3;

// Tried in this order; see LessonShot.
constexpr std::array<LessonShot, 4> kLessonShots{{
    {kBlue, 3, 0, 4, 4, OrbKind::Red, 3, OrbKind::Blue},
    {kRed, 6, 17, 17, 7, OrbKind::Green, 6, OrbKind::Red},
    {kGreen, 8, 13, 13, 9, OrbKind::Yellow, 8, OrbKind::Green},
    {kYellow, 7, 7, 7, 10, OrbKind::Yellow, 9, OrbKind::Yellow},
}};

struct LessonBox {
    int32_t height;
    const char* text;
};

// Steps 0 to 13. The players know these words; keep them, trailing spaces included.
constexpr LessonBox kLessons[] = {
    {40,
     "Welcome to the Kindlewisp Tutorial. This tutorial will show you the ins and "
     "\r\n"
     "outs of the game and help you on your way to becoming a master of Kindlewisp."},
    {100,
     "The goal in Kindlewisp is to remove all colored orbs. Orbs burn up when you "
     "\r\n"
     "fire a colored orb on to an orb of the same color. If there are at least 3 orbs with "
     "\r\n"
     "matching colors all orbs that match will burn up. You then receive points for "
     "\r\n"
     "each orb that is burned. The more orbs that are burned up in a single chain, the "
     "\r\n"
     "more points you earn. When all colored orbs have been removed from a level, "
     "\r\n"
     "you will then be taken to the next, more difficult level."},
    {60,
     "You can see the next orb that will be fired by looking over to the panel on the "
     "\r\n"
     "left. The orb on the right is the one that will be fired next. The smaller orb "
     "\r\n"
     "on the left is the next one fired. Use this to plan your next move. Go ahead, fire "
     "\r\n"
     "the blue orb onto the other blue ones to the left and see what happens. "},
    {30, "Ooops, you missed the blue orbs on the left. Try it again. "},
    {100,
     "And that is how you remove the orbs from the level. You do not need to "
     "\r\n"
     "remove black or white orbs, only colored orbs. White orbs can contain "
     "\r\n"
     "either bonuses or penalties. Firing any colored orb on to a white orb "
     "\r\n"
     "will destroy the white one. Also, if an orb above the white orb falls "
     "\r\n"
     "onto it, the white orb will be destroyed."},
    {75,
     "Give the white orbs a try by removing the red orbs on the far right of "
     "\r\n"
     "the screen. The green orb will fall on to the white one and release the "
     "\r\n"
     "bonus. If you catch the bonus you are awarded the points for it, miss it "
     "\r\n"
     "and it will be gone forever."},
    {30, "You missed the red orb! The second one from the right is the one you want!"},
    {100,
     "There is no way to know for sure what a bonus orb holds. Look carefully "
     "\r\n"
     "before going after the contents or you may be sorry! The treasure chest "
     "\r\n"
     "will always grant you bonus points, the tornado will take away your points, "
     "\r\n"
     "and the fireball will make your next shot a fireball. Break open the next two "
     "\r\n"
     "bonus orbs to see what the tornado and fireball look like."},
    {30, "You missed the green orb! Break open the bonus orb on the right!"},
    {30, "You missed the yellow orb! Break open the last bonus orb!"},
    {100,
     "Good job! You got all the bonus orbs! You should have noticed the fireball come "
     "\r\n"
     "out of that last bonus orb. Fireballs are one shot kills. Any orb a fireball hits "
     "\r\n"
     "will destroy that orb and only that orb. Not only do fireballs come out of some "
     "\r\n"
     "bonus orbs, but you can also get them randomly while playing. Make sure to look "
     "\r\n"
     "at your next orb to see if it is a fireball or not!"},
    {75,
     "Our next obstacle is the black orb. Black orbs can only be destroyed by shooting "
     "\r\n"
     "them with fireballs. There are two different kinds of black orbs, ones that fall "
     "\r\n"
     "like normal colored orbs and ones that will not fall. One thing to remember about "
     "\r\n"
     "black orbs is that you do not need to destroy them to finish the level!"},
    {100,
     "The last thing to know is that when there are no more orbs left in a row, "
     "\r\n"
     "you can get rid of your next orb by firing it in a place where it will not "
     "\r\n"
     "hit another orb. However, be careful when getting rid of orbs. You will "
     "\r\n"
     "lose points for every orb that falls off the board, so watch out!"},
    {75,
     "That's it for the tutorial! You can either finish up the tutorial and get the"
     "\r\n"
     "hang of the gameplay or push the Restart Game button to start on Level 1. "
     "\r\n"
     "Good Luck!"},
};
static_assert(std::size(kLessons) == cTutorialState::kFreePlayStep);

// Steps whose box shows again every frame until Enter moves the script on.
constexpr bool ShowsEveryFrame(int32_t step) {
    return step == 1 || step == 2 || step == 5 || step == 11 || step == 12 || step == 13;
}

constexpr int32_t kJoystick = 1;
constexpr int32_t kFireButton = 0, kAdvanceButton = 1;
constexpr int16_t kTrue = -1;

}  // namespace

cTutorialState::cTutorialState() : cPlayState(NoSetUp{}) {
    // Built here rather than by the base constructor, so that the tutorial's hooks are in force.
    InitializeGraphics();
}

std::span<const LessonShot> cTutorialState::LessonShots() { return kLessonShots; }

LessonVerdict cTutorialState::JudgeLessonShot(int32_t step, const std::array<bool, 4>& targetHit, int32_t column) {
    LessonVerdict verdict;
    verdict.step = step;
    for (const LessonShot& shot : kLessonShots) {
        if (targetHit[static_cast<size_t>(shot.target)] || step < shot.fromStep) continue;
        verdict.target = shot.target;
        verdict.hit = column >= shot.firstHit && column <= shot.lastHit;
        verdict.step = verdict.hit ? shot.hitStep : shot.missStep;
        verdict.orbToFire = verdict.hit ? shot.hitOrb : shot.missOrb;
        break;
    }
    return verdict;
}

std::string cTutorialState::LessonText(int32_t step) {
    if (step < 0 || step >= kFreePlayStep) return "";
    return kLessons[step].text;
}

int32_t cTutorialState::LessonHeight(int32_t step) {
    if (step < 0 || step >= kFreePlayStep) return 0;
    return kLessons[step].height;
}

std::filesystem::path cTutorialState::TutorialLevelPath() {
    return gProgramFolder / "game" / "levels" / "tutorial.dat";
}

void cTutorialState::InitializeGraphics() {
    cPlayState::InitializeGraphics();
    m_LessonStep = 0;
    m_ShowLesson = true;
    m_CanShoot = true;
    m_TargetHit = {};
}

std::filesystem::path cTutorialState::LevelFilePath() { return TutorialLevelPath(); }

void cTutorialState::FillQueue() {
    m_NextOrb = MakeQueueOrb(OrbKind::Red);
    MakeCurrent(MakeQueueOrb(OrbKind::Blue));
}

void cTutorialState::m_RestartButton_ButtonClick(int32_t& /*mouseButton*/) {
    gSound->Play("buttonclick.wav");
    Destroy();
    gCurrentLevel = 1;
    SetState(StatePlay);
}

void cTutorialState::m_ExitButton_ButtonClick(int32_t& /*mouseButton*/) {
    gSound->Play("buttonclick.wav");
    Destroy();
    SetState(StateTitle);
}

// ---- The script ----

void cTutorialState::OnOrbFired() {
    if (m_LessonStep >= 12) return;  // the last boxes only talk; shots there are the player's own
    m_LastShotKey = m_Moving.Count() > 0 ? m_Moving.Entries().back().key : std::string();
    m_CanShoot = false;
    CheckLessonShot();
}

void cTutorialState::CheckLessonShot() {
    const LessonVerdict verdict = JudgeLessonShot(m_LessonStep, m_TargetHit, m_DragonColumn);
    if (verdict.target < 0) return;
    m_LessonStep = verdict.step;
    if (verdict.hit) {
        m_TargetHit[static_cast<size_t>(verdict.target)] = true;
    } else {
        m_ShowLesson = true;
        TakeShotBack();
        m_CanShoot = true;
    }
    ReplaceOrbToFire(verdict.orbToFire);
}

void cTutorialState::TakeShotBack() {
    // The shot just fired, by its key: an orb still falling from an earlier burn may be older
    // in m_Moving, and taking that one instead would tear the board apart.
    if (!m_LastShotKey.empty() && m_Moving.Exists(m_LastShotKey)) m_Moving.Remove(m_LastShotKey);
}

void cTutorialState::ReplaceOrbToFire(int32_t orbType) { MakeCurrent(MakeQueueOrb(orbType)); }

void cTutorialState::ShowBoxAndAllowShot() {
    m_ShowLesson = true;
    m_CanShoot = true;
}

void cTutorialState::AutoShowLesson() {
    if (ShowsEveryFrame(m_LessonStep)) m_ShowLesson = true;
}

void cTutorialState::OnBurntOrbRemoved() {
    if (m_TargetHit[kBlue] && m_LessonStep == 4) ShowBoxAndAllowShot();
}

void cTutorialState::OnBonusItemDone() {
    if (m_TargetHit[kRed] && m_LessonStep == 7) ShowBoxAndAllowShot();
    if (m_TargetHit[kGreen] && m_LessonStep == 9) m_CanShoot = true;
    if (m_TargetHit[kYellow] && m_LessonStep == 10) ShowBoxAndAllowShot();
}

void cTutorialState::AdvanceLesson() {
    if (!m_ShowLesson || IsPlayHalted()) return;
    m_ShowLesson = false;
    m_LessonStep += 1;
}

// ---- Input ----

void cTutorialState::HandleKeyboard() {
    const GfxKeyboard& keyboard = gEngine->GetKeyboard();
    if (!m_ShowLesson && !gPaused) {
        if (keyboard.IsKeyPressed(GfxKey::Escape)) gRunning = false;
        if (!IsPlayHalted() && keyboard.IsKeyDown(GfxKey::Right)) StartDragonMove(+1);
        if (!IsPlayHalted() && keyboard.IsKeyDown(GfxKey::Left)) StartDragonMove(-1);
        if (!IsPlayHalted() && keyboard.IsKeyDown(GfxKey::Space)) FireOrb();
    }
    if (keyboard.IsKeyPressed(GfxKey::Enter)) AdvanceLesson();
}

void cTutorialState::HandleJoystick() {
    GfxJoystick& joystick = gEngine->GetJoystick();
    joystick.Poll();
    if (!m_ShowLesson && !gPaused && !IsPlayHalted()) {
        if (joystick.GetAxisX(kJoystick) > 0) StartDragonMove(+1);
        if (joystick.GetAxisX(kJoystick) < 0) StartDragonMove(-1);
        if (joystick.IsButtonDown(kJoystick, kFireButton)) FireOrb();
    }
    if (joystick.IsButtonPressed(kJoystick, kAdvanceButton)) AdvanceLesson();
}

// ---- Drawing ----

void cTutorialState::DrawLevelLabel() {
    gEngine->GetText().DrawText(PlayGeometry::TextX, PlayGeometry::LevelY, PlayGeometry::TextW, PlayGeometry::TextH,
                                "Tutorial", 1, -1, "Arial", 8, true, 0, 0, 0, 0);
}

void cTutorialState::DrawLesson() {
    if (!m_ShowLesson || m_LessonStep >= kFreePlayStep) return;
    m_Message->DrawMessageBox(LessonText(m_LessonStep), PlayGeometry::MessageX, PlayGeometry::MessageY,
                              PlayGeometry::MessageW, LessonHeight(m_LessonStep), 8, kTrue, true);
}

void cTutorialState::DrawTutorialComplete() {
    const int32_t now = GetTickCount();
    if (!m_TutorialDone) {
        m_TutorialDone = true;
        m_TutorialAlpha = 0;
        m_TutorialAlphaTime = now;
    }
    if (m_TutorialAlpha < 255 && TicksSince(now, m_TutorialAlphaTime) > 10) {
        m_TutorialAlpha += 1;
        m_TutorialAlphaTime = now;
    } else if (m_TutorialAlpha == 255 && TicksSince(now, m_TutorialAlphaTime) >= 1001) {
        // Into the game at the level the player had reached; the play state builds a new sprite list.
        SetState(StatePlay);
        return;
    }
    m_Message->DrawLevel(PlayGeometry::LevelCaptionX, PlayGeometry::LevelCaptionY, m_TutorialAlpha);
    m_Message->DrawComplete(PlayGeometry::CompleteX, PlayGeometry::CompleteY, m_TutorialAlpha);
}
