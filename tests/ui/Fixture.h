// Headless test bed for screens and widgets: a GfxEngine on the dummy drivers in a temporary game
// folder with small generated pictures and sounds, the registries, sprite list and mouse, and the
// virtual clock. Owns the temporary folder and removes it afterwards.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/cMouse.h"
#include "engine/cSound.h"
#include "engine/cSprites.h"
#include "engine/cTextures.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "shell/Globals.h"
#include "shell/cBaseState.h"

namespace kwtest {

// ---- Tiny writers for test pictures and sounds (stored deflate: no compression library needed).

inline uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

inline void PutBE32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

inline void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutBE32(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBE32(out, Crc32(body.data(), body.size()));
}

// An RGBA picture; pixel(x, y) answers ARGB.
inline void WritePng(const std::filesystem::path& path, int32_t width, int32_t height,
                     const std::function<uint32_t(int32_t, int32_t)>& pixel) {
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(height) * (width * 4 + 1));
    for (int32_t y = 0; y < height; ++y) {
        raw.push_back(0);  // no filter
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t argb = pixel(x, y);
            raw.push_back(static_cast<uint8_t>(argb >> 16));
            raw.push_back(static_cast<uint8_t>(argb >> 8));
            raw.push_back(static_cast<uint8_t>(argb));
            raw.push_back(static_cast<uint8_t>(argb >> 24));
        }
    }
    std::vector<uint8_t> zlib = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t pos = 0; pos < raw.size() || pos == 0;) {
        const size_t len = std::min<size_t>(65535, raw.size() - pos);
        const bool last = pos + len >= raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(static_cast<uint8_t>(len));
        zlib.push_back(static_cast<uint8_t>(len >> 8));
        zlib.push_back(static_cast<uint8_t>(~len));
        zlib.push_back(static_cast<uint8_t>(~len >> 8));
        zlib.insert(zlib.end(), raw.begin() + static_cast<ptrdiff_t>(pos), raw.begin() + static_cast<ptrdiff_t>(pos + len));
        pos += len;
        if (last) break;
    }
    PutBE32(zlib, (b << 16) | a);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> header;
    PutBE32(header, static_cast<uint32_t>(width));
    PutBE32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()),
                                                 static_cast<std::streamsize>(png.size()));
}

inline void WriteSilentWav(const std::filesystem::path& path) {
    const uint32_t samples = 441, dataBytes = samples * 2;
    std::vector<uint8_t> out;
    auto le = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    le(36 + dataBytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    le(16, 4), le(1, 2), le(1, 2), le(44100, 4), le(88200, 4), le(2, 2), le(16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    le(dataBytes, 4);
    out.resize(out.size() + dataBytes, 0);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(out.data()),
                                                 static_cast<std::streamsize>(out.size()));
}

// MPEG-1 layer III, 128 kbit/s, 44.1 kHz, mono frames whose side information is all zero: silence.
inline void WriteSilentMp3(const std::filesystem::path& path) {
    std::vector<uint8_t> out;
    for (int frame = 0; frame < 40; ++frame) {
        out.insert(out.end(), {0xFF, 0xFB, 0x90, 0xC0});
        out.resize(out.size() + 417 - 4, 0);
    }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(out.data()),
                                                 static_cast<std::streamsize>(out.size()));
}

// ---- Colours of the test pictures, so a screen pixel tells which picture was drawn there.
constexpr uint32_t kTitleColour = 0xFF202060;     // titlescreen.png
constexpr uint32_t kButtonsColour = 0xFF808080;   // buttons1b.png
constexpr uint32_t kHighlitColour = 0xFFE0C000;   // buttons2b.png
constexpr uint32_t kBackOkColour = 0xFF00A000;    // backok1.png
constexpr uint32_t kFadeColour = 0xFF000000;      // fade.png

// text.png encodes each texel's own coordinates, so a screen pixel names the texel drawn there.
inline uint32_t TextTexel(int32_t x, int32_t y) {
    return 0xFF000000u | (static_cast<uint32_t>(x & 0xFF) << 16) | (static_cast<uint32_t>(y & 0xFF) << 8) |
           (static_cast<uint32_t>(x >> 8) << 4) | static_cast<uint32_t>(y >> 8);
}

inline uint32_t Rgb(uint32_t argb) { return argb & 0x00FFFFFFu; }

// ---- The test bed.
class HeadlessGame : public ::testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        m_Dir = std::filesystem::temp_directory_path() /
                ("kw_ui_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
        std::filesystem::remove_all(m_Dir);
        for (const char* sub : {"game/images", "game/sounds", "game/levels", "game/data", "game/override"})
            std::filesystem::create_directories(m_Dir / sub);
        WriteAssets();

        UseVirtualClock(100000, 12 * 3600.0);
        GfxEngine::SetHeadless(true);
        gProgramFolder = m_Dir;
        gEngine = std::make_unique<GfxEngine>();
        gEngine->SetWorkingFolder(m_Dir.string());
        ASSERT_TRUE(gEngine->Startup());
        gEngine->GetDisplaySettings().SetWindowed(true);
        ASSERT_TRUE(gEngine->InitializeDisplay());
        gSound = std::make_unique<cSound>();
        gTextures = std::make_unique<cTextures>();
        gSprites = std::make_unique<cSprites>();
        gMouse = std::make_unique<cMouse>();
        gRunning = true;
        gWindowed = true;
        gPaused = false;
        gInactive = false;
        gHighestLevel = 1;
        gCurrentLevel = 0;
    }

    void TearDown() override {
        gCurrentState.reset();
        ReleaseRetiredState();
        gMouse.reset();
        gSprites.reset();
        gTextures.reset();
        gSound.reset();
        if (gEngine) gEngine->Shutdown();
        gEngine.reset();
        UseRealClock();
        std::error_code ignored;
        std::filesystem::remove_all(m_Dir, ignored);
    }

    void WriteAssets() const {
        const auto images = m_Dir / "game/images";
        const auto solid = [](uint32_t colour) { return [colour](int32_t, int32_t) { return colour; }; };
        WritePng(images / "titlescreen.png", 640, 480, solid(kTitleColour));
        WritePng(images / "buttons1b.png", 512, 512, solid(kButtonsColour));
        WritePng(images / "buttons2b.png", 512, 512, solid(kHighlitColour));
        WritePng(images / "backok1.png", 512, 512, solid(kBackOkColour));
        WritePng(images / "fade.png", 640, 480, solid(kFadeColour));
        WritePng(images / "text.png", 512, 512, TextTexel);
        WriteSilentWav(m_Dir / "game/sounds/buttonclick.wav");
        WriteSilentMp3(m_Dir / "game/sounds/puzzle3.mp3");
    }

    // One pass of the frame loop on the current state, in the loop's order, then time moves on.
    void Frame(uint32_t ms = 16) {
        GfxDevice& device = gEngine->GetDevice();
        device.BeginFrame();
        for (auto op : {&cBaseState::HandleInput, &cBaseState::ProcessState, &cBaseState::DrawState}) {
            if (gCurrentState) (gCurrentState.get()->*op)();
            ReleaseRetiredState();
        }
        device.EndFrame();
        gEngine->PumpEvents();
        AdvanceVirtualClock(ms);
    }

    void Frames(int count, uint32_t ms = 16) {
        for (int i = 0; i < count; ++i) Frame(ms);
    }

    // Runs frames until the virtual clock has moved on by at least ms.
    void RunFor(uint32_t ms, uint32_t frameMs = 16) {
        for (uint32_t spent = 0; spent < ms; spent += frameMs) Frame(frameMs);
    }

    // A key tapped before the next frame: down now, up after that frame.
    void TapKey(int32_t code) {
        gEngine->InjectKey(code, true);
        gEngine->PumpEvents();
        Frame();
        gEngine->InjectKey(code, false);
        gEngine->PumpEvents();
    }

    // The window's mouse events, as the main window delivers them.
    void MouseTo(float x, float y) {
        gMouse->X = x;
        gMouse->Y = y;
    }
    void MousePress() { gMouse->Button_Down(1); }
    void MouseRelease() { gMouse->Button_Up(1); }
    void ClickAt(float x, float y) {
        MouseTo(x, y);
        Frame();  // hover first, as a real pointer arrives before it clicks
        MousePress();
        Frame();
        MouseRelease();
        Frame();
    }

    int32_t ClickSounds() const {
        return gEngine->GetSoundStore().PlayCount(gSound->Sound("buttonclick.wav"));
    }

    // ARGB of the last presented frame.
    uint32_t PixelAt(int32_t x, int32_t y) const { return gEngine->ReadPixel(x, y); }

    std::filesystem::path m_Dir;
};

// Draws inside one frame of its own, so a test can read what a widget put on the screen.
template <typename Draw>
void DrawOneFrame(Draw&& draw) {
    GfxDevice& device = gEngine->GetDevice();
    device.BeginFrame();
    draw();
    device.EndFrame();
}

}  // namespace kwtest
