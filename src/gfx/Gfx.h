// SPDX-License-Identifier: GPL-3.0-or-later
// Our graphics, input and sound library: the one layer of the game that talks to SDL2,
// SDL2_image, SDL2_mixer, SDL2_ttf, libzip and fontconfig. GfxEngine owns every service;
// getters hand out references. GfxSprite is a plain value that callers own.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class GfxEngine;
class ScriptRecorder;

// Display settings: only width, height, depth, the windowed flag and the window handle mean
// anything to us; the other numeric settings are accepted and ignored.
class GfxDisplaySettings final {
public:
    bool IsModeAvailable(int32_t width, int32_t height, int32_t depth, bool windowedOrAny) const;
    void SetBitDepth(int32_t depth) { m_Depth = depth; }
    void SetValue(int32_t /*unused*/) {}
    void SetFlag(bool /*unused*/) {}
    void SetWidth(int32_t width) { m_Width = width; }
    void SetHeight(int32_t height) { m_Height = height; }
    void SetWindowed(bool windowed) { m_Windowed = windowed; }
    void SetWindowHandleA(int32_t handle) { m_Handle = handle; }
    void SetWindowHandleB(int32_t handle) { m_Handle = handle; }
    int32_t GetWidth() const { return m_Width; }
    int32_t GetHeight() const { return m_Height; }
    int32_t GetBitDepth() const { return m_Depth; }
    bool GetWindowed() const { return m_Windowed; }
    int32_t GetWindowHandle() const { return m_Handle; }

private:
    friend class GfxEngine;
    GfxEngine* m_Engine = nullptr;
    int32_t m_Width = 640;
    int32_t m_Height = 480;
    int32_t m_Depth = 16;
    bool m_Windowed = true;
    int32_t m_Handle = 0;
};

class GfxDevice final {
public:
    void BeginFrame();  // a new frame, drawn over black
    // Draws the full-screen cursor and shows what changed since the last frame; paces to at most
    // 60 frames a second.
    void EndFrame();
    bool IsDeviceLost() const;
    int64_t GetComposedPixels() const;  // frame pixels drawn again by the last EndFrame (tests, benchmarks)

private:
    friend class GfxEngine;
    GfxEngine* m_Engine = nullptr;
};

class GfxTextureStore final {
public:
    // Loads an image (path relative to the working folder, or absolute) under an id. False on failure.
    bool LoadTexture(int32_t id, const std::string& path, bool flag, int32_t value);
    bool HasTexture(int32_t id) const;
    int32_t GetTextureWidth(int32_t id) const;  // 0 for an unknown id
    int32_t GetTextureHeight(int32_t id) const;

private:
    friend class GfxEngine;
    GfxEngine* m_Engine = nullptr;
};

// A drawable cell of a texture. Position is the top-left corner in game pixels.
class GfxSprite final {
public:
    void SetTexture(int32_t id) { m_Texture = id; }
    void SetSourceRect(int32_t left, int32_t top, int32_t width, int32_t height);
    void SetSourceX(int32_t left) { m_SrcX = left; }
    void SetSourceY(int32_t top) { m_SrcY = top; }
    void SetX(float x) { m_X = x; }
    void SetY(float y) { m_Y = y; }
    void MoveBy(float dx, float dy, float /*unused*/ = 0) {
        m_X += dx;
        m_Y += dy;
    }
    void SetAlpha(float alpha) { m_Alpha = alpha; }  // 0..255, multiplies the image's own alpha
    void SetScale(float scale) { m_Scale = scale; }  // about the sprite's centre
    void SetVisible(bool visible) { m_Visible = visible; }
    void SetBlend(bool blend) { m_Blend = blend; }
    void SetFlagC(bool flag) { m_FlagC = flag; }
    void SetData(int32_t index, float value);  // index 1..4
    int32_t GetTexture() const { return m_Texture; }
    float GetX() const { return m_X; }
    float GetY() const { return m_Y; }
    int32_t GetWidth() const { return m_SrcW; }  // source rectangle size, unscaled
    int32_t GetHeight() const { return m_SrcH; }
    int32_t GetSourceX() const { return m_SrcX; }
    int32_t GetSourceY() const { return m_SrcY; }
    float GetAlpha() const { return m_Alpha; }
    float GetScale() const { return m_Scale; }
    bool GetVisible() const { return m_Visible; }
    bool GetBlend() const { return m_Blend; }
    bool GetFlagC() const { return m_FlagC; }
    float GetData(int32_t index) const;  // index 1..4
    void Render() const;                 // draws into the current frame now, unless hidden

private:
    int32_t m_Texture = 0;
    int32_t m_SrcX = 0, m_SrcY = 0, m_SrcW = 0, m_SrcH = 0;
    float m_X = 0, m_Y = 0;
    float m_Alpha = 255;
    float m_Scale = 1;
    bool m_Visible = true;
    bool m_Blend = false;
    bool m_FlagC = false;
    float m_Data[4] = {0, 0, 0, 0};
};

class GfxText final {
public:
    // Size in points at 96 DPI; align 0 left, 1 right, 2 centre within the box; breaks at "\r\n",
    // wraps at word boundaries, and draws written lines slightly too wide for the box a little
    // smaller instead. The shadow is a one-pixel outline in the shadow colour, drawn again at the
    // shadow offsets; a shadow colour of alpha 0 or offsets of 0 draw none.
    void DrawText(float x, float y, float width, float height, const std::string& text, int32_t align, int32_t colour,
                  const std::string& face, float size, bool bold, int32_t unused, float shadowDx, float shadowDy,
                  int32_t shadowColour);
    // Lays out and rasterises a text as DrawText would in a box of that width, without drawing it:
    // a screen's set-up readies what its frames will draw.
    void Prepare(const std::string& text, const std::string& face, float size, bool bold, float width);
    // Width and height in pixels of one line of text in the given face (button captions).
    int32_t MeasureWidth(const std::string& text, const std::string& face, float size, bool bold);
    int32_t MeasureHeight(const std::string& text, const std::string& face, float size, bool bold);
    // The line cache (tests, benchmarks): lines held now, and lines rasterised since start-up.
    int32_t GetCachedLineCount() const;
    int64_t GetRasterisedLineCount() const;

private:
    friend class GfxEngine;
    GfxEngine* m_Engine = nullptr;
};

// The high-score file: a versioned text file. Line 1 "KWSCORES 1"; then ten lines, each the
// score in decimal, one space, and the initials (the rest of the line).
class GfxUtility final {
public:
    void SeedRandom(int32_t seed);
    int32_t RandomRange(int32_t low, int32_t high);  // both ends included
    static int32_t MakeColor(int32_t a, int32_t r, int32_t g, int32_t b);
    // Full screen: hiding the system pointer lets EndFrame draw the cursor image in its place;
    // showing it again stops that, so there is never a double cursor (and never none).
    void HideCursor();
    void ShowCursor();
    bool FileExists(const std::string& path) const;  // relative to the working folder, or absolute
    // A missing file loads the default table. A damaged one loads the entries it still holds and
    // default ones for the rest, is kept beside itself as ".bad", and each damage goes to the
    // repair report. Throws GfxFile::FileError only when the file exists but cannot be read at
    // all, and the default table is loaded then.
    void LoadHighScores(const std::string& path);
    void SaveHighScores(const std::string& path);  // atomic and flushed to disk; throws FileError
    void SetRepairReport(std::function<void(const std::string&)> report) { m_RepairReport = std::move(report); }
    std::string GetHighScoreName(int32_t index) const;                             // 1..10
    int32_t GetHighScoreValue(int32_t index) const;                                // 1..10
    void SetHighScore(int32_t index, const std::string& initials, int32_t score);  // score -1 keeps the score
    // Sets both exactly, so an entry that really scores -1 can be stored too.
    void SetHighScoreEntry(int32_t index, const std::string& initials, int32_t score);
    // Whether this user may write in the folder now.
    static bool IsWritableFolder(const std::filesystem::path& folder);

private:
    friend class GfxEngine;
    GfxEngine* m_Engine = nullptr;
    uint64_t m_State = 0x853c49e6748fea9bULL;
    std::function<void(const std::string&)> m_RepairReport;  // told what a damaged table file lost
    std::string m_Names[10];
    int32_t m_Values[10] = {};
};

// Keys are DirectInput scan codes.
namespace GfxKey {
constexpr int32_t Escape = 1, Enter = 28, Space = 57, P = 25, F7 = 65, F8 = 66, Up = 200, Down = 208, Left = 203,
                  Right = 205;
constexpr int32_t F11 = 87, LeftAlt = 56, RightAlt = 184, NumpadEnter = 156;
}  // namespace GfxKey

class GfxKeyboard final {
public:
    bool IsKeyDown(int32_t code) const;
    // Once per press, in the first frame after it went down. A frame runs from one PumpEvents to
    // the next: each PumpEvents forgets the old presses and latches those among its events.
    bool IsKeyPressed(int32_t code) const;

private:
    friend class GfxEngine;
    GfxEngine* m_Engine = nullptr;
};

class GfxMouse final {
public:
    void SetCursorImage(int32_t texture, float left, float top, float width, float height, float a, float b, int32_t c,
                        float d, float e, float f, int32_t g, bool h);
    float GetCursorX() const;
    float GetCursorY() const;
    bool IsLeftButtonDown() const;
    bool IsRightButtonDown() const;
    // Wheel steps since the previous PumpEvents, away from the player positive, as keys are
    // latched; one event counts at most MaxWheelSteps either way.
    int32_t GetWheelSteps() const;
    static constexpr int32_t MaxWheelSteps = 100;

private:
    friend class GfxEngine;
    GfxEngine* m_Engine = nullptr;
};

// Device 1 is the first connected game controller. Buttons in SDL's controller order:
// 0 A, 1 B, 2 X, 3 Y, 4 Back, 5 Guide, 6 Start. Axes answer -1, 0 or 1.
class GfxJoystick final {
public:
    void Poll();
    bool IsButtonDown(int32_t device, int32_t button) const;
    bool IsButtonPressed(int32_t device, int32_t button) const;  // once per press
    int32_t GetAxisX(int32_t device) const;
    int32_t GetAxisY(int32_t device) const;

private:
    friend class GfxEngine;
    GfxEngine* m_Engine = nullptr;
};

// Volumes are 0..100 for effects and music alike.
class GfxSoundStore final {
public:
    bool LoadSound(int32_t id, const std::string& path);
    void SetSoundVolume(int32_t id, int32_t volume);
    int32_t GetSoundVolume(int32_t id) const;  // as applied, 0..100; 0 for an unknown id
    void PlaySound(int32_t id, int32_t a = 0, int32_t b = 0);
    void PauseAll();
    void ResumeAll();
    int32_t PlayCount(int32_t id) const;  // how often PlaySound ran for the loaded id (tests, runner)

private:
    friend class GfxEngine;
    GfxEngine* m_Engine = nullptr;
};

class GfxMusic final {
public:
    bool LoadMusic(const std::string& path, int32_t unused = 0);
    bool PlayMusic(bool loop, int32_t startMs);
    int32_t GetPosition() const;  // milliseconds
    bool IsPlaying() const;
    void StopMusic();
    void UnloadMusic();
    void SetMusicVolume(float volume);
    float GetMusicVolume() const;
    std::string GetLoadedPath() const;  // the last path loaded, "" when none (tests, runner)

private:
    friend class GfxEngine;
    GfxEngine* m_Engine = nullptr;
};

class GfxArchive final {
public:
    // An entry is unpacked under its name and this, then renamed into place.
    static constexpr const char* PartSuffix = ".kwpart";
    // Extracts every entry into the working folder; tries password1, then password2. Each file
    // and folder it creates is added to `written`, so all of them can be deleted again. Holds no
    // state between calls: different archives may be extracted at once.
    bool ExtractArchive(const std::string& file, const std::string& password1, const std::string& password2,
                        int32_t unused, const std::string& unused2,
                        std::vector<std::filesystem::path>* written = nullptr);
    // Several archives, each into its own folder (paths relative to the working folder, or
    // absolute), each on a thread of its own; all are done when it returns. `written` lists what was created archive by
    // archive, in the order given. True when every archive unpacked whole; `writeError` receives
    // the errno of the first file that could not be written (a full disk), 0 when none.
    struct Unpacking {
        std::string file;
        std::string folder;
    };
    bool ExtractArchives(const std::vector<Unpacking>& archives, const std::string& password1,
                         const std::string& password2, std::vector<std::filesystem::path>* written = nullptr,
                         int* writeError = nullptr);

private:
    bool ExtractInto(const std::filesystem::path& archive, const std::filesystem::path& folder,
                     const std::string& password1, const std::string& password2,
                     std::vector<std::filesystem::path>* written, int* writeError) const;
    friend class GfxEngine;
    GfxEngine* m_Engine = nullptr;
};

// What the window delivers to the game while pending events are processed.
// Mouse coordinates arrive in game pixels; buttons are 1 left, 2 right, 4 middle.
struct GfxWindowEvents {
    std::function<void(int32_t button, int32_t shift, float x, float y)> MouseDown;
    std::function<void(int32_t button, int32_t shift, float x, float y)> MouseUp;
    std::function<void(int32_t button, int32_t shift, float x, float y)> MouseMove;
    std::function<void()> Unload;                 // the window was asked to close
    std::function<void(bool active)> Activation;  // application focus lost (false) or gained (true)
    std::function<void()> ToggleFullScreen;       // Alt+Enter or F11; the keys then reach nothing else
};

// Synthetic input for the scripted runner and tests: pushed as platform events, so it takes the
// same path as real input at the next PumpEvents.
enum class GfxWindowAction { FocusLost, FocusGained, Minimize, Restore, Close };

class GfxEngine final {
public:
    GfxEngine();
    ~GfxEngine();
    GfxEngine(const GfxEngine&) = delete;
    GfxEngine& operator=(const GfxEngine&) = delete;

    void SetWorkingFolder(const std::string& path);
    const std::filesystem::path& GetWorkingFolder() const;
    std::filesystem::path Resolve(const std::string& path) const;  // relative to the working folder
    bool Startup();            // initialises SDL's subsystems (dummy drivers when headless)
    bool InitializeDisplay();  // opens the window and renderer from the display settings
    void Shutdown();

    GfxDisplaySettings& GetDisplaySettings();
    GfxDevice& GetDevice();
    GfxTextureStore& GetTextureStore();
    GfxText& GetText();
    GfxUtility& GetUtility();
    GfxKeyboard& GetKeyboard();
    GfxMouse& GetMouse();
    GfxJoystick& GetJoystick();
    GfxSoundStore& GetSoundStore();
    GfxMusic& GetMusic();
    GfxArchive& GetArchive();

    // The window.
    void SetWindowEvents(GfxWindowEvents events);
    void PumpEvents();  // process all pending platform events into the handlers and input state
    // Every input PumpEvents delivers is also written to the recorder (not owned; null: none).
    void SetRecorder(ScriptRecorder* recorder);
    // Watching a replay: only injected input reaches the game, and no controller but the virtual
    // one is opened. Turned off, the input the replay left held is let go.
    void SetScriptedInputOnly(bool only);
    // While only injected input counts: the player's own key presses (scan codes) and whether the
    // window was closed, from the events pending now, after waiting up to waitMs for one.
    struct PlayerInput {
        std::vector<int32_t> keys;
        bool close = false;
    };
    PlayerInput TakePlayerInput(uint32_t waitMs);
    bool IsMinimized() const;
    void ShowWindow();
    bool SetFullScreen(bool fullScreen);  // switches the open window without a restart; false on failure
    // The system pointer in desktop pixels and the window's client rectangle on the desktop.
    bool GetPointerOnDesktop(int32_t& x, int32_t& y) const;
    bool GetClientRectOnDesktop(int32_t& left, int32_t& top, int32_t& width, int32_t& height) const;
    void SetSystemCursorVisible(bool visible);

    // Shows a modal box when a display is available, otherwise writes title and text to stderr.
    static void MessageBox(const std::string& title, const std::string& text);

    // Headless operation (tests, runner): dummy video and audio drivers, software renderer.
    static void SetHeadless(bool headless);
    static bool IsHeadless();
    // Before Startup: every picture, sound and tune loads as a blank or silent stand-in and the
    // score table as the default one, without a file read or written; nothing is heard or
    // measured (no fonts). For worlds that only play the rules (the casual player's trials).
    void UseStandIns();
    void InjectKey(int32_t scanCode, bool down);
    void InjectMouseMove(float x, float y);
    void InjectMouseButton(int32_t button, bool down);  // 1 left, 2 right
    void InjectMouseWheel(int32_t steps);               // away from the player positive
    bool AttachVirtualJoystick();
    void InjectJoyAxis(char axis, int32_t value);  // 'x' or 'y', -1..1
    void InjectJoyButton(int32_t button, bool down);
    void InjectWindow(GfxWindowAction action);
    bool SaveScreenshot(const std::string& path) const;  // the last presented frame, as PNG
    uint32_t ReadPixel(int32_t x, int32_t y) const;      // ARGB of the last presented frame

    struct Impl;
    Impl& GetImpl() { return *m_Impl; }

private:
    std::unique_ptr<Impl> m_Impl;
    GfxDisplaySettings m_DisplaySettings;
    GfxDevice m_Device;
    GfxTextureStore m_TextureStore;
    GfxText m_Text;
    GfxUtility m_Utility;
    GfxKeyboard m_Keyboard;
    GfxMouse m_Mouse;
    GfxJoystick m_Joystick;
    GfxSoundStore m_SoundStore;
    GfxMusic m_Music;
    GfxArchive m_Archive;
};

// The engine that GfxSprite::Render draws with; set by GfxEngine's constructor.
GfxEngine* GfxCurrentEngine();
