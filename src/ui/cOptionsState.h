// SPDX-License-Identifier: GPL-3.0-or-later
// The options screen opened from the title: the title picture behind it, and back to the title
// when the player leaves. Owns the screen; its one scenery sprite lives in gSprites while current.
#pragma once

#include <memory>

#include "play/cOptionsScreen.h"
#include "shell/cBaseState.h"

class cOptionsState final : public cBaseState {
public:
    cOptionsState();  // runs InitializeGraphics

    void InitializeGraphics() override;
    void HandleInput() override;
    void DrawState() override;
    void ProcessState() override;
    void Destroy() override;

    const cOptionsScreen& Screen() const { return *m_Screen; }  // for the runner's report

private:
    std::unique_ptr<cOptionsScreen> m_Screen;
};
