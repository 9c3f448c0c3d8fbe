// Hiding and restoring the pointer against a display count kept the way
// the system keeps it.
#include "display/portable/PointerCount.h"

#include <gtest/gtest.h>

#include <vector>

namespace tesmar {
namespace {

// The system's display count, recording every call.
struct FakePointer {
    explicit FakePointer(int before) : count(before) {}

    int count;
    std::vector<bool> calls;

    ShowPointerCall call()
    {
        return [this](bool show) {
            calls.push_back(show);
            count += show ? 1 : -1;
            return count;
        };
    }
};

TEST(HidePointer, AlwaysCallsTwiceAndStopsAtTheFirstNegativeCount)
{
    struct Case {
        int before, after;
        size_t calls;
    };
    for (const Case& c : {Case{0, -2, 2}, Case{2, -1, 3}, Case{-1, -3, 2}, Case{5, -1, 6}}) {
        FakePointer pointer{c.before};
        EXPECT_EQ(HidePointer(pointer.call()), c.before);
        EXPECT_EQ(pointer.count, c.after) << c.before;
        EXPECT_EQ(pointer.calls, std::vector<bool>(c.calls, false)) << c.before;
    }
}

TEST(RestorePointer, ReturnsToTheSavedCountWithAtLeastOneCall)
{
    FakePointer hidden{-2};
    RestorePointer(hidden.call(), 0);
    EXPECT_EQ(hidden.count, 0);
    EXPECT_EQ(hidden.calls, std::vector<bool>(2, true));

    FakePointer alreadyThere{-1};
    RestorePointer(alreadyThere.call(), -1);
    EXPECT_EQ(alreadyThere.count, 0);  // the one call is always made
    EXPECT_EQ(alreadyThere.calls.size(), 1u);
}

TEST(PointerCount, HideThenRestoreGivesBackTheCountFromBefore)
{
    for (int before : {0, -1, 1, 3}) {
        FakePointer pointer{before};
        const int16_t saved = HidePointer(pointer.call());
        EXPECT_LT(pointer.count, 0);
        RestorePointer(pointer.call(), saved);
        EXPECT_EQ(pointer.count, before);
    }
}

TEST(PointerCount, CountsBeyondSixteenBitsWrapAndEveryLoopStillEnds)
{
    // 40000 is -25536 as a 16-bit count: already negative after the second call.
    FakePointer high{40000};
    EXPECT_EQ(HidePointer(high.call()), int16_t(40000));
    EXPECT_EQ(high.calls.size(), 2u);

    // A saved 32767 is reached from -2 by counting up, without wrapping first.
    FakePointer low{-2};
    RestorePointer(low.call(), 32767);
    EXPECT_EQ(low.count, 32767);
}

} // namespace
} // namespace tesmar
