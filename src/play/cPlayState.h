// SPDX-License-Identifier: GPL-3.0-or-later
// The play state: one level in play. Owns the board and moving orbs, the firing queue, bonus items,
// score popups, the scores, messages, clouds and the two buttons; its rules are spread over
// the Play*.cpp files of this folder by concern (board, dragon, matching, falling, bonus, update).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/Collection.h"
#include "gfx/Gfx.h"
#include "shell/cBaseState.h"

class cOrb;
class cBonus;
class cScores;
class cMessage;
class cCloud;
class cButton;
class cOptionsScreen;
struct LevelFile;

using OrbRef = std::shared_ptr<cOrb>;
// A bonus item rising to the dragon: its picture, whose data 1..4 hold the kind, value, last move
// and key as the rules keep them, and the last move's exact tick, which a float data value would
// round once the clock passes 2^24 ms (4.7 hours).
struct BonusItem final {
    GfxSprite sprite;
    int32_t movedAt = 0;
};
using BonusItemRef = std::shared_ptr<BonusItem>;
using PopupRef = std::shared_ptr<cBonus>;

// Not final: the tutorial derives from it and changes behaviour only through the hooks below.
class cPlayState : public cBaseState {
public:
    cPlayState();  // runs InitializeGraphics
    ~cPlayState() override;
    cPlayState(const cPlayState&) = delete;
    cPlayState& operator=(const cPlayState&) = delete;

    void InitializeGraphics() override;
    void HandleInput() override;
    void DrawState() override;
    void ProcessState() override;
    void Destroy() override;

    // Virtual: the tutorial's Restart Game button starts level 1 instead.
    virtual void m_RestartButton_ButtonClick(int32_t& mouseButton);
    virtual void m_ExitButton_ButtonClick(int32_t& mouseButton);

    // Read-only views for the runner's report, the tutorial and the tests.
    const cScores* Scores() const { return m_Scores.get(); }
    const Collection<OrbRef>& Board() const { return m_Board; }
    const Collection<OrbRef>& Moving() const { return m_Moving; }
    const Collection<BonusItemRef>& BonusItems() const { return m_BonusItems; }
    const Collection<PopupRef>& Popups() const { return m_Popups; }
    const OrbRef& CurrentOrb() const { return m_CurrentOrb; }
    const OrbRef& NextOrb() const { return m_NextOrb; }
    bool GameOver() const { return m_GameOver; }
    bool LevelComplete() const { return m_LevelComplete; }
    bool LevelIntro() const { return m_LevelIntro; }
    bool AllLevelsDone() const { return m_AllLevelsDone; }
    bool CloudsOn() const { return m_CloudsOn; }
    int32_t RiseInterval() const { return m_RiseInterval; }
    int32_t FloorY() const { return m_FloorY; }
    int32_t DragonColumn() const { return m_DragonColumn; }
    bool DragonMoving() const { return m_DragonMoving; }
    bool DragonFiring() const { return m_DragonFiring; }
    int32_t InitialsCursor() const { return m_InitialsCursor; }
    const std::string& BonusText() const { return m_BonusText; }
    // The "dragon" scenery sprite, or nullptr when the sprite list has none.
    std::shared_ptr<GfxSprite> DragonSprite() const;
    // True while the game-over, level-complete or level-intro display runs.
    bool IsPlayHalted() const;
    // The levels from 1 to highest that have a level file in either folder, in order.
    static std::vector<int32_t> PlayableLevels(int32_t highest);
    // The panel shown once the last level is won, its written lines joined by CR LF.
    static const std::string& CongratulationsText();
    // After a lost game or the last level won, the arrows edit the game's initials.
    bool IsEnteringInitials() const;
    // The options screen opened from the pause screen, or nullptr.
    const cOptionsScreen* Options() const { return m_Options.get(); }

protected:
    // ---- Hooks the tutorial overrides (the play state's behaviour is the default) ----
    // The level file to read for the current level; may report and end the program.
    virtual std::filesystem::path LevelFilePath();
    // The level that path holds, as the game reads it; a trial plays one it holds already.
    virtual LevelFile ReadLevel(const std::filesystem::path& path) const;
    // The text that names the level in the level-file reports.
    virtual std::string LevelReportName() const;
    // Clamps gCurrentLevel and unlocks it in level select.
    virtual void PrepareLevelNumber();
    // Whether the level file carries the clouds line (line 4).
    virtual bool LevelHasCloudsLine() const { return true; }
    // Fills m_NextOrb and m_CurrentOrb after the board is read.
    virtual void FillQueue();
    // Level music, the win and loss tunes and the music fade-in.
    virtual bool HasMusic() const { return true; }
    // The n x 20 chain bonus and its popups on a burn set off by a falling orb.
    virtual bool HasChainBonus() const { return true; }
    // Extra condition for a shot beyond alignment and the firing pose.
    virtual bool MayShoot() const { return true; }
    // Called right after a shot has left the dragon and the queue has moved on.
    virtual void OnOrbFired() {}
    // Called each time a burnt orb has been taken off the board.
    virtual void OnBurntOrbRemoved() {}
    // Called each time a bonus item has been caught or lost and removed.
    virtual void OnBonusItemDone() {}
    // Called each frame after the dragon, cursor and fire-cooldown updates.
    virtual void AfterDragonUpdate() {}
    // While True the orbs, bonus items and the win and loss tests stand still.
    virtual bool IsBoardFrozen() const { return false; }
    // Whether each level start shows the two-second level-number intro.
    virtual bool HasLevelIntro() const { return true; }
    // Whether the game's progress is kept: the score table (at the game's end, Destroy and the
    // release of m_Scores) and the level a win unlocks.
    virtual bool SavesScores() const { return true; }
    // Drawn after the two queue orbs, before the congratulations, buttons and cursor.
    virtual void DrawAfterQueue() {}
    // The high-score table's file.
    virtual std::string ScoresFile() const;
    // The panel's heading over the level label.
    virtual std::string LevelHeading() const { return "Current Level"; }
    // The level's name and number in the intro and level-complete displays.
    virtual void DrawLevelCaption(int16_t alpha);

    // Loads what play would otherwise load at first use: its sounds, and the faces and sizes of
    // the panel's text.
    void PrepareForPlay() const;

    // ---- Board and level files ----
    void CreateLevel();
    void LoadBoardImage(const std::string& name);
    // The two level-file reports, or for a level of the override folder one that names the file
    // and its fault; each ends the program.
    void ReportLevelFileError(int32_t pendingError, const std::filesystem::path& path);
    static std::string BoardKey(int32_t column, int32_t row);
    // A fresh "fired" + counter queue orb of the given type (never seeded here).
    OrbRef MakeQueueOrb(int32_t orbType);
    // The orb to fire from now on, entering its place in the queue from the next orb's.
    void MakeCurrent(OrbRef orb);

    // ---- Dragon, firing and flight ----
    void StartDragonMove(int32_t direction);
    void MoveDragon();
    void AnimateDragon();
    bool IsDragonAligned() const;
    // Whether something whose top-left is at (x, y) is under the dragon and has reached its underside.
    static bool ReachesDragon(const GfxSprite& dragon, float x, float y);
    void FireOrb();
    int32_t ChooseNextOrbType();
    bool BoardHasType(int32_t orbType) const;
    void AnimateQueue();
    void MoveOrb(const OrbRef& orb);
    bool OrbExists(int32_t column, int32_t row) const;
    bool IsMovingOrb(const std::string& key) const;
    void CheckCollision(const OrbRef& orb);

    // ---- Matching and burning ----
    void RemoveMatches(const OrbRef& orb, bool chainBonus);
    void CheckMatches(const OrbRef& orb);
    bool IsInMatchList(const std::string& key) const;

    // ---- Falling ----
    void CheckForFall(const OrbRef& orb);
    void ApplyLandingRule(const OrbRef& orb);

    // ---- Bonus items and popups ----
    void ReleaseBonus(const OrbRef& whiteOrb);
    void ProcessBonusItem(const BonusItemRef& item);
    void AddToScore(int32_t amount);

    // ---- Frame update and level outcome ----
    void ScrollBoard();
    void FadeInMusic();
    void CheckLoss(const OrbRef& orb, const GfxSprite* dragon);
    // The level is lost: the game-over display, the initials entry and the lost tune begin.
    void LoseLevel();
    void CheckWin();
    // The game is over (lost, or the last level won): its score, replay and settings are saved now.
    void KeepFinishedGame();
    // Moves on to the next level, or raises m_AllLevelsDone when there is none.
    virtual void AdvanceLevel();
    // The level file of LevelFilePath on a fresh board, with the dragon back at its start and the
    // level intro; the score carries over.
    void StartNextLevel();
    // Whether a level file for this number exists in either folder.
    static bool LevelFileExists(int32_t level);

    // ---- Set-up, input and tear-down (play screen) ----
    virtual void HandleKeyboard();
    virtual void HandleMouse();
    virtual void HandleJoystick();
    void HandleVolumeKeys(const GfxKeyboard& keyboard);
    void PauseGame();
    void ResumeGame();
    void TogglePause();
    // The pause screen's way to the options: Enter, the gamepad's A, or its Options button.
    void HandlePauseScreen(bool wasPaused);
    void OpenOptions();
    void CloseOptions();

    // ---- Drawing and HUD (play screen) ----
    void DrawBonusText();
    virtual void DrawHighScoreInitials();
    // The level number in the panel; the tutorial shows its own label.
    virtual void DrawLevelLabel();
    void ShowLevelIntro();
    virtual void ShowLevelComplete();
    void ShowGameOver();
    void DrawVolume();  // for a second after F7 or F8

    // ---- Fields, in the order the rules list them ----
    std::string m_HudFont = "Tessivar";  // known from construction, so a late set-up can ready it early
    std::unique_ptr<cScores> m_Scores;
    std::unique_ptr<cMessage> m_Message;
    std::unique_ptr<cCloud> m_Clouds;
    Collection<OrbRef> m_Board;
    Collection<OrbRef> m_Moving;
    Collection<std::string> m_MatchList;
    Collection<BonusItemRef> m_BonusItems;
    Collection<PopupRef> m_Popups;
    OrbRef m_CurrentOrb;
    OrbRef m_NextOrb;
    bool m_GameOver = false;
    int32_t m_GameOverTime = 0;
    int16_t m_GameOverAlpha = 0;
    bool m_LevelComplete = false;
    int32_t m_CompleteTime = 0;
    int16_t m_CompleteAlpha = 0;
    bool m_LevelIntro = false;
    int32_t m_IntroTime = 0;
    int32_t m_CompleteBonus = 0;
    int32_t m_PopupCounter = 0;
    int32_t m_DragonMoveTime = 0;
    bool m_DragonMoving = false;
    float m_DragonMoved = 0;
    int16_t m_DragonDirection = 0;
    int32_t m_DragonColumn = 0;
    int32_t m_DragonFrameTime = 0;
    int32_t m_DragonFrame = 0;
    bool m_DragonFiring = false;
    int32_t m_FireTime = 0;
    int32_t m_OrbCounter = 0;
    int32_t m_RiseInterval = 0;
    int32_t m_FloorY = 0;
    bool m_CloudsOn = false;
    int32_t m_ScrollTime = 0;
    int32_t m_CloudTime = 0;
    int32_t m_MusicPosition = 0;
    int32_t m_BonusTextMoveTime = 0;
    int32_t m_BonusTextStart = 0;
    int32_t m_BonusTextY = 0;
    int32_t m_BonusTextX = 0;
    std::string m_BonusText;
    int32_t m_InitialsCursor = 0;
    int32_t m_JoystickRepeatTime = 0;
    int32_t m_VolumeKey = 0;         // F7 or F8 while held since its press, else 0
    int32_t m_VolumeKeyTime = 0;     // when it last stepped the volume
    bool m_VolumeRepeating = false;  // it has stepped again since the press
    bool m_VolumeShown = false;      // the volume readout has been shown
    int32_t m_VolumeShownTime = 0;   // since when
    bool m_AllLevelsDone = false;
    int32_t m_NextOrbFadeTime = 0;
    int32_t m_CurrentOrbSlideTime = 0;
    std::unique_ptr<cButton> m_RestartButton;
    std::unique_ptr<cButton> m_ExitButton;
    std::unique_ptr<cButton> m_OptionsButton;   // on the pause screen
    std::unique_ptr<cOptionsScreen> m_Options;  // open over the paused game
    bool m_OptionsDone = false;                 // the player left it; released after its input

    // Builds nothing: for the rule tests, which set up only the fields they need.
    struct NoSetUp {};
    explicit cPlayState(NoSetUp);
};
