// The count under a cell's text and formula: every way a reference is copied,
// moved or assigned, to itself too, leaves the count at the number of holders,
// and the payload is destroyed exactly once, by the last of them.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <utility>

#include "office/model/IntrusiveRef.h"

namespace {

using office::IntrusiveRef;

// Counts its own lives, to see that the last holder destroys it once.
struct Tracked {
    static inline int alive = 0;
    explicit Tracked(int v) : value(v) { ++alive; }
    ~Tracked() { --alive; }
    int value;
};

TEST(IntrusiveRef, TheCountFollowsEveryCopyMoveAndAssignment) {
    ASSERT_EQ(Tracked::alive, 0);
    {
        IntrusiveRef<Tracked> a = IntrusiveRef<Tracked>::make(0, 7);
        EXPECT_EQ(a.holders(), 1u);
        IntrusiveRef<Tracked> b = a;
        EXPECT_EQ(a.holders(), 2u);
        IntrusiveRef<Tracked>& alsoB = b;
        b = alsoB;  // a copy over itself
        EXPECT_EQ(a.holders(), 2u);
        b = std::move(alsoB);  // a move over itself
        EXPECT_TRUE(b);
        EXPECT_EQ(a.holders(), 2u);

        IntrusiveRef<Tracked> c = std::move(b);
        EXPECT_FALSE(b);
        EXPECT_EQ(b.holders(), 0u);
        EXPECT_EQ(a.holders(), 2u);
        EXPECT_TRUE(c == a);

        // Assigned over: the old payload goes with its last holder, once.
        IntrusiveRef<Tracked> d = IntrusiveRef<Tracked>::make(0, 8);
        EXPECT_EQ(Tracked::alive, 2);
        d = a;
        EXPECT_EQ(Tracked::alive, 1);
        EXPECT_EQ(a.holders(), 3u);
        d = IntrusiveRef<Tracked>();
        c.reset();
        c.reset();  // reset twice: nothing more to release
        EXPECT_EQ(a.holders(), 1u);
        EXPECT_EQ(a.get()->value, 7);
        EXPECT_EQ(Tracked::alive, 1);
    }
    EXPECT_EQ(Tracked::alive, 0);
}

TEST(IntrusiveRef, TheLastHolderAssignedACopyOfItsOwnPayloadKeepsIt) {
    IntrusiveRef<Tracked> only = IntrusiveRef<Tracked>::make(0, 3);
    only = IntrusiveRef<Tracked>(only);  // the temporary is the only other holder
    ASSERT_TRUE(only);
    EXPECT_EQ(only.get()->value, 3);
    EXPECT_EQ(only.holders(), 1u);
    only.reset();
    EXPECT_EQ(Tracked::alive, 0);
}

TEST(IntrusiveRef, TheTailBytesLiveAndDieWithTheBox) {
    const char text[] = "kept after the box";
    IntrusiveRef<std::size_t> a = IntrusiveRef<std::size_t>::make(sizeof text, sizeof text);
    std::memcpy(a.tail(), text, sizeof text);
    IntrusiveRef<std::size_t> b = a;
    a.reset();
    EXPECT_EQ(*b.get(), sizeof text);
    EXPECT_STREQ(b.tail(), text);
}

// A payload whose making fails leaves no allocation behind (the sanitizer
// build would see the leak) and nothing held.
struct Refused {
    explicit Refused(bool) { throw std::runtime_error("refused"); }
};

TEST(IntrusiveRef, APayloadThatFailsToBeMadeLeavesNothing) {
    EXPECT_THROW(IntrusiveRef<Refused>::make(16, true), std::runtime_error);
}

}  // namespace
