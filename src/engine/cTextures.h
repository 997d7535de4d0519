// SPDX-License-Identifier: GPL-3.0-or-later
// Texture ids by file name: each image is loaded once per run; game/override/ wins over game/images/.
#pragma once

#include <cstdint>
#include <string>

#include "base/Collection.h"

class cTextures final {
public:
    int32_t Texture(const std::string& fileName);

private:
    bool TextureExists(const std::string& fileName) const { return m_Items.Exists(fileName); }
    Collection<int32_t> m_Items;
    int32_t m_NextSlot = 1;
};
