// The keyed collection the rules are built on.
#include <gtest/gtest.h>

#include "shell/Collection.h"

namespace {

Collection<int> Abc() {
    Collection<int> c;
    c.Add(1, "a");
    c.Add(2, "b");
    c.Add(3, "c");
    return c;
}

TEST(Collection, KeysCompareWithoutLetterCaseAndStayUnique) {
    Collection<int> c = Abc();
    EXPECT_TRUE(c.Exists("B"));
    EXPECT_EQ(c.Item("C"), 3);
    EXPECT_THROW(c.Add(9, "A"), RuntimeError);
    EXPECT_EQ(c.Count(), 3);
}

TEST(Collection, InsertsBeforeAPositionOrAppendsOutsideOneToCount) {
    Collection<int> c = Abc();
    c.Add(0, "first", 1);
    c.Add(9, "last", 0);
    c.Add(8, "end", 99);
    EXPECT_EQ(c.KeyAt(1), "first");
    EXPECT_EQ(c.KeyAt(2), "a");
    EXPECT_EQ(c.KeyAt(5), "last");
    EXPECT_EQ(c.KeyAt(6), "end");
}

TEST(Collection, MissingKeysAndBadPositionsRaiseRunTimeErrors) {
    Collection<int> c = Abc();
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

}  // namespace
