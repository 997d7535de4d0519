// SPDX-License-Identifier: GPL-3.0-or-later
// GfxEngine's lifetime: SDL start-up and shut-down, the working folder and the service getters.
#include <SDL.h>
#include <SDL_image.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gfx/Gfx.h"
#include "gfx/GfxImpl.h"

namespace {
GfxEngine* g_CurrentEngine = nullptr;
bool g_Headless = false;

// A closed terminal or SSH session (SIGHUP) ends the game as SIGTERM does: SDL's handler turns
// that into a window close, and the orderly end saves and cleans up. raise is safe in a handler.
void HangUp(int) { std::raise(SIGTERM); }
}  // namespace

GfxEngine* GfxCurrentEngine() { return g_CurrentEngine; }

GfxEngine::GfxEngine() : m_Impl(std::make_unique<Impl>(*this)) {
    m_DisplaySettings.m_Engine = this;
    m_Device.m_Engine = this;
    m_TextureStore.m_Engine = this;
    m_Text.m_Engine = this;
    m_Utility.m_Engine = this;
    m_Keyboard.m_Engine = this;
    m_Mouse.m_Engine = this;
    m_Joystick.m_Engine = this;
    m_SoundStore.m_Engine = this;
    m_Music.m_Engine = this;
    m_Archive.m_Engine = this;
    std::error_code ec;
    m_Impl->WorkingFolder = std::filesystem::current_path(ec);
    g_CurrentEngine = this;
}

GfxEngine::~GfxEngine() {
    m_Impl->ShutdownAll();
    if (g_CurrentEngine == this) g_CurrentEngine = nullptr;
}

void GfxEngine::SetWorkingFolder(const std::string& path) { m_Impl->WorkingFolder = Resolve(path); }

const std::filesystem::path& GfxEngine::GetWorkingFolder() const { return m_Impl->WorkingFolder; }

std::filesystem::path GfxEngine::Resolve(const std::string& path) const {
    // Paths written with backslashes name folders on every platform.
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    std::filesystem::path p(native);
    if (p.is_absolute()) return p.make_preferred();
    return (m_Impl->WorkingFolder / p).make_preferred();
}

void GfxEngine::SetHeadless(bool headless) { g_Headless = headless; }

bool GfxEngine::IsHeadless() {
    if (g_Headless) return true;
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    return driver != nullptr && std::strcmp(driver, "dummy") == 0;
}

void GfxEngine::UseStandIns() { m_Impl->StandIns = true; }

bool GfxEngine::Impl::EnsureEvents() {
    if (EventsStarted) return true;
    if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) return false;
    EventsStarted = true;
    struct sigaction term {};
    if (::sigaction(SIGTERM, nullptr, &term) == 0 && term.sa_handler != SIG_DFL && term.sa_handler != SIG_IGN)
        std::signal(SIGHUP, HangUp);
    // Writing to a terminal or pipe that has closed must not end the game before it has saved.
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

bool GfxEngine::Startup() {
    Impl& d = *m_Impl;
    if (d.Started) return true;
    if (IsHeadless()) {
        SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    // Joystick events keep flowing when the window loses focus (the player may use a pad only).
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (!d.EnsureEvents()) return false;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "Video start-up failed: %s\n", SDL_GetError());
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "Game controllers unavailable: %s\n", SDL_GetError());
    }
    d.Started = true;
    if (d.StandIns) {
        d.Silent = true;
        return true;
    }
    IMG_Init(IMG_INIT_PNG);
    if (!d.TtfStarted) d.TtfStarted = TTF_Init() == 0;
    if (!d.FontconfigReady) d.FontconfigReady = FcInit() == FcTrue;
    d.OpenAudio();
    // Pick up a controller that was connected before we started.
    for (int i = 0; i < SDL_NumJoysticks() && !d.Controller && !d.RawJoystick; ++i) d.OpenJoystick(i);
    return true;
}

void GfxEngine::Shutdown() { m_Impl->ShutdownAll(); }

void GfxEngine::Impl::ShutdownAll() {
    CloseDisplay();
    Layouts.clear();
    Fonts.clear();
    Sounds.clear();
    Music.reset();
    MusicLoaded = false;
    MusicPlaying = false;
    CloseAudio();
    CloseJoystick();
    if (VirtualJoystick) {
        SDL_JoystickClose(VirtualJoystick);
        VirtualJoystick = nullptr;
    }
    if (VirtualIndex >= 0) {
        SDL_JoystickDetachVirtual(VirtualIndex);
        VirtualIndex = -1;
    }
    if (JoystickStarted) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        JoystickStarted = false;
    }
    FaceFiles.clear();
    if (TtfStarted) TTF_Quit();
    TtfStarted = false;
    if (Started) {
        IMG_Quit();
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_VIDEO | SDL_INIT_TIMER);
        Started = false;
    }
    if (EventsStarted) {
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
        EventsStarted = false;
    }
    KeyDown.fill(false);
    KeyPressed.fill(false);
    JoyDown.fill(false);
    JoyPressed.fill(false);
    MouseButtons = 0;
    HeldOver.clear();
    Minimized = false;
}

GfxDisplaySettings& GfxEngine::GetDisplaySettings() { return m_DisplaySettings; }
GfxDevice& GfxEngine::GetDevice() { return m_Device; }
GfxTextureStore& GfxEngine::GetTextureStore() { return m_TextureStore; }
GfxText& GfxEngine::GetText() { return m_Text; }
GfxUtility& GfxEngine::GetUtility() { return m_Utility; }
GfxKeyboard& GfxEngine::GetKeyboard() { return m_Keyboard; }
GfxMouse& GfxEngine::GetMouse() { return m_Mouse; }
GfxJoystick& GfxEngine::GetJoystick() { return m_Joystick; }
GfxSoundStore& GfxEngine::GetSoundStore() { return m_SoundStore; }
GfxMusic& GfxEngine::GetMusic() { return m_Music; }
GfxArchive& GfxEngine::GetArchive() { return m_Archive; }

void GfxEngine::MessageBox(const std::string& title, const std::string& text) {
    // Over the game's window when there is one, so a full-screen game does not hide the box.
    SDL_Window* parent = g_CurrentEngine ? g_CurrentEngine->m_Impl->Window.get() : nullptr;
    if (!IsHeadless() && SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), parent) == 0) {
        return;
    }
    std::fprintf(stderr, "%s\n%s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
}
