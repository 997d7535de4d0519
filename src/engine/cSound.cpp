// SPDX-License-Identifier: GPL-3.0-or-later
// Sound-effect ids by file name, loaded once at the effect volume of the settings.
#include "engine/cSound.h"

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
    // Applied once: a later change of the effect volume does not reach effects already loaded.
    store.SetSoundVolume(m_NextSlot, gSoundVolume);
    m_Items.Add(m_NextSlot, fileName);
    return m_NextSlot++;
}

void cSound::Play(const std::string& fileName) { gEngine->GetSoundStore().PlaySound(Sound(fileName), 0, 0); }
