// SPDX-License-Identifier: GPL-3.0-or-later
// Sound-effect ids by file name: each effect is loaded once and plays at the effect volume of the
// settings, also after that volume changed.
#pragma once

#include <cstdint>
#include <string>

#include "base/Collection.h"

class cSound final {
public:
    int32_t Sound(const std::string& fileName);
    void Play(const std::string& fileName);  // Sound, then GfxSoundStore::PlaySound(id, 0, 0)
    // Sets gSoundVolume and gives it to every effect loaded so far.
    void SetVolume(int32_t volume);

private:
    bool SoundExists(const std::string& fileName) const { return m_Items.Exists(fileName); }
    Collection<int32_t> m_Items;
    int32_t m_NextSlot = 1;
};
