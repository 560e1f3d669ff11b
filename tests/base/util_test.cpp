// The helpers of no larger family: system times compared with a tolerance (milliseconds and weekday
// ignored), the binary search over an array, environment variables cut to the caller's buffer.
#include "base/util.h"

#include "strtest.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Util, SystemTimes) {
    auto at = [](int y, int mo, int d, int h, int mi, int s, int ms = 0, int dow = 0) {
        return SystemTime{(uint16_t)y, (uint16_t)mo, (uint16_t)dow, (uint16_t)d,
                          (uint16_t)h, (uint16_t)mi, (uint16_t)s,   (uint16_t)ms};
    };
    struct Case {
        const char *name;
        SystemTime a, b;
        int tolerance, order;
    } cases[] = {
        {"equal", at(2024, 5, 1, 10, 0, 0), at(2024, 5, 1, 10, 0, 0), 0, 0},
        {"within tolerance", at(2024, 5, 1, 10, 0, 3), at(2024, 5, 1, 10, 0, 2), 2, 0},
        {"at tolerance", at(2024, 5, 1, 10, 0, 4), at(2024, 5, 1, 10, 0, 2), 2, 1},
        {"milliseconds and weekday ignored", at(2024, 5, 1, 10, 0, 0, 999, 3), at(2024, 5, 1, 10, 0, 0, 0, 1),
         0, 0},
        {"across a minute", at(2024, 5, 1, 10, 1, 0), at(2024, 5, 1, 10, 0, 59), 2, 0},
        {"across a year", at(2024, 1, 1, 0, 0, 0), at(2023, 12, 31, 23, 59, 59), 2, 0},
        {"later year", at(2025, 1, 1, 0, 0, 0), at(2024, 12, 31, 0, 0, 0), 2, 1},
        {"earlier month", at(2024, 2, 28, 0, 0, 0), at(2024, 3, 1, 0, 0, 0), 2, -1},
        {"earlier second", at(2024, 5, 1, 10, 0, 0), at(2024, 5, 1, 10, 0, 9), 2, -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Sign(SystemTimeCompare(&c.a, &c.b, c.tolerance)), c.order) << c.name;
}

TEST(Util, ArraySearch) {
    std::vector<int> v = {1, 3, 3, 5, 9};
    auto cmp = [](const void *k, const void *e) { return *(const int *)k - *(const int *)e; };
    struct Case {
        int key, found, index;
    } cases[] = {{0, 0, 0}, {1, 1, 0}, {3, 1, 1}, {4, 0, 3}, {9, 1, 4}, {10, 0, 5}};
    for (const Case &c : cases) {
        int index = -1;
        EXPECT_EQ(ArraySearch(&c.key, v.data(), (int)v.size(), sizeof(int), cmp, &index), c.found) << c.key;
        EXPECT_EQ(index, c.index) << c.key;
    }
    int index = -1, key = 7;
    EXPECT_EQ(ArraySearch(&key, nullptr, 0, sizeof(int), cmp, &index), 0);
    EXPECT_EQ(index, 0);
}

TEST(Util, Environment) {
    VxSetEnv("VX_UTIL_TEST", "value");
    char buf[32];
    EXPECT_TRUE(SysGetEnv("VX_UTIL_TEST", buf, sizeof buf));
    EXPECT_STREQ(buf, "value");
    Guarded g(4);
    EXPECT_TRUE(SysGetEnv("VX_UTIL_TEST", g.bytes, 4)) << "a longer value is cut, not dropped";
    EXPECT_STREQ(g.bytes, "val");
    EXPECT_TRUE(g.Intact());
    VxSetEnv("VX_UTIL_TEST", nullptr);
    EXPECT_FALSE(SysGetEnv("VX_UTIL_TEST", buf, sizeof buf));
    EXPECT_STREQ(buf, "");
}
