// SPDX-License-Identifier: GPL-3.0-or-later
#include "Editor.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <system_error>
#include <utility>

#include "base/Globals.h"
#include "game/LevelCells.h"
#include "game/PlayGeometry.h"
#include "game/cOrb.h"
#include "gfx/Gfx.h"
#include "gfx/GfxFile.h"
#include "shell/AssetTable.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// The board: 20-pixel cells, row 19 at the top; the game's own are larger.
constexpr float kGridX = 252, kGridY = 36, kCell = 20, kScale = kCell / PlayGeometry::Cell;
// The board's part of a background picture, as the game shows it behind the columns.
constexpr int32_t kBoardPixelsW = PlayGeometry::Columns * PlayGeometry::Cell;
constexpr int32_t kBoardPixelsH = PlayGeometry::Rows * PlayGeometry::Cell;

struct PaletteEntry {
    char cell;
    const char* name;
};
constexpr std::array<PaletteEntry, 14> kPalette = {{{'R', "red"},
                                                    {'B', "blue"},
                                                    {'G', "green"},
                                                    {'P', "purple"},
                                                    {'Y', "yellow"},
                                                    {'A', "a random colour"},
                                                    {'I', "invisible, holds up what is above"},
                                                    {'1', "black, falls"},
                                                    {'2', "black, never falls"},
                                                    {'W', "white with a treasure chest"},
                                                    {'X', "white with a tornado"},
                                                    {'Z', "white with a fireball"},
                                                    {'U', "white with a surprise"},
                                                    {LevelDraft::Empty, "empty"}}};

// Keys that pick a cell: DirectInput scan codes.
constexpr std::array<std::pair<int32_t, char>, 17> kCellKeys = {{{19, 'R'},
                                                                 {48, 'B'},
                                                                 {34, 'G'},
                                                                 {25, 'P'},
                                                                 {21, 'Y'},
                                                                 {30, 'A'},
                                                                 {23, 'I'},
                                                                 {2, '1'},
                                                                 {3, '2'},
                                                                 {17, 'W'},
                                                                 {45, 'X'},
                                                                 {44, 'Z'},
                                                                 {22, 'U'},
                                                                 {52, LevelDraft::Empty},
                                                                 {57, LevelDraft::Empty},
                                                                 {211, LevelDraft::Empty},
                                                                 {11, LevelDraft::Empty}}};
constexpr int32_t kEsc = 1, kLeftCtrl = 29, kRightCtrl = 157, kLeftShift = 42, kRightShift = 54, kS = 31, kD = 32,
                  kZ = 44, kY = 21, kF5 = 63, kLeftBracket = 26, kRightBracket = 27;

// Where each control sits.
constexpr float kFieldX = 120;
const std::array<float, 3> kFieldY = {46, 70, 94};
constexpr float kPaletteX = 48, kPaletteY = 122, kPaletteStep = 28;
constexpr float kButtonsY = 196;

int32_t Colour(int32_t r, int32_t g, int32_t b) { return GfxUtility::MakeColor(255, r, g, b); }
const int32_t kWhite = -1, kGrey = Colour(200, 200, 200), kErrorColour = Colour(255, 130, 120),
              kWarningColour = Colour(255, 220, 100);

// The orb type and the bonus a cell is drawn with: the game's own, but a random colour shows as
// purple and an invisible orb as a faint red, each with a mark.
std::pair<int32_t, int32_t> OrbOf(char letter) {
    const LevelCell* cell = FindLevelCell(letter);
    if (!cell) return {0, 0};
    if (cell->orbType == 0) return {OrbKind::Purple, 0};
    return {cell->orbType, cell->orbType == OrbKind::White ? cell->bonusKind : 0};
}

bool CtrlHeld() {
    const GfxKeyboard& keys = gEngine->GetKeyboard();
    return keys.IsKeyDown(kLeftCtrl) || keys.IsKeyDown(kRightCtrl);
}

bool ShiftHeld() {
    const GfxKeyboard& keys = gEngine->GetKeyboard();
    return keys.IsKeyDown(kLeftShift) || keys.IsKeyDown(kRightShift);
}

// A file name for a new level that names no file yet.
fs::path NewLevelName() {
    std::error_code ec;
    for (int n = 1;; ++n) {
        fs::path name = n == 1 ? "newlevel.dat" : "newlevel" + std::to_string(n) + ".dat";
        if (!fs::exists(name, ec)) return name;
    }
}

}  // namespace

Editor::Editor(fs::path file, fs::path gameFolder, fs::path game, fs::path pictures)
    : m_File(file.empty() ? NewLevelName() : std::move(file)),
      m_GameFolder(std::move(gameFolder)),
      m_Game(std::move(game)),
      m_Pictures(std::move(pictures)),
      m_Backgrounds(GameBackgrounds(m_GameFolder)) {
    std::error_code ec;
    if (fs::exists(m_File, ec)) {
        std::string why;
        int32_t dropped = 0;
        if (!m_Draft.Load(m_File, why, dropped)) throw std::runtime_error(m_File.string() + ": " + why);
        m_Status = "Opened " + m_File.filename().string();
        if (dropped > 0) m_Status += "; " + std::to_string(dropped) + " orbs off the board were left out";
    } else {
        m_Status = "A new level; it is saved as " + m_File.string();
    }
    GfxWindowEvents events;
    events.MouseDown = [this](int32_t button, int32_t, float x, float y) { MouseDown(button, x, y); };
    events.MouseUp = [this](int32_t button, int32_t, float, float) { MouseUp(button); };
    events.MouseMove = [this](int32_t, int32_t, float x, float y) { MouseMove(x, y); };
    events.Unload = [this] { AskToQuit(); };
    gEngine->SetWindowEvents(std::move(events));
}

void Editor::Run() {
    while (m_Running) {
        if (m_Draft.Revision() != m_CheckedRevision) {
            m_Findings = m_Draft.Check(GamePictures(m_GameFolder));
            m_CheckedRevision = m_Draft.Revision();
        }
        gEngine->GetDevice().BeginFrame();
        Draw();
        gEngine->GetDevice().EndFrame();
        gEngine->PumpEvents();
        HandleKeys();
        // Play-tests that have ended are reaped, so none lingers as a zombie.
        while (waitpid(-1, nullptr, WNOHANG) > 0) {
        }
    }
}

// ---- Input ----

void Editor::HandleKeys() {
    const GfxKeyboard& keys = gEngine->GetKeyboard();
    if (m_Asking) {
        if (keys.IsKeyPressed(kS)) {
            Save();
            if (!m_Draft.Modified()) m_Running = false;
        } else if (keys.IsKeyPressed(kD)) {
            m_Running = false;
        } else if (keys.IsKeyPressed(kEsc)) {
            m_Asking = false;
        }
        return;
    }
    if (CtrlHeld()) {
        if (keys.IsKeyPressed(kZ)) ShiftHeld() ? m_Draft.Redo() : m_Draft.Undo();
        if (keys.IsKeyPressed(kY)) m_Draft.Redo();
        if (keys.IsKeyPressed(kS)) Save();
        return;
    }
    for (const auto& [key, cell] : kCellKeys)
        if (keys.IsKeyPressed(key)) m_Brush = cell;
    const int32_t step = ShiftHeld() ? 100 : 10;
    if (keys.IsKeyPressed(kLeftBracket)) m_Draft.SetRiseInterval(m_Draft.RiseInterval() - step);
    if (keys.IsKeyPressed(kRightBracket)) m_Draft.SetRiseInterval(m_Draft.RiseInterval() + step);
    if (keys.IsKeyPressed(kF5)) PlayTest();
    if (keys.IsKeyPressed(kEsc)) AskToQuit();
}

bool Editor::CellAt(float x, float y, int32_t& column, int32_t& row) const {
    if (x < kGridX || y < kGridY) return false;
    column = static_cast<int32_t>((x - kGridX) / kCell);
    row = LevelDraft::Rows - 1 - static_cast<int32_t>((y - kGridY) / kCell);
    return column < LevelDraft::Columns && row >= 0;
}

void Editor::Paint(float x, float y) {
    int32_t column = 0, row = 0;
    if (CellAt(x, y, column, row)) m_Draft.SetCell(column, row, m_Painting == 1 ? m_Brush : LevelDraft::Empty);
}

void Editor::MouseDown(int32_t button, float x, float y) {
    m_MouseX = x;
    m_MouseY = y;
    if (m_Asking) {
        if (Box{150, 250, 100, 24}.Contains(x, y)) {
            Save();
            if (!m_Draft.Modified()) m_Running = false;
        } else if (Box{270, 250, 100, 24}.Contains(x, y)) {
            m_Running = false;
        } else if (Box{390, 250, 100, 24}.Contains(x, y)) {
            m_Asking = false;
        }
        return;
    }
    int32_t column = 0, row = 0;
    if ((button == 1 || button == 2) && CellAt(x, y, column, row)) {
        m_Painting = button;
        m_Draft.BeginStroke();
        Paint(x, y);
        return;
    }
    if (button != 1) return;
    const int32_t step = ShiftHeld() ? 100 : 10;
    if (Box{kFieldX, kFieldY[0], 22, 18}.Contains(x, y)) m_Draft.SetRiseInterval(m_Draft.RiseInterval() - step);
    if (Box{kFieldX + 86, kFieldY[0], 22, 18}.Contains(x, y)) m_Draft.SetRiseInterval(m_Draft.RiseInterval() + step);
    for (const int32_t direction : {-1, 1}) {
        if (!Box{direction < 0 ? kFieldX : kFieldX + 86, kFieldY[1], 22, 18}.Contains(x, y)) continue;
        const auto at = std::find(m_Backgrounds.begin(), m_Backgrounds.end(), m_Draft.Picture());
        const auto count = static_cast<int32_t>(m_Backgrounds.size());
        const int32_t index = at == m_Backgrounds.end() ? 0 : static_cast<int32_t>(at - m_Backgrounds.begin());
        m_Draft.SetPicture(m_Backgrounds[static_cast<size_t>((index + direction + count) % count)]);
    }
    if (Box{kFieldX, kFieldY[2], 108, 18}.Contains(x, y)) m_Draft.SetCloudsOn(!m_Draft.CloudsOn());
    for (size_t i = 0; i < kPalette.size(); ++i)
        if (Box{kPaletteX + kPaletteStep * static_cast<float>(i % 7), kPaletteY + 32 * static_cast<float>(i / 7),
                kPaletteStep, 30}
                .Contains(x, y))
            m_Brush = kPalette[i].cell;
    if (Box{8, kButtonsY, 54, 20}.Contains(x, y)) Save();
    if (Box{66, kButtonsY, 54, 20}.Contains(x, y)) m_Draft.Undo();
    if (Box{124, kButtonsY, 54, 20}.Contains(x, y)) m_Draft.Redo();
    if (Box{182, kButtonsY, 54, 20}.Contains(x, y)) PlayTest();
}

void Editor::MouseUp(int32_t button) {
    if (button != m_Painting) return;
    m_Painting = 0;
    m_Draft.EndStroke();
}

void Editor::MouseMove(float x, float y) {
    m_MouseX = x;
    m_MouseY = y;
    if (m_Painting) Paint(x, y);
}

// ---- Commands ----

void Editor::Save() {
    std::string why;
    m_Status = m_Draft.Save(m_File, why) ? "Saved " + m_File.string() : "Not saved: " + why;
}

void Editor::PlayTest() {
    if (HasErrors(m_Findings)) {
        m_Status = "Fix the errors first: the game would refuse this level";
        return;
    }
    std::error_code ec;
    if (!fs::is_regular_file(m_Game, ec)) {
        m_Status = "The game is not at " + m_Game.string();
        return;
    }
    // The level as it stands, saved or not, in a file of the editor's own (a name without the
    // ';' that would end the game's option).
    const fs::path trial = m_Pictures / "playtest.dat";
    if (!GfxFile::WriteAtomically(trial, m_Draft.Text())) {
        m_Status = "The level cannot be handed to the game";
        return;
    }
    const std::string program = m_Game.string();
    const std::string option = "Level=" + trial.string();
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(option.c_str()), nullptr};
    pid_t child = 0;
    m_Status = posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, environ) == 0
                   ? "Play-testing in the game; this window stays open"
                   : "The game could not be started";
}

void Editor::AskToQuit() {
    if (m_Draft.Modified())
        m_Asking = true;
    else
        m_Running = false;
}

// ---- Drawing ----

int32_t Editor::PictureTexture(const std::string& name) {
    if (const auto it = m_Textures.find(name); it != m_Textures.end()) return it->second;
    // The player's own picture wins, as in the game.
    std::error_code ec;
    fs::path path = m_GameFolder / "game" / "override" / (name + ".png");
    if (!fs::is_regular_file(path, ec)) path = m_Pictures / (name + ".png");
    const int32_t id =
        gEngine->GetTextureStore().LoadTexture(m_NextTexture, path.string(), true, 0) ? m_NextTexture++ : 0;
    m_Textures[name] = id;
    return id;
}

void Editor::Shade(const Box& box, int32_t alpha) {
    GfxSprite sprite;
    sprite.SetTexture(PictureTexture("fade"));
    sprite.SetSourceRect(0, 0, static_cast<int32_t>(box.w), static_cast<int32_t>(box.h));
    sprite.SetX(box.x);
    sprite.SetY(box.y);
    sprite.SetAlpha(static_cast<float>(alpha));
    sprite.SetBlend(true);
    sprite.Render();
}

void Editor::Text(const Box& box, const std::string& text, int32_t colour, float size, bool bold, int32_t align) {
    gEngine->GetText().DrawText(box.x, box.y, box.w, box.h, text, align, colour, "Arial", size, bold, 0, 1, 1,
                                GfxUtility::MakeColor(200, 0, 0, 0));
}

void Editor::Button(const Box& box, const std::string& caption, bool lit) {
    Shade(box, lit ? 90 : 170);
    Text({box.x, box.y + 2, box.w, box.h}, caption, kWhite, 8, true, 2);
}

void Editor::DrawCell(char cell, float x, float y, float scale) {
    if (cell == LevelDraft::Empty) return;
    const auto [type, bonus] = OrbOf(cell);
    GfxSprite sprite;
    sprite.SetTexture(PictureTexture("sprites"));
    ApplyOrbPicture(sprite, type);
    // Scaled about its centre, so placed by its centre.
    sprite.SetX(x + 12 * scale - 12);
    sprite.SetY(y + 12 * scale - 12);
    sprite.SetScale(scale);
    sprite.SetBlend(true);
    sprite.SetAlpha(cell == 'I' ? 70.0F : 255.0F);
    sprite.Render();
    if (bonus != 0) {
        ApplyBonusPicture(sprite, bonus);
        sprite.SetScale(scale * 0.6F);
        sprite.SetAlpha(255);
        sprite.Render();
    }
    const char* mark = cell == 'A' ? "?" : cell == 'U' ? "?" : cell == 'I' ? "I" : "";
    if (*mark) Text({x, y + 4 * scale, 24 * scale, 20 * scale}, mark, kWhite, 9 * scale, true, 2);
}

void Editor::Draw() {
    DrawBoard();
    DrawPanel();
    DrawFindings();
    Text({8, 446, 624, 14}, m_Status, kWhite, 8);
    Text({8, 462, 624, 14},
         "Left: paint   right: erase   letters and 1 2 . pick a cell   [ ]: rise interval   Ctrl+Z/Y: undo/redo   "
         "Ctrl+S: save   F5: play   Esc: quit",
         kGrey, 7);
    if (m_Asking) DrawQuestion();
}

void Editor::DrawBoard() {
    GfxSprite background;
    background.SetTexture(PictureTexture(m_Draft.Picture()));
    background.SetSourceRect(PlayGeometry::Left - PlayGeometry::BackgroundX, 0, kBoardPixelsW, kBoardPixelsH);
    background.SetScale(kScale);  // about the centre
    background.SetX(kGridX + (kCell * PlayGeometry::Columns - kBoardPixelsW) / 2);
    background.SetY(kGridY + (kCell * PlayGeometry::Rows - kBoardPixelsH) / 2);
    background.Render();
    // Rows from here up stand at the dragon's height when play starts.
    Shade({kGridX, kGridY, kCell * LevelDraft::Columns, kCell * (LevelDraft::Rows - PlayGeometry::FirstRowAtDragon)},
          110);
    Text({kGridX + 4, kGridY + 2, 200, 14}, "the dragon's height", kGrey, 7);

    for (int32_t row = 0; row < LevelDraft::Rows; ++row) {
        for (int32_t c = 0; c < LevelDraft::Columns; ++c) {
            const float x = kGridX + kCell * static_cast<float>(c);
            const float y = kGridY + kCell * static_cast<float>(LevelDraft::Rows - 1 - row);
            if ((row + c) % 2 == 0) Shade({x, y, kCell, kCell}, 30);
            DrawCell(m_Draft.Cell(c, row), x, y, kScale);
        }
    }
    // What the checker found, marked on its cell.
    for (const LevelProblem& problem : m_Findings) {
        int32_t c = 0, row = 0;
        if (!m_Draft.CellOfFinding(problem, c, row)) continue;
        Text({kGridX + kCell * static_cast<float>(c) + 12,
              kGridY + kCell * static_cast<float>(LevelDraft::Rows - 1 - row), 10, 12},
             "!", problem.error ? kErrorColour : kWarningColour, 9, true);
    }
    int32_t column = 0, row = 0;
    if (!m_Asking && CellAt(m_MouseX, m_MouseY, column, row)) {
        Text({460, 446, 172, 14},
             "column " + std::to_string(column + 1) + ", row " + std::to_string(row + 1) + " from the bottom", kGrey, 7,
             false, 1);
    }
}

void Editor::DrawPanel() {
    // The play screen's side panel, twice side by side, behind the controls.
    for (const float x : {0.0F, 120.0F}) {
        GfxSprite panel;
        panel.SetTexture(PictureTexture("sprites"));
        panel.SetSourceRect(assets::kPanel.x, assets::kPanel.y, assets::kPanel.w, assets::kPanel.h);
        panel.SetX(x);
        panel.SetBlend(true);
        panel.Render();
    }
    Shade({0, 0, 252, 480}, 185);
    Text({8, 4, 236, 18}, "Kindlewisp level editor", kWhite, 11, true);
    Text({8, 22, 236, 14}, m_File.filename().string() + (m_Draft.Modified() ? "  (changed)" : ""), kGrey, 8);

    Text({8, kFieldY[0] + 2, 110, 16}, "Rise interval", kWhite, 8);
    Button({kFieldX, kFieldY[0], 22, 18}, "-");
    Text({kFieldX + 22, kFieldY[0] + 2, 64, 16}, std::to_string(m_Draft.RiseInterval()) + " ms", kWhite, 8, false, 2);
    Button({kFieldX + 86, kFieldY[0], 22, 18}, "+");
    Text({8, kFieldY[1] + 2, 110, 16}, "Background", kWhite, 8);
    Button({kFieldX, kFieldY[1], 22, 18}, "<");
    Text({kFieldX + 22, kFieldY[1] + 2, 64, 16}, m_Draft.Picture(), kWhite, 8, false, 2);
    Button({kFieldX + 86, kFieldY[1], 22, 18}, ">");
    Text({8, kFieldY[2] + 2, 110, 16}, "Clouds", kWhite, 8);
    Button({kFieldX, kFieldY[2], 108, 18}, m_Draft.CloudsOn() ? "YES" : "NO");

    // A preview of the whole background picture.
    GfxSprite preview;
    preview.SetTexture(PictureTexture(m_Draft.Picture()));
    preview.SetSourceRect(0, 0, assets::kBoardW, assets::kBoardH);
    preview.SetScale(0.07F);
    preview.SetX(8 + 18 - 255);
    preview.SetY(kPaletteY + 34 - 480);
    preview.Render();

    for (size_t i = 0; i < kPalette.size(); ++i) {
        const float x = kPaletteX + kPaletteStep * static_cast<float>(i % 7);
        const float y = kPaletteY + 32 * static_cast<float>(i / 7);
        if (kPalette[i].cell == m_Brush) Shade({x, y, kPaletteStep - 2, 30}, 200);
        DrawCell(kPalette[i].cell, x + 1, y + 3, 1);
        if (kPalette[i].cell == LevelDraft::Empty) Text({x, y + 8, kPaletteStep, 14}, "none", kGrey, 7, false, 2);
    }
    Button({8, kButtonsY, 54, 20}, "Save", !m_Draft.Modified());
    Button({66, kButtonsY, 54, 20}, "Undo", !m_Draft.CanUndo());
    Button({124, kButtonsY, 54, 20}, "Redo", !m_Draft.CanRedo());
    Button({182, kButtonsY, 54, 20}, "Play");
    for (const PaletteEntry& entry : kPalette)
        if (entry.cell == m_Brush)
            Text({8, kButtonsY + 24, 236, 14},
                 std::string("Painting: ") + entry.name + " (" + std::string(1, entry.cell == '.' ? '.' : entry.cell) +
                     ")",
                 kGrey, 8);
}

void Editor::DrawFindings() {
    const auto errors =
        std::count_if(m_Findings.begin(), m_Findings.end(), [](const LevelProblem& p) { return p.error; });
    const auto warnings = static_cast<int64_t>(m_Findings.size()) - errors;
    const std::string heading = m_Findings.empty() ? "The checker finds no problem"
                                                   : "The checker finds " + std::to_string(errors) + " error" +
                                                         (errors == 1 ? "" : "s") + ", " + std::to_string(warnings) +
                                                         " warning" + (warnings == 1 ? "" : "s");
    Text({8, 244, 236, 14}, heading, kWhite, 8, true);
    float y = 262;
    for (size_t i = 0; i < m_Findings.size(); ++i) {
        const LevelProblem& problem = m_Findings[i];
        int32_t c = 0, row = 0;
        std::string where;
        if (m_Draft.CellOfFinding(problem, c, row))
            where = "Column " + std::to_string(c + 1) + ", row " + std::to_string(row + 1) + ": ";
        else if (problem.line > 0)
            where = "Line " + std::to_string(problem.line) + ": ";
        const std::string text = where + problem.reason;
        // About 46 characters fit on a line of the panel.
        const float height = 12 * static_cast<float>(1 + text.size() / 46);
        if (y + height > 440) {
            Text({8, y, 236, 12}, "... and " + std::to_string(m_Findings.size() - i) + " more", kGrey, 7);
            break;
        }
        Text({8, y, 236, height}, text, problem.error ? kErrorColour : kWarningColour, 7);
        y += height + 4;
    }
}

void Editor::DrawQuestion() {
    Shade({0, 0, 640, 480}, 140);
    Shade({130, 170, 380, 120}, 220);
    Text({140, 185, 360, 40}, "This level has changes that are not saved. Save them before you quit?", kWhite, 10, true,
         2);
    Button({150, 250, 100, 24}, "Save (S)");
    Button({270, 250, 100, 24}, "Discard (D)");
    Button({390, 250, 100, 24}, "Keep editing (Esc)");
}
