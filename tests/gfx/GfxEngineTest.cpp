// SPDX-License-Identifier: GPL-3.0-or-later
// Engine start-up on the dummy drivers, the display question and paths.
#include <gtest/gtest.h>

#include <csignal>

#include "GfxFixture.h"

namespace {

using Engine = GfxFixture;

TEST_F(Engine, TheGameDisplayOpensTwiceHarmlesslyButNotOneLargerThanTheDesktop) {
    ASSERT_TRUE(m_Engine->Startup());
    const GfxDisplaySettings& s = m_Engine->GetDisplaySettings();
    EXPECT_TRUE(s.IsModeAvailable(640, 480, 16, true));
    EXPECT_FALSE(s.IsModeAvailable(64000, 48000, 16, true));
    EXPECT_FALSE(s.IsModeAvailable(640, 480, 7, true));
    ASSERT_TRUE(m_Engine->InitializeDisplay());
    ASSERT_TRUE(m_Engine->InitializeDisplay());
    int32_t left = 0, top = 0, width = 0, height = 0;
    ASSERT_TRUE(m_Engine->GetClientRectOnDesktop(left, top, width, height));
    EXPECT_EQ(std::pair(width, height), std::pair(640, 480));
    m_Engine->Shutdown();
    m_Engine->Shutdown();
    EXPECT_FALSE(m_Engine->GetClientRectOnDesktop(left, top, width, height));
}

// A closed terminal (SIGHUP) closes the window as SIGTERM does, so the game ends in order, and a
// write to a closed pipe does not end it at all.
TEST_F(Engine, AHangUpClosesTheWindowAndABrokenPipeIsHarmless) {
    ASSERT_TRUE(m_Engine->Startup());
    bool closed = false;
    GfxWindowEvents events;
    events.Unload = [&closed] { closed = true; };
    m_Engine->SetWindowEvents(std::move(events));
    std::raise(SIGHUP);
    std::raise(SIGPIPE);
    m_Engine->PumpEvents();
    EXPECT_TRUE(closed);
}

TEST_F(Engine, PathsResolveAgainstTheWorkingFolderWithEitherSeparator) {
    EXPECT_EQ(m_Engine->Resolve("game\\images\\a.png"), m_Folder / "game" / "images" / "a.png");
    EXPECT_EQ(m_Engine->Resolve("/tmp/x"), std::filesystem::path("/tmp/x"));
}

}  // namespace
