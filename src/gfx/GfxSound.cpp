// SPDX-License-Identifier: GPL-3.0-or-later
// Sound effects and the one music stream over SDL2_mixer. Without any audio device the files are
// still loaded and checked, and the music position still follows the clock.
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <system_error>

#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "gfx/GfxImpl.h"

namespace {
int MixerVolume(double volume) {
    return static_cast<int>(std::lrint(std::clamp(volume, 0.0, 100.0) * MIX_MAX_VOLUME / 100.0));
}

bool TryOpenMixer() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) == 0) return true;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}
}  // namespace

void GfxEngine::Impl::OpenAudio() {
    if (AudioOpen || Silent) return;
    Mix_Init(MIX_INIT_MP3 | MIX_INIT_OGG);
    MixerStarted = true;
    if (!TryOpenMixer()) {
        std::fprintf(stderr, "No audio device (%s); trying the dummy driver.\n", SDL_GetError());
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (!TryOpenMixer()) {
            std::fprintf(stderr, "No audio at all (%s); running silent.\n", SDL_GetError());
            Silent = true;
            return;
        }
    }
    Mix_AllocateChannels(16);
    AudioOpen = true;
}

void GfxEngine::Impl::CloseAudio() {
    if (AudioOpen) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    if (MixerStarted) Mix_Quit();  // also after a silent run, whose decoders were started all the same
    MixerStarted = false;
    AudioOpen = false;
    Silent = false;
    Paused = false;
}

bool GfxSoundStore::LoadSound(int32_t id, const std::string& path) {
    auto& d = m_Engine->GetImpl();
    const std::string file = m_Engine->Resolve(path).string();
    gfx_detail::Sound sound;
    if (d.StandIns) {
        // Silent, and no file read.
    } else if (d.AudioOpen) {
        sound.chunk.reset(Mix_LoadWAV(file.c_str()));
        if (!sound.chunk) return false;
    } else {
        // Silent: still refuse a missing or damaged file.
        SDL_AudioSpec format;
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        if (SDL_LoadWAV(file.c_str(), &format, &buffer, &length) == nullptr) return false;
        SDL_FreeWAV(buffer);
    }
    const auto old = d.Sounds.find(id);
    if (old != d.Sounds.end()) sound.volume = old->second.volume;
    if (sound.chunk) Mix_VolumeChunk(sound.chunk.get(), MixerVolume(sound.volume));
    d.Sounds[id] = std::move(sound);
    return true;
}

void GfxSoundStore::SetSoundVolume(int32_t id, int32_t volume) {
    auto& d = m_Engine->GetImpl();
    const auto it = d.Sounds.find(id);
    if (it == d.Sounds.end()) return;
    it->second.volume = std::clamp(volume, 0, 100);
    if (it->second.chunk) Mix_VolumeChunk(it->second.chunk.get(), MixerVolume(it->second.volume));
}

int32_t GfxSoundStore::GetSoundVolume(int32_t id) const {
    const auto& d = m_Engine->GetImpl();
    const auto it = d.Sounds.find(id);
    if (it == d.Sounds.end()) return 0;
    // What the mixer will play it at, when there is a mixer: each of the 101 volumes has its own level.
    if (!it->second.chunk) return it->second.volume;
    return static_cast<int32_t>(std::lrint(Mix_VolumeChunk(it->second.chunk.get(), -1) * 100.0 / MIX_MAX_VOLUME));
}

void GfxSoundStore::PlaySound(int32_t id, int32_t, int32_t) {
    auto& d = m_Engine->GetImpl();
    const auto it = d.Sounds.find(id);
    if (it == d.Sounds.end()) return;
    ++d.PlayCounts[id];
    if (it->second.chunk && d.AudioOpen) Mix_PlayChannel(-1, it->second.chunk.get(), 0);
}

void GfxSoundStore::PauseAll() {
    auto& d = m_Engine->GetImpl();
    if (d.Paused) return;
    d.Paused = true;
    if (d.AudioOpen) {
        Mix_Pause(-1);
        Mix_PauseMusic();
    }
    if (d.MusicPlaying) d.MusicPausedAt = d.MusicPositionNow();
}

void GfxSoundStore::ResumeAll() {
    auto& d = m_Engine->GetImpl();
    if (!d.Paused) return;
    d.Paused = false;
    if (d.AudioOpen) {
        Mix_Resume(-1);
        Mix_ResumeMusic();
    }
    if (d.MusicPausedAt >= 0) {
        d.MusicStartMs = d.MusicPausedAt;
        d.MusicStartTick = GetTickCount();
        d.MusicPausedAt = -1;
    }
}

int32_t GfxSoundStore::PlayCount(int32_t id) const {
    const auto& d = m_Engine->GetImpl();
    const auto it = d.PlayCounts.find(id);
    return it == d.PlayCounts.end() ? 0 : it->second;
}

double GfxEngine::Impl::MusicRunningMs() const {
    if (MusicPausedAt >= 0) return MusicPausedAt;
    return static_cast<double>(MusicStartMs) + static_cast<double>(TicksSince(GetTickCount(), MusicStartTick));
}

int32_t GfxEngine::Impl::MusicPositionNow() const {
    if (!MusicPlaying) return 0;
    double position = MusicRunningMs();
    if (MusicDurationMs > 0) {
        position = MusicLoop ? std::fmod(position, MusicDurationMs) : std::min(position, MusicDurationMs);
    }
    return static_cast<int32_t>(position);
}

void GfxEngine::Impl::ApplyMusicVolume() const {
    if (AudioOpen) Mix_VolumeMusic(MixerVolume(MusicVolume));
}

bool GfxMusic::LoadMusic(const std::string& path, int32_t) {
    auto& d = m_Engine->GetImpl();
    UnloadMusic();
    const auto file = m_Engine->Resolve(path);
    gfx_detail::SdlPtr<Mix_Music> music(d.StandIns ? nullptr : Mix_LoadMUS(file.string().c_str()));
    if (!music && !d.StandIns) {
        // Without a device the decoder may refuse to open; a readable, non-empty file will do then.
        std::error_code ec;
        if (d.AudioOpen || !std::filesystem::is_regular_file(file, ec) || std::filesystem::file_size(file, ec) == 0) {
            return false;
        }
    }
    d.MusicDurationMs = music ? Mix_MusicDuration(music.get()) * 1000.0 : -1.0;
    d.Music = std::move(music);
    d.MusicPath = path;
    d.MusicLoaded = true;
    return true;
}

bool GfxMusic::PlayMusic(bool loop, int32_t startMs) {
    auto& d = m_Engine->GetImpl();
    if (!d.MusicLoaded) return false;
    startMs = std::max(startMs, 0);
    if (d.AudioOpen && d.Music) {
        if (Mix_PlayMusic(d.Music.get(), loop ? -1 : 1) != 0) return false;
        if (startMs > 0) Mix_SetMusicPosition(startMs / 1000.0);
        d.ApplyMusicVolume();
        if (d.Paused) Mix_PauseMusic();
    }
    d.MusicPlaying = true;
    d.MusicLoop = loop;
    d.MusicStartMs = startMs;
    d.MusicStartTick = GetTickCount();
    d.MusicPausedAt = d.Paused ? startMs : -1;
    return true;
}

int32_t GfxMusic::GetPosition() const { return m_Engine->GetImpl().MusicPositionNow(); }

bool GfxMusic::IsPlaying() const {
    const auto& d = m_Engine->GetImpl();
    if (!d.MusicPlaying) return false;
    // The device's own answer under the real clock; the clock's under the virtual one.
    if (d.AudioOpen && d.Music && !IsVirtualClock()) return Mix_PlayingMusic() != 0;
    return d.MusicLoop || d.MusicDurationMs <= 0 || d.MusicRunningMs() < d.MusicDurationMs;
}

void GfxMusic::StopMusic() {
    auto& d = m_Engine->GetImpl();
    if (d.AudioOpen) Mix_HaltMusic();
    d.MusicPlaying = false;
    d.MusicPausedAt = -1;
}

void GfxMusic::UnloadMusic() {
    auto& d = m_Engine->GetImpl();
    StopMusic();
    d.Music.reset();
    d.MusicLoaded = false;
    d.MusicPath.clear();
    d.MusicDurationMs = -1;
}

void GfxMusic::SetMusicVolume(float volume) {
    auto& d = m_Engine->GetImpl();
    d.MusicVolume = std::isnan(volume) ? 0.0f : std::clamp(volume, 0.0f, 100.0f);
    d.ApplyMusicVolume();
}

float GfxMusic::GetMusicVolume() const { return m_Engine->GetImpl().MusicVolume; }

std::string GfxMusic::GetLoadedPath() const { return m_Engine->GetImpl().MusicPath; }
