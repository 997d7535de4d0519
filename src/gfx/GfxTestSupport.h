// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers for tests across the game: they write pictures, sounds and password-protected
// archives to disk so a test can make its own assets without including SDL or libzip.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class GfxEngine;

namespace GfxTestSupport {

// Writes a PNG whose pixel (x, y) has the ARGB colour `pixel(x, y)`. Paths are used as given.
// Without `alpha` the file has no alpha channel at all (an opaque picture).
bool WritePng(const std::string& path, int32_t width, int32_t height,
              const std::function<uint32_t(int32_t x, int32_t y)>& pixel, bool alpha = true);
// A PNG of one ARGB colour.
bool WriteSolidPng(const std::string& path, int32_t width, int32_t height, uint32_t argb);
// A checkerboard of two ARGB colours in square cells of `cell` pixels, colour `a` at the top left.
bool WriteCheckerPng(const std::string& path, int32_t width, int32_t height, uint32_t a, uint32_t b, int32_t cell);

// A 16-bit mono 22050 Hz WAV of a quiet tone lasting `milliseconds` (also loadable as music).
bool WriteWav(const std::string& path, int32_t milliseconds);

// SDL's own answer for an ARGB picture pixel (of a picture with or without an alpha channel) under
// an ARGB modulation, blended over an ARGB frame pixel.
uint32_t SdlBlend(uint32_t picture, uint32_t modulate, uint32_t under, bool alpha = true);

// A zip archive of (entry name, contents) pairs, each entry AES-256 encrypted with `password`
// (stored plain when the password is empty).
bool WriteZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries,
              const std::string& password);

// The engine's window resized to width x height, then a pointer move to (x, y) of it, in window
// pixels, as the window system sends one. False without a window.
bool MovePointerInWindow(GfxEngine& engine, int32_t width, int32_t height, int32_t x, int32_t y);

}  // namespace GfxTestSupport
