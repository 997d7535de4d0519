// SPDX-License-Identifier: GPL-3.0-or-later
// A headless engine of its own on the virtual clock in a scratch working folder, shared by the gfx
// tests (the game's gEngine is left alone).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "support/GameFolder.h"

class GfxFixture : public ::testing::Test {
protected:
    void SetUp() override {
        UseVirtualClock(1000, 12 * 3600.0);
        GfxEngine::SetHeadless(true);
        m_Engine = std::make_unique<GfxEngine>();
        m_Engine->SetWorkingFolder(m_Folder.string());
    }
    void TearDown() override {
        m_Engine.reset();
        UseRealClock();
    }
    // Starts SDL and opens the offscreen display.
    void OpenDisplay() {
        ASSERT_TRUE(m_Engine->Startup());
        ASSERT_TRUE(m_Engine->InitializeDisplay());
    }
    std::string PathOf(const std::string& name) const { return (m_Folder / name).string(); }
    // One game frame: pump, then draw whatever `draw` does between begin and end.
    template <class F>
    void Frame(F draw) {
        m_Engine->GetDevice().BeginFrame();
        draw();
        m_Engine->GetDevice().EndFrame();
    }

    // The whole frame, row after row.
    std::vector<uint32_t> Pixels() const {
        std::vector<uint32_t> pixels;
        for (int32_t y = 0; y < 480; ++y)
            for (int32_t x = 0; x < 640; ++x) pixels.push_back(m_Engine->ReadPixel(x, y));
        return pixels;
    }
    bool FrameIsBlack() const { return Pixels() == std::vector<uint32_t>(640 * 480, 0xFF000000u); }

    kwtest::GameFolder m_Scratch;  // removed with the test
    const std::filesystem::path m_Folder = m_Scratch.Root();
    std::unique_ptr<GfxEngine> m_Engine;
};
