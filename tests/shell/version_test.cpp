// The version: its word's parts, and the text with the build date, whole and cut.
#include "shell/version.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Version, TheWordHoldsMajorMinorAndBuild) {
    EXPECT_EQ(VersionMajor(), 3);
    EXPECT_EQ(VersionMinor(), 50);
    EXPECT_EQ(VersionBuild(), 64);
}

TEST(Version, TheTextKeepsTheDatesOwnLeadingBlank) {
    char text[VERSION_TEXT_SIZE];
    VersionText(text, sizeof text);
    EXPECT_STREQ(text, "Version 3.50.0064  Built on  Jun-24-09");
    char small[9];
    VersionText(small, sizeof small);
    EXPECT_STREQ(small, "Version ") << "a short buffer gets the text cut";
}

} // namespace
