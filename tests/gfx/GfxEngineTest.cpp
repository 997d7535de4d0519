// Engine start-up on the dummy drivers, the display question, paths and the headless message box.
#include <gtest/gtest.h>

#include "GfxFixture.h"

namespace {

TEST_F(GfxFixture, TheGameDisplayIsAvailableButNotOneLargerThanTheDesktop) {
    ASSERT_TRUE(m_Engine->Startup());
    const GfxDisplaySettings& s = m_Engine->GetDisplaySettings();
    EXPECT_TRUE(s.IsModeAvailable(640, 480, 16, true));
    EXPECT_FALSE(s.IsModeAvailable(64000, 48000, 16, true));
    EXPECT_FALSE(s.IsModeAvailable(640, 480, 7, true));
}

TEST_F(GfxFixture, OpeningTheDisplayTwiceAndShuttingDownTwiceIsHarmless) {
    ASSERT_TRUE(m_Engine->Startup());
    ASSERT_TRUE(m_Engine->InitializeDisplay());
    ASSERT_TRUE(m_Engine->InitializeDisplay());
    int32_t left = 0, top = 0, width = 0, height = 0;
    ASSERT_TRUE(m_Engine->GetClientRectOnDesktop(left, top, width, height));
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    m_Engine->Shutdown();
    m_Engine->Shutdown();
    EXPECT_FALSE(m_Engine->GetClientRectOnDesktop(left, top, width, height));
}

TEST_F(GfxFixture, PathsResolveAgainstTheWorkingFolderWithEitherSeparator) {
    EXPECT_EQ(m_Engine->Resolve("game\\images\\a.png"), m_Folder / "game" / "images" / "a.png");
    EXPECT_EQ(m_Engine->Resolve("game/data/game.dat"), m_Folder / "game" / "data" / "game.dat");
    EXPECT_EQ(m_Engine->Resolve("/tmp/x"), std::filesystem::path("/tmp/x"));
}

TEST_F(GfxFixture, HeadlessTheMessageBoxGoesToStandardError) {
    ::testing::internal::CaptureStderr();
    GfxEngine::MessageBox("ERROR", "Something broke");
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("ERROR"), std::string::npos);
    EXPECT_NE(err.find("Something broke"), std::string::npos);
}

}  // namespace
