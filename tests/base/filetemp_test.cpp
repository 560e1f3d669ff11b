// Temporary names and files: the first two characters of the prefix and the tick counter raised past
// existing files (two names in the same millisecond differ), more than six digits, system-made names, a
// folder that cannot be entered; the current folder stays.
#include "base/file.h"
#include "base/filetemp.h"
#include "base/path.h"
#include "base/tick.h"
#include "base/dirtest.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

namespace {

uint32_t fixedTick;
uint32_t FixedClock() {
    return fixedTick;
}

} // namespace

TEST(FileTemp, NamesAreRaisedPastExistingFiles) {
    std::string dir = DtFreshDir();
    std::string cwd = DtCwd();
    fixedTick = 42;
    TickSetClock(FixedClock, nullptr);
    char first[PATH_BUFFER], second[PATH_BUFFER];
    ASSERT_TRUE(FileMakeTempName("TFXXXXXX", ".tmp", dir.c_str(), first));
    EXPECT_EQ(std::string(first), dir + "\\TF000042.tmp");
    DtMakeFile(first);
    ASSERT_TRUE(FileMakeTempName("TFXXXXXX", ".tmp", dir.c_str(), second)) << "the same millisecond";
    EXPECT_EQ(std::string(second), dir + "\\TF000043.tmp");
    fixedTick = 12345678;
    ASSERT_TRUE(FileMakeTempName("C", ".OUT", dir.c_str(), first));
    EXPECT_EQ(std::string(first), dir + "\\C12345678.OUT") << "a short prefix; more than six digits";
    TickSetClock(nullptr, nullptr);
    EXPECT_EQ(DtCwd(), cwd);

    ASSERT_TRUE(FileMakeTempName("CL", nullptr, dir.c_str(), first));
    EXPECT_TRUE(DtExists(first)) << "the system makes the file";
    EXPECT_EQ(std::string(PathGetName(first)).substr(0, 2), "CL");

    EXPECT_FALSE(FileMakeTempName("TF", ".tmp", (dir + "\\missing").c_str(), first));
    char path[PATH_BUFFER] = "";
    EXPECT_EQ(FileCreateTemp("TF", ".tmp", (dir + "\\missing").c_str(), path), -1);
    EXPECT_STREQ(path, "<temp file>");
    int file = FileCreateTemp("TF", ".tmp", dir.c_str(), path);
    ASSERT_GE(file, 0);
    EXPECT_TRUE(DtExists(path));
    FileClose(file);
    EXPECT_EQ(DtCwd(), cwd);
}
