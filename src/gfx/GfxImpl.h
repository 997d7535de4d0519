// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's private state behind GfxEngine: SDL handles, the frame being drawn, loaded
// textures, fonts and the text cache, input state, sounds and music. Only the gfx sources
// include this header.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "gfx/Gfx.h"

namespace gfx_detail {

// Deleters so SDL handles live in unique_ptrs.
struct SdlDeleter {
    void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
    void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
    void operator()(TTF_Font* f) const { TTF_CloseFont(f); }
    void operator()(Mix_Chunk* c) const { Mix_FreeChunk(c); }
    void operator()(Mix_Music* m) const { Mix_FreeMusic(m); }
};
template <class T>
using SdlPtr = std::unique_ptr<T, SdlDeleter>;

// A decoded picture, kept once: the compositor copies from these pixels.
struct Texture {
    SdlPtr<SDL_Surface> pixels;
    int32_t width = 0;
    int32_t height = 0;
    bool opaque = false;  // no alpha channel: a copy at full alpha hides what lies under it
};
using TextureRef = std::shared_ptr<const Texture>;

// One copy of a texture into the frame. It holds its texture, so a picture replaced or evicted
// while a frame still shows it stays alive until that frame is replaced too.
struct DrawCommand {
    TextureRef texture;
    SDL_Rect src{0, 0, 0, 0};         // within the texture
    SDL_Rect dst{0, 0, 0, 0};         // game pixels; touches the screen
    uint32_t modulate = 0xFFFFFFFFu;  // ARGB: alpha and colour modulation
    bool operator==(const DrawCommand& o) const {
        return texture == o.texture && modulate == o.modulate && SDL_RectEquals(&src, &o.src) &&
               SDL_RectEquals(&dst, &o.dst);
    }
};

// One rasterised line of text, white on transparent; colour comes from the draw's modulation.
struct CachedLine {
    TextureRef texture;
    TextureRef outline;  // the glyphs grown by a pixel all round, made when first needed
    int32_t width = 0;
    int32_t height = 0;
};

// Where a face lives, as fontconfig answers it.
struct FaceFile {
    std::string file;  // empty when nothing matched
    long index = 0;    // face within a collection file
    bool embolden = false;
};

struct Sound {
    SdlPtr<Mix_Chunk> chunk;  // null when running silent (the file was still validated)
    int32_t volume = 100;
};

// The game's picture, in game pixels.
constexpr int GameWidth = 640;
constexpr int GameHeight = 480;
constexpr SDL_Rect Screen{0, 0, GameWidth, GameHeight};

// Coordinates and sizes far beyond the screen are not drawn at all, which also keeps every
// conversion to int well defined.
inline bool Drawable(float v) { return std::isfinite(v) && std::fabs(v) < 1.0e6f; }

// DirectInput scan code for an SDL scancode; 0 where the key has none.
int32_t ScanCodeFromSdl(SDL_Scancode code);
SDL_Scancode SdlFromScanCode(int32_t code);

}  // namespace gfx_detail

struct GfxEngine::Impl {
    explicit Impl(GfxEngine& owner) : Owner(owner) {}

    GfxEngine& Owner;
    std::filesystem::path WorkingFolder;

    // SDL lifetime.
    bool EventsStarted = false;  // SDL_INIT_EVENTS only, so input can be injected without a display
    bool Started = false;        // Startup ran
    bool TtfStarted = false;
    bool AudioOpen = false;     // a mixer device is open (maybe the dummy one)
    bool MixerStarted = false;  // Mix_Init ran for this engine
    bool Silent = false;        // no device at all: files are validated but nothing plays
    bool FontconfigReady = false;
    bool JoystickStarted = false;  // AttachVirtualJoystick started the controller sub-system
    bool StandIns = false;         // UseStandIns: no media or score file is touched

    // Display. A frame's drawing is recorded, composed in software into Frame where it differs
    // from the frame shown before, and that part is shown: in the window's own surface, or through
    // one GPU texture where a GPU renders, or nowhere when headless (Frame is the picture).
    gfx_detail::SdlPtr<SDL_Window> Window;
    gfx_detail::SdlPtr<SDL_Surface> Frame;          // the composed 640 x 480 picture
    gfx_detail::SdlPtr<SDL_Renderer> Renderer;      // the window's, GPU or surface; none when headless
    gfx_detail::SdlPtr<SDL_Texture> FrameTexture;   // GPU output: Frame uploaded, scaled and shown with vsync
    std::vector<gfx_detail::DrawCommand> Drawing;   // this frame so far
    std::vector<gfx_detail::DrawCommand> Composed;  // the frame Frame holds
    bool ShowAll = true;                            // the output lost its picture: new, exposed or resized
    bool Rehearsing = false;                        // drawing is ignored (GfxText::Prepare)
    bool WatchingWindow = false;                    // the window event watch is installed
    int64_t ComposedPixels = 0;                     // frame pixels composed by the last EndFrame (tests, benchmarks)
    bool Windowed = true;
    bool Minimized = false;
    bool FrameCaptured = false;  // Frame holds a presented frame
    bool DeviceLost = false;     // the renderer's device was reset under us
    uint64_t LastPresent = 0;    // performance counter at the last present

    std::unordered_map<int32_t, gfx_detail::TextureRef> Textures;

    // Text: fonts by file and pixel size; rasterised lines, least recently used at the back.
    std::map<std::tuple<std::string, int32_t, bool>, gfx_detail::SdlPtr<TTF_Font>> Fonts;  // file, px, emboldened
    std::map<std::pair<std::string, bool>, gfx_detail::FaceFile> FaceFiles;                // face, bold -> file
    using LineList = std::list<std::pair<std::string, gfx_detail::CachedLine>>;
    LineList Lines;
    std::unordered_map<std::string, LineList::iterator> LineIndex;
    static constexpr size_t MaxCachedLines = 256;
    // Laid-out texts by face, size, box width and text, so steady text is not measured again.
    struct Layout {
        int32_t pixels = 0;  // the size the lines were laid out at (smaller when shrunk to fit)
        std::vector<std::string> lines;
    };
    std::unordered_map<std::string, Layout> Layouts;
    static constexpr size_t MaxLayouts = 512;
    int64_t Rasterised = 0;  // lines rasterised so far (tests)

    // Keyboard: what is held, and what went down since the previous PumpEvents.
    std::array<bool, 256> KeyDown{};
    std::array<bool, 256> KeyPressed{};

    // Mouse in game pixels; bit 1 left, 2 right, 4 middle.
    float MouseX = 0;
    float MouseY = 0;
    int32_t MouseButtons = 0;
    int32_t WheelSteps = 0;  // since the previous PumpEvents
    float InjectedX = 0;     // where injected button events happen
    float InjectedY = 0;
    GfxWindowEvents Events;
    std::deque<SDL_Event> HeldOver;      // a button's second change in one pump, and all after it
    ScriptRecorder* Recorder = nullptr;  // told every input a pump delivers; not owned
    bool ScriptedOnly = false;           // a replay is watched: the player's input is kept apart

    // The full-screen cursor drawn by EndFrame.
    int32_t CursorTexture = 0;
    SDL_Rect CursorSource{0, 0, 0, 0};
    bool SystemCursorHidden = false;  // HideCursor ran: our image replaces the system pointer

    // Joystick: device 1.
    SDL_GameController* Controller = nullptr;
    SDL_Joystick* RawJoystick = nullptr;  // only when the device is not a game controller
    SDL_JoystickID JoystickId = -1;
    SDL_Joystick* VirtualJoystick = nullptr;  // the one AttachVirtualJoystick made
    int VirtualIndex = -1;
    std::array<bool, 32> JoyDown{};
    std::array<bool, 32> JoyPressed{};

    // Sound and music.
    std::unordered_map<int32_t, gfx_detail::Sound> Sounds;
    std::unordered_map<int32_t, int32_t> PlayCounts;
    bool Paused = false;
    gfx_detail::SdlPtr<Mix_Music> Music;
    std::string MusicPath;
    bool MusicLoaded = false;  // true in silent mode too, once the file validated
    double MusicDurationMs = -1;
    float MusicVolume = 100;
    bool MusicPlaying = false;
    bool MusicLoop = false;
    int32_t MusicStartMs = 0;
    int32_t MusicStartTick = 0;  // clock tick when the position was MusicStartMs
    int32_t MusicPausedAt = -1;  // position while paused, -1 when not paused

    // Helpers shared by the service files.
    bool EnsureEvents();
    void ShutdownAll();
    void OpenAudio();
    void CloseAudio();
    void OpenJoystick(int deviceIndex);
    void CloseJoystick();
    TTF_Font* FontFor(const std::string& face, bool bold, float size);
    TTF_Font* FontForPixels(const std::string& face, bool bold, int32_t pixels);
    const gfx_detail::CachedLine* LineFor(TTF_Font* font, const std::string& key, const std::string& text,
                                          bool outlined);
    static gfx_detail::TextureRef MakeTexture(SDL_Surface* picture);
    void Draw(const gfx_detail::TextureRef& texture, const SDL_Rect* src, const SDL_Rect& dst, uint32_t modulate);
    void DrawCursor();
    bool OpenOutput();
    void CloseDisplay();
    void ComposeAndShow();
    void Show(const SDL_Rect& area);
    double MusicRunningMs() const;  // start position plus time played, not wrapped
    int32_t MusicPositionNow() const;
    void ApplyMusicVolume() const;
};
