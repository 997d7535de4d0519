// SPDX-License-Identifier: GPL-3.0-or-later
// Sound-effect ids by file name, loaded once at the effect volume of the settings.
#include "engine/cSound.h"

#include <algorithm>

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "gfx/Gfx.h"

int32_t cSound::Sound(const std::string& fileName) {
    if (SoundExists(fileName)) return m_Items.Item(fileName);
    GfxSoundStore& store = gEngine->GetSoundStore();
    if (!store.LoadSound(m_NextSlot, "game/sounds/" + fileName)) {
        ReportError(ErrorNumber::PathNotFound, "cSounds", "GetSound", "Sound: " + fileName + " failed to load.", true,
                    true, true);
    }
    store.SetSoundVolume(m_NextSlot, gSoundVolume);
    m_Items.Add(m_NextSlot, fileName);
    return m_NextSlot++;
}

void cSound::SetVolume(int32_t volume) {
    gSoundVolume = std::clamp(volume, 0, 100);
    GfxSoundStore& store = gEngine->GetSoundStore();
    for (const auto& entry : m_Items.Entries()) store.SetSoundVolume(entry.value, gSoundVolume);
}

void cSound::Play(const std::string& fileName) { gEngine->GetSoundStore().PlaySound(Sound(fileName), 0, 0); }
