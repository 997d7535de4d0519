// SPDX-License-Identifier: GPL-3.0-or-later
// A chain-bonus popup: "BONUS +" and the amount, rising slowly over the board for a moment.
// Owns only its text position and timers; the play state keeps it in m_Popups under its ID.
#pragma once

#include <cstdint>
#include <string>

class cBonus final {
public:
    const std::string& ID() const { return m_ID; }
    int32_t StartTime() const { return m_StartTime; }
    int32_t Amount() const { return m_Amount; }
    int32_t X() const { return m_X; }
    int32_t Y() const { return m_Y; }

    void Create(int32_t amount, int32_t x, int32_t y, const std::string& id);
    void Render() const;
    void Process();

private:
    std::string m_ID;
    int32_t m_Amount = 0;
    int32_t m_X = 0;
    int32_t m_Y = 0;
    int32_t m_StartTime = 0;
    int32_t m_MoveTime = 0;  // tick of the last one-pixel rise
};
