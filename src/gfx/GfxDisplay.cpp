// SPDX-License-Identifier: GPL-3.0-or-later
// The window, frame begin and end with pacing, textures, sprites, and reading the composed
// frame back (screenshots, tests).
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>

#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "gfx/GfxFile.h"
#include "gfx/GfxImpl.h"

namespace {
using gfx_detail::GameHeight;
using gfx_detail::GameWidth;
constexpr double FrameSeconds = 1.0 / 60.0;
}  // namespace

bool GfxDisplaySettings::IsModeAvailable(int32_t width, int32_t height, int32_t depth, bool /*windowedOrAny*/) const {
    if (width <= 0 || height <= 0 || (depth != 16 && depth != 24 && depth != 32)) return false;
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return false;
    // We never switch display modes: windowed and full screen both need a desktop at least this big.
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(i, &mode) == 0 && mode.w >= width && mode.h >= height) return true;
    }
    return false;
}

bool GfxEngine::InitializeDisplay() {
    Impl& d = *m_Impl;
    if (!d.Started && !Startup()) return false;
    d.CloseDisplay();
    const GfxDisplaySettings& s = m_DisplaySettings;
    d.Windowed = s.GetWindowed();
    const int width = s.GetWidth() > 0 ? s.GetWidth() : GameWidth;
    const int height = s.GetHeight() > 0 ? s.GetHeight() : GameHeight;
    Uint32 flags = d.Windowed ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (IsHeadless()) flags |= SDL_WINDOW_HIDDEN;
    d.Window.reset(
        SDL_CreateWindow("Kindlewisp", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags));
    if (!d.Window) {
        SDL_Log("Cannot open the window: %s", SDL_GetError());
        return false;
    }
    d.Frame.reset(SDL_CreateRGBSurfaceWithFormat(0, GameWidth, GameHeight, 32, SDL_PIXELFORMAT_ARGB8888));
    // Headless, the frame is the picture: it is read back and nothing else shows it.
    if (!d.Frame || (!IsHeadless() && !d.OpenOutput())) {
        SDL_Log("Cannot open the display: %s", SDL_GetError());
        d.CloseDisplay();
        return false;
    }
    SDL_FillRect(d.Frame.get(), nullptr, 0xFF000000u);
    d.Minimized = false;
    d.DeviceLost = false;
    return true;
}

void GfxEngine::ShowWindow() {
    if (m_Impl->Window && !IsHeadless()) SDL_ShowWindow(m_Impl->Window.get());
}

bool GfxEngine::SetFullScreen(bool fullScreen) {
    Impl& d = *m_Impl;
    if (!d.Window) return false;
    if (SDL_SetWindowFullscreen(d.Window.get(), fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        SDL_Log("Cannot switch the display mode: %s", SDL_GetError());
        return false;
    }
    // A window first opened full screen was made without a resizable frame.
    if (!fullScreen) SDL_SetWindowResizable(d.Window.get(), SDL_TRUE);
    d.Windowed = !fullScreen;
    m_DisplaySettings.SetWindowed(d.Windowed);
    return true;
}

bool GfxEngine::IsMinimized() const { return m_Impl->Minimized; }

bool GfxEngine::GetPointerOnDesktop(int32_t& x, int32_t& y) const {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return false;
    int gx = 0, gy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    x = gx;
    y = gy;
    return true;
}

bool GfxEngine::GetClientRectOnDesktop(int32_t& left, int32_t& top, int32_t& width, int32_t& height) const {
    if (!m_Impl->Window) return false;
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(m_Impl->Window.get(), &x, &y);
    SDL_GetWindowSize(m_Impl->Window.get(), &w, &h);
    left = x;
    top = y;
    width = w;
    height = h;
    return true;
}

void GfxEngine::SetSystemCursorVisible(bool visible) {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void GfxDevice::BeginFrame() { m_Engine->GetImpl().Drawing.clear(); }

void GfxEngine::Impl::DrawCursor() {
    if (Windowed || !SystemCursorHidden || CursorTexture == 0) return;
    const auto it = Textures.find(CursorTexture);
    if (it == Textures.end()) return;
    const SDL_Rect dst{static_cast<int>(std::floor(MouseX)), static_cast<int>(std::floor(MouseY)), CursorSource.w,
                       CursorSource.h};
    Draw(it->second, &CursorSource, dst, 0xFFFFFFFFu);
}

void GfxDevice::EndFrame() {
    GfxEngine::Impl& d = m_Engine->GetImpl();
    if (!d.Frame) return;
    d.DrawCursor();
    d.ComposeAndShow();
    // Pace to at most 60 frames a second whatever vsync does; never under the virtual clock,
    // which tests and the runner step as fast as they can.
    const uint64_t frequency = SDL_GetPerformanceFrequency();
    const auto frameTicks = static_cast<uint64_t>(static_cast<double>(frequency) * FrameSeconds);
    uint64_t now = SDL_GetPerformanceCounter();
    if (!IsVirtualClock() && d.LastPresent != 0) {
        const uint64_t due = d.LastPresent + frameTicks;
        while (now < due) {
            const uint64_t left = (due - now) * 1000 / frequency;
            SDL_Delay(left > 1 ? static_cast<Uint32>(left - 1) : 1);
            now = SDL_GetPerformanceCounter();
        }
        // After a long stall start a fresh schedule rather than racing to catch up.
        d.LastPresent = now - d.LastPresent > 2 * frameTicks ? now : d.LastPresent + frameTicks;
    } else {
        d.LastPresent = now;
    }
}

int64_t GfxDevice::GetComposedPixels() const { return m_Engine->GetImpl().ComposedPixels; }

bool GfxDevice::IsDeviceLost() const { return m_Engine->GetImpl().DeviceLost; }

bool GfxTextureStore::LoadTexture(int32_t id, const std::string& path, bool /*flag*/, int32_t /*value*/) {
    GfxEngine::Impl& d = m_Engine->GetImpl();
    if (d.StandIns) {
        const gfx_detail::SdlPtr<SDL_Surface> blank(
            SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32, SDL_PIXELFORMAT_ARGB8888));
        d.Textures[id] = d.MakeTexture(blank.get());
        return d.Textures[id] != nullptr;
    }
    if (!d.Frame) return false;
    // Read first and checked for its size, so no picture can stall the game or take gigabytes.
    const auto picture = GfxFile::ReadBounded(m_Engine->Resolve(path), GfxFile::MaxPictureFileBytes);
    if (picture.status != GfxFile::ReadStatus::Read || picture.truncated || !GfxFile::IsUsablePng(picture.bytes))
        return false;
    gfx_detail::SdlPtr<SDL_Surface> surface(
        IMG_Load_RW(SDL_RWFromConstMem(picture.bytes.data(), static_cast<int>(picture.bytes.size())), 1));
    gfx_detail::TextureRef texture = d.MakeTexture(surface.get());
    if (!texture) return false;
    d.Textures[id] = std::move(texture);
    return true;
}

bool GfxTextureStore::HasTexture(int32_t id) const { return m_Engine->GetImpl().Textures.count(id) != 0; }

int32_t GfxTextureStore::GetTextureWidth(int32_t id) const {
    const auto& t = m_Engine->GetImpl().Textures;
    const auto it = t.find(id);
    return it == t.end() ? 0 : it->second->width;
}

int32_t GfxTextureStore::GetTextureHeight(int32_t id) const {
    const auto& t = m_Engine->GetImpl().Textures;
    const auto it = t.find(id);
    return it == t.end() ? 0 : it->second->height;
}

void GfxSprite::SetSourceRect(int32_t left, int32_t top, int32_t width, int32_t height) {
    m_SrcX = left;
    m_SrcY = top;
    m_SrcW = width;
    m_SrcH = height;
}

void GfxSprite::SetData(int32_t index, float value) {
    if (index >= 1 && index <= 4) m_Data[index - 1] = value;
}

float GfxSprite::GetData(int32_t index) const { return index >= 1 && index <= 4 ? m_Data[index - 1] : 0.0f; }

void GfxSprite::Render() const {
    GfxEngine* engine = GfxCurrentEngine();
    if (!m_Visible || engine == nullptr) return;
    GfxEngine::Impl& d = engine->GetImpl();
    const auto it = d.Textures.find(m_Texture);
    if (it == d.Textures.end()) return;
    const gfx_detail::Texture& t = *it->second;
    // No source rectangle yet means the whole picture.
    const SDL_Rect src =
        m_SrcW > 0 && m_SrcH > 0 ? SDL_Rect{m_SrcX, m_SrcY, m_SrcW, m_SrcH} : SDL_Rect{0, 0, t.width, t.height};
    const float alpha = std::isnan(m_Alpha) ? 0.0f : std::clamp(m_Alpha, 0.0f, 255.0f);
    if (alpha <= 0.0f || !(m_Scale > 0.0f)) return;
    const float w = static_cast<float>(src.w) * m_Scale;
    const float h = static_cast<float>(src.h) * m_Scale;
    const float left = std::floor(m_X) + (static_cast<float>(src.w) - w) / 2.0f;
    const float top = std::floor(m_Y) + (static_cast<float>(src.h) - h) / 2.0f;
    using gfx_detail::Drawable;
    if (!Drawable(left) || !Drawable(top) || !Drawable(w) || !Drawable(h)) return;
    const SDL_Rect dst{static_cast<int>(std::floor(left)), static_cast<int>(std::floor(top)),
                       static_cast<int>(std::lrint(w)), static_cast<int>(std::lrint(h))};
    d.Draw(it->second, &src, dst, static_cast<uint32_t>(std::lrint(alpha)) << 24 | 0x00FFFFFFu);
}

bool GfxEngine::SaveScreenshot(const std::string& path) const {
    const Impl& d = *m_Impl;
    if (!d.FrameCaptured) return false;  // nothing presented yet
    return IMG_SavePNG(d.Frame.get(), Resolve(path).string().c_str()) == 0;
}

uint32_t GfxEngine::ReadPixel(int32_t x, int32_t y) const {
    const Impl& d = *m_Impl;
    if (x < 0 || y < 0 || x >= GameWidth || y >= GameHeight || !d.FrameCaptured) return 0;
    const auto* row = static_cast<const uint8_t*>(d.Frame->pixels) + static_cast<ptrdiff_t>(y) * d.Frame->pitch;
    return reinterpret_cast<const uint32_t*>(row)[x];
}
