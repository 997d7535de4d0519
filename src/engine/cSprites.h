// SPDX-License-Identifier: GPL-3.0-or-later
// The ordered, keyed list of a state's fixed scenery sprites, drawn first in every frame.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/Collection.h"
#include "gfx/Gfx.h"

using SpriteRef = std::shared_ptr<GfxSprite>;

class cSprites final {
public:
    int32_t Count() const { return m_Items.Count(); }
    // A text of digits not above Count is a position; otherwise a key. Absent: nullptr.
    SpriteRef Item(const std::string& index) const;
    SpriteRef Item(int32_t position) const;
    void Add_Sprite(SpriteRef sprite, const std::string& key, int32_t position = 0);
    void Remove_Sprite(const std::string& index);
    void Remove_Sprite(int32_t position);
    void RenderAll() const;  // positions 1..Count

private:
    bool SpriteExists(const std::string& key) const { return m_Items.Exists(key); }
    Collection<SpriteRef> m_Items;
};
