// SPDX-License-Identifier: GPL-3.0-or-later
// The level editor's window: the board on the level's background, a palette of every cell, the
// header fields, the checker's findings beside the board, and the keys and clicks that edit a
// LevelDraft. Draws with the game's library and the game's pictures; owns the draft it edits.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "game/LevelDraft.h"
#include "shell/AssetTable.h"

class Editor final {
public:
    // `pictures` holds the game's unpacked pictures; `gameFolder` the game folder whose override
    // pictures count; `game` the program that play-tests.
    Editor(std::filesystem::path file, std::filesystem::path gameFolder, std::filesystem::path game,
           std::filesystem::path pictures);
    // Runs until the window is closed and nothing unsaved is left to lose.
    void Run();

private:
    struct Box {
        float x, y, w, h;
        bool Contains(float px, float py) const { return px >= x && px < x + w && py >= y && py < y + h; }
    };
    static Box BoxOf(const assets::Rect& r) {
        return {static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.w), static_cast<float>(r.h)};
    }

    void HandleKeys();
    void MouseDown(int32_t button, float x, float y);
    void MouseUp(int32_t button);
    void MouseMove(float x, float y);
    bool CellAt(float x, float y, int32_t& column, int32_t& row) const;
    void Paint(float x, float y);
    void Save();
    void PlayTest();
    void AskToQuit();

    void Draw();
    void DrawBoard();
    void DrawPanel();
    void DrawFindings();
    void DrawStatus();
    void DrawQuestion();
    void DrawCell(char cell, float x, float y, float scale);
    void Shade(const Box& box, int32_t alpha);
    void Text(const Box& box, const std::string& text, int32_t colour, float size, bool bold = false,
              int32_t align = 0);
    void Button(const Box& box, const std::string& caption);  // of the question, drawn over everything
    // The caption of a button of the editor's picture, dimmed while it would do nothing.
    void Caption(assets::EditorButton button, const std::string& caption, bool enabled);
    void Picture(const assets::Rect& cell, float x, float y);  // a cell of the editor's picture
    int32_t PictureTexture(const std::string& name);

    LevelDraft m_Draft;
    std::filesystem::path m_File;
    std::filesystem::path m_GameFolder;
    std::filesystem::path m_Game;
    std::filesystem::path m_Pictures;
    std::vector<std::string> m_Backgrounds;
    std::map<std::string, int32_t> m_Textures;  // loaded picture ids by name
    int32_t m_NextTexture = 1;

    LevelProblems m_Findings;
    uint64_t m_CheckedRevision = ~uint64_t{0};
    char m_Brush = 'R';
    int32_t m_Painting = 0;  // mouse button held over the board: 1 paints, 2 erases
    float m_MouseX = 0, m_MouseY = 0;
    std::string m_Status;
    bool m_Running = true;
    bool m_Asking = false;    // "save, discard or keep editing?" is showing
    int32_t m_PlayTests = 0;  // games started to play-test that have not ended yet
};
