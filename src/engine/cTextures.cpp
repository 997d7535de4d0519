// SPDX-License-Identifier: GPL-3.0-or-later
// Texture ids by file name; the override folder lets players replace any picture.
#include "engine/cTextures.h"

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "gfx/Gfx.h"

int32_t cTextures::Texture(const std::string& fileName) {
    if (TextureExists(fileName)) return m_Items.Item(fileName);
    const bool overridden =
        gEngine->GetUtility().FileExists((gProgramFolder / "game" / "override" / fileName).string());
    const std::string path = (overridden ? "game/override/" : "game/images/") + fileName;
    if (!gEngine->GetTextureStore().LoadTexture(m_NextSlot, path, true, 0)) {
        ReportError(ErrorNumber::PathNotFound, "cTextures", "GetTexture", "Texture: " + fileName + " failed to load.",
                    true, true, true);
    }
    m_Items.Add(m_NextSlot, fileName);
    return m_NextSlot++;
}
