// SPDX-License-Identifier: GPL-3.0-or-later
// The keyed collection the rules are built on.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "base/Collection.h"

namespace {

Collection<int> Abc() {
    Collection<int> c;
    c.Add(1, "a");
    c.Add(2, "b");
    c.Add(3, "c");
    return c;
}

TEST(Collection, DuplicateOrMissingKeysAndBadPositionsRaiseRunTimeErrors) {
    Collection<int> c = Abc();
    EXPECT_THROW(c.Add(9, "A"), RuntimeError) << "keys compare without letter case";
    try {
        c.Remove("zz");
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), ErrorNumber::KeyNotFound);
    }
    EXPECT_THROW(c.Item(0), RuntimeError);
    EXPECT_THROW(c.Item(4), RuntimeError);
}

TEST(Collection, AWalkOverASnapshotSurvivesRemovalsDuringTheWalk) {
    Collection<int> c = Abc();
    int seen = 0;
    for (const auto& entry : c.Snapshot()) {
        if (!c.Exists(entry.key)) continue;
        ++seen;
        if (entry.key == "a") c.Remove("c");
    }
    EXPECT_EQ(seen, 2);
    EXPECT_EQ(c.Count(), 2);
}

TEST(Collection, EveryKeyFindsItsItemAfterInsertsAndRemovalsAnywhere) {
    Collection<int> c;
    std::vector<std::pair<std::string, int>> model;  // the same contents, searched the slow way
    uint32_t draw = 12345;
    for (int step = 0; step < 400; ++step) {
        draw = draw * 1103515245U + 12345U;
        const int count = c.Count();
        const std::string key = "orbX" + std::to_string(step % 37) + "Y" + std::to_string(step % 11);
        const bool present =
            std::any_of(model.begin(), model.end(), [&](const auto& e) { return KeysEqual(e.first, key); });
        if ((draw >> 8) % 3 != 0 && !present) {
            const int before = count == 0 ? 0 : static_cast<int>((draw >> 12) % static_cast<uint32_t>(count + 2));
            c.Add(step, (step % 2 ? key : "ORBX" + key.substr(4)), before);
            const auto at = before >= 1 && before <= count ? model.begin() + (before - 1) : model.end();
            model.insert(at, {key, step});
        } else if (count > 0) {
            const int position = 1 + static_cast<int>((draw >> 12) % static_cast<uint32_t>(count));
            if (step % 2)
                c.Remove(position);
            else
                c.Remove(model[static_cast<size_t>(position - 1)].first);
            model.erase(model.begin() + (position - 1));
        }
        ASSERT_EQ(c.Count(), static_cast<int>(model.size()));
        for (size_t i = 0; i < model.size(); ++i) {
            ASSERT_EQ(c.Item(model[i].first), model[i].second) << "step " << step;
            ASSERT_EQ(c.Item(static_cast<int>(i) + 1), model[i].second);
        }
    }
    c.Clear();
    EXPECT_FALSE(c.Exists("orbX1Y1"));
    c.Add(1, "orbX1Y1");
    EXPECT_EQ(c.Item("ORBx1y1"), 1);
}

}  // namespace
