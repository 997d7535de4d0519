// SPDX-License-Identifier: GPL-3.0-or-later
// The scenery list: positions, keys and the rule that a number-like text is a position.
#include <gtest/gtest.h>

#include "base/RuntimeError.h"
#include "engine/cSprites.h"

namespace {

class SpriteList : public ::testing::Test {
protected:
    SpriteRef Make(int32_t tag) {
        auto sprite = std::make_shared<GfxSprite>();
        sprite->SetTexture(tag);
        return sprite;
    }
    int32_t Tag(const SpriteRef& sprite) const { return sprite ? sprite->GetTexture() : -1; }
    void SetUp() override {
        m_List.Add_Sprite(Make(1), "bg", 0);
        m_List.Add_Sprite(Make(2), "panel", 0);
        m_List.Add_Sprite(Make(3), "5", 0);  // a key that looks like a number
    }
    cSprites m_List;
};

TEST_F(SpriteList, ADigitTextNotAboveCountIsAPositionAboveCountAKey) {
    EXPECT_EQ(Tag(m_List.Item("2")), 2);
    EXPECT_EQ(Tag(m_List.Item("3")), 3);  // equal to Count: still a position
    EXPECT_EQ(Tag(m_List.Item("5")), 3);
    EXPECT_EQ(Tag(m_List.Item("PANEL")), 2);
    EXPECT_EQ(m_List.Item("dragon"), nullptr);
    EXPECT_EQ(m_List.Item("99999999999999999999"), nullptr);
}

TEST_F(SpriteList, RemovingFollowsTheSameRuleIgnoresAbsentKeysAndCanEmptyTheList) {
    m_List.Remove_Sprite("nothing");
    EXPECT_EQ(m_List.Count(), 3);
    m_List.Remove_Sprite("5");  // above Count: the key "5"
    EXPECT_EQ(m_List.Count(), 2);
    m_List.Remove_Sprite("1");  // a position
    EXPECT_EQ(Tag(m_List.Item(1)), 2);
    m_List.Remove_Sprite(1);
    EXPECT_EQ(m_List.Count(), 0);
}

TEST_F(SpriteList, PositionZeroAppendsAndPositionOneGoesUnderneath) {
    m_List.Add_Sprite(Make(7), "board", 1);
    m_List.Add_Sprite(Make(8), "dragon", 0);
    EXPECT_EQ(Tag(m_List.Item(1)), 7);
    EXPECT_EQ(Tag(m_List.Item(5)), 8);
}

TEST_F(SpriteList, CallerErrorsRaiseRunTimeErrors) {
    EXPECT_THROW(m_List.Add_Sprite(Make(9), "BG", 0), RuntimeError);
    EXPECT_THROW(m_List.Item(0), RuntimeError);
    EXPECT_THROW(m_List.Item("0"), RuntimeError);
    EXPECT_THROW(m_List.Remove_Sprite(-1), RuntimeError);
}

}  // namespace
