// The order of BitmapData.pixelDissolve: every pixel of an area once before
// any repeats, whatever the area's size.

#include "player/bridge/BitmapDissolve.h"

#include <gtest/gtest.h>

#include <vector>

namespace tesmar::bridge {
namespace {

TEST(DissolveOrder, VisitsEveryPixelOnceBeforeComingBack)
{
    for (uint32_t count : {1u, 2u, 3u, 4u, 7u, 8u, 9u, 63u, 100u, 300u, 1925u, 10000u}) {
        const DissolveOrder order(count);
        std::vector<bool> seen(count, false);
        uint32_t index = 0;
        for (uint32_t step = 0; step < count; ++step) {
            ASSERT_LT(index, count);
            EXPECT_FALSE(seen[index]) << "count " << count << " step " << step;
            seen[index] = true;
            index = order.next(index);
        }
        EXPECT_EQ(index, 0u) << "count " << count;
    }
}

TEST(DissolveOrder, LargestAreaStaysInRange)
{
    // 8191 x 2048 pixels needs the widest register.
    const DissolveOrder order(8191u * 2048u);
    uint32_t index = 8191u * 2048u - 1;
    for (int i = 0; i < 1000; ++i) {
        index = order.next(index);
        ASSERT_LT(index, 8191u * 2048u);
    }
}

} // namespace
} // namespace tesmar::bridge
