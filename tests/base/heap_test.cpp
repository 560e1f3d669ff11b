// Heap: handle sizes and the grow-only rule, the live count, the size limit (64-bit arithmetic, no limit
// before the probe), failure lines in the log.
#include "base/erc.h"
#include "base/heap.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

TEST(Heap, HandleSizesAndLiveCount) {
    int32_t live = HLiveCount();
    Handle *h = HAlloc(0);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(HSize(h), 4u);
    EXPECT_EQ(*(uint32_t *)HLock(h), 0u);
    EXPECT_EQ(HLiveCount(), live + 1);

    EXPECT_EQ(HRealloc(h, 2, 1), 1);
    EXPECT_EQ(HSize(h), 4u);
    ASSERT_EQ(HRealloc(h, 200, 1), 1);
    EXPECT_EQ(HSize(h), 200u);
    EXPECT_EQ(((unsigned char *)HLock(h))[199], 0) << "grown bytes are zero";
    EXPECT_EQ(HRealloc(h, 100, 0), 1);
    EXPECT_EQ(HSize(h), 200u) << "without the exact flag a block only grows";
    EXPECT_EQ(HRealloc(h, 100, 1), 1);
    EXPECT_EQ(HSize(h), 100u);

    Handle *d = HDup(h);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(HSize(d), 100u);
    HFree(d);
    HFree(h);
    EXPECT_EQ(HLiveCount(), live);
}

TEST(Heap, SizeLimitRefusesQuietly) {
    EXPECT_EQ(HeapGetSizeLimit(), SIZE_MAX) << "no limit before the system probe runs";
    ErcClear();
    HeapSetSizeLimit(1000);
    VxLogCaptureStart();
    EXPECT_EQ(MemAlloc(1000), nullptr);
    EXPECT_EQ(HAlloc(1000), nullptr);
    void *p = MemAlloc(999);
    EXPECT_NE(p, nullptr);
    MemFree(p);
    EXPECT_TRUE(VxLogCaptureStop().empty());
    EXPECT_FALSE(ErcIsSet());
    HeapSetSizeLimit(0);
}

TEST(Heap, LimitFromPhysicalMemoryUses64Bits) {
    const uint64_t gb = 1ull << 30;
    EXPECT_EQ(HeapLimitFromPhysical(4 * gb), (size_t)(3 * gb));
    EXPECT_EQ(HeapLimitFromPhysical(64 * gb), (size_t)(48 * gb)) << "75% of 64 GB does not wrap";
    EXPECT_EQ(HeapLimitFromPhysical(101), 75u);
}

TEST(Heap, FailureLogsTwoLinesAndSetsLowMemory) {
    ErcClear();
    VxLogCaptureStart();
    HeapFailNth(1);
    EXPECT_EQ(MemAlloc(64), nullptr);
    std::vector<std::string> lines = VxLogCaptureStop();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("malloc Failure: 64l bytes requested", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], "ERROR! Low Memory : system error=" + std::to_string(ErcGetSysError()) +
                            ", module=(null) line 0");
    EXPECT_EQ(ErcGet(), ercLowMemory);
    EXPECT_FALSE(ErcLowMemorySeen()) << "ErcSetLowMemory does not raise the flag";

    // HAlloc adds its own line after what the inner allocation logged; a failed block frees the record.
    int32_t live = HLiveCount();
    VxLogCaptureStart();
    HeapFailNth(2);
    EXPECT_EQ(HAlloc(16), nullptr);
    lines = VxLogCaptureStop();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].rfind("HAlloc Failure: 16l bytes", 0), 0u) << lines[2];
    EXPECT_EQ(HLiveCount(), live);

    // A failed resize keeps the old block.
    Handle *h = HAlloc(8);
    *(char *)HLock(h) = 'x';
    HeapFailNth(1);
    EXPECT_EQ(HRealloc(h, 4096, 1), 0);
    EXPECT_EQ(HSize(h), 8u);
    EXPECT_EQ(*(char *)HLock(h), 'x');
    HFree(h);
    ErcClear();
}
