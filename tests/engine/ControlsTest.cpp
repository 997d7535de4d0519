// SPDX-License-Identifier: GPL-3.0-or-later
// Binding the controls: a key goes to one control only, no control is left without a key, and
// the game's own keys stay its own.
#include <gtest/gtest.h>

#include "engine/Controls.h"

namespace {

constexpr int32_t kA = 30, kCtrl = 29;

TEST(Controls, AKeyBoundElsewhereMovesOrSwapsAndTheLastKeyOfAControlNeverGoes) {
    Controls c;
    EXPECT_EQ(BindKey(c, Control::Left, 1, kA).line, "A now moves left.");
    // Space leaves Fire's slot 0 for Left's, and Left's key there (the arrow) takes its place.
    const BindOutcome swap = BindKey(c, Control::Left, 0, GfxKey::Space);
    EXPECT_EQ(swap.line, "Space now moves left; Left arrow now fires.");
    EXPECT_EQ(c.keys[0], (Slots{GfxKey::Space, kA}));
    EXPECT_EQ(c.keys[2], (Slots{GfxKey::Left, kNoKey}));
    // Taking Fire's only key would leave it with none.
    const Controls before = c;
    EXPECT_EQ(BindKey(c, Control::Pause, 1, GfxKey::Left).line,
              "Left arrow is the only key that fires; give Fire another key first.");
    EXPECT_EQ(c, before);
    EXPECT_FALSE(ClearKey(c, Control::Fire, 0).changed);
    // A key from a control's other slot just changes places; one moved to an empty slot leaves its old one.
    EXPECT_EQ(BindKey(c, Control::Left, 1, GfxKey::Space).line, "Space now moves left.");
    EXPECT_EQ(c.keys[0], (Slots{kA, GfxKey::Space}));
    BindKey(c, Control::Fire, 1, kCtrl);
    EXPECT_EQ(BindKey(c, Control::Pause, 1, kCtrl).line, "Left Ctrl now pauses and no longer fires.");
    EXPECT_TRUE(ControlsUsable(c));
    EXPECT_EQ(ClearKey(c, Control::Left, 0).line, "A no longer moves left.");
    EXPECT_EQ(c.keys[0], (Slots{kNoKey, GfxKey::Space}));
}

TEST(Controls, TheGamesOwnKeysAndTheDpadAreNeverBound) {
    Controls c;
    for (const int32_t reserved : {GfxKey::Escape, GfxKey::F7, GfxKey::F8, GfxKey::F11, 0, 255})
        EXPECT_FALSE(BindKey(c, Control::Fire, 1, reserved).changed) << reserved;
    for (const int32_t button : {5, 11, -1, 21}) EXPECT_FALSE(BindPadButton(c, Control::Fire, 1, button).changed);
    EXPECT_FALSE(BindPadButton(c, Control::Left, 0, 2).changed);  // the stick moves: no pad slots
    EXPECT_EQ(c, Controls());
    EXPECT_EQ(BindPadButton(c, Control::Fire, 0, 6).line, "Start now fires; A now pauses.");
}

// Reading back what was written is the options fuzz target's to check, over its corpus.
TEST(Controls, EntriesRefuseWhatCannotBeBoundAndAKeyBoundTwiceIsUnusable) {
    Controls read;
    for (const char* bad : {"", "esc", "space,a,s", "f7", "space,", "nokey"})
        EXPECT_FALSE(ReadControlEntry(read, "KeyFire", bad)) << bad;
    EXPECT_FALSE(ReadControlEntry(read, "PadFire", "guide"));
    EXPECT_EQ(read, Controls());
    ASSERT_TRUE(ReadControlEntry(read, "KeyLeft", "space,s"));
    EXPECT_FALSE(ControlsUsable(read));
}

}  // namespace
