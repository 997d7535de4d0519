// SPDX-License-Identifier: GPL-3.0-or-later
// The one clickable widget: hit-tests the mouse against a sprite that its screen made, arms per
// mouse button, raises ButtonClick on a release over it and plays a held-down animation.
// Shares the screen's sprite (never creates it); owns only its arming flags and frame list.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/cSprites.h"

class cButton final {
public:
    // Raised inside CheckMouseUp with the number of the mouse button released over the button
    // (by reference, as handlers are declared; a change to it does not reach the button).
    // The handler may replace the game state; the button finishes its own bookkeeping afterwards.
    std::function<void(int32_t& mouseButton)> ButtonClick;

    bool IsMouseOver() const { return m_MouseOver; }
    // Binds the button to a sprite that already has its texture, source rectangle and position.
    void Create(SpriteRef sprite, const std::string& caption);
    // One frame of the held-down look: the source rectangle's new left and top.
    void AddDownAnimation(int32_t left, int32_t top);
    // Moves the sprite where x or y is not negative, steps the animation, draws.
    void Render(int32_t x = -1, int32_t y = -1);
    void CheckMouseMove(float x, float y);
    void CheckMouseDown(uint8_t mouseButton, float x, float y);
    void CheckMouseUp(uint8_t mouseButton, float x, float y);
    void ChangeTexture(int32_t texture);  // cheap to call every frame
    void ResetAnimation();

    // For the screens' reports and the tests.
    bool IsArmed(uint8_t mouseButton) const { return m_ButtonDown.at(CheckedIndex(mouseButton)); }
    int32_t Frame() const { return m_Frame; }
    const SpriteRef& Sprite() const { return m_Sprite; }

private:
    static constexpr size_t kMouseButtons = 11;  // mouse-button numbers 0..10
    static size_t CheckedIndex(uint8_t mouseButton);
    GfxSprite& Bound() const;  // the sprite, or a run-time error before Create
    bool Hit(float x, float y) const;

    SpriteRef m_Sprite;         // the screen's sprite, shared
    std::string m_Caption;      // empty in every use in this game
    int32_t m_Width = 0;        // read once in Create
    int32_t m_Height = 0;       // read once in Create
    int32_t m_RestSourceX = 0;  // source rectangle at rest
    int32_t m_RestSourceY = 0;
    bool m_MouseOver = false;                           // result of the last CheckMouseMove
    std::array<bool, kMouseButtons> m_ButtonDown = {};  // a press of that button is held over us
    bool m_Animating = false;
    int32_t m_Frame = 0;                                // index into m_Frames; 0 = rest
    int32_t m_LastFrameTime = 0;                        // tick of the last step; never reset
    std::vector<std::pair<int32_t, int32_t>> m_Frames;  // [0] is a placeholder, never shown
};
