// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/cOptionsState.h"

#include <string>

#include "base/Globals.h"
#include "engine/cMouse.h"
#include "engine/cSprites.h"
#include "engine/cTextures.h"
#include "shell/AssetTable.h"

cOptionsState::cOptionsState() { InitializeGraphics(); }

void cOptionsState::InitializeGraphics() {
    auto picture = std::make_shared<GfxSprite>();
    picture->SetTexture(gTextures->Texture(std::string(assets::kTitle)));
    picture->SetSourceRect(0, 0, assets::kScreenW, assets::kScreenH);
    gSprites->Add_Sprite(picture, "bg");
    // The title's music plays on under the screen, so its volume is heard as it changes.
    m_Screen = std::make_unique<cOptionsScreen>([this] {
        Destroy();
        SetState(StateTitle);
    });
}

void cOptionsState::HandleInput() { m_Screen->HandleInput(); }

void cOptionsState::ProcessState() {
    if (gMouse->CursorOutsideWindow()) gMouse->ShowDefaultCursor();
    if (!gWindowed) gMouse->SetFullScreenPosition();
}

void cOptionsState::DrawState() {
    gSprites->RenderAll();
    m_Screen->Draw();
    gMouse->Render();
}

void cOptionsState::Destroy() {
    const int32_t count = gSprites->Count();
    for (int32_t i = 0; i < count; ++i) gSprites->Remove_Sprite(1);
}
