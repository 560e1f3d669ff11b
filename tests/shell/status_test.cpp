// The status bar's message field: formatted messages, clearing, and the suspension that keeps a mode's text
// in place.
#include "shell/status.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class StatusTest : public testing::Test {
protected:
    void TearDown() override {
        while (StatusResume() > 0) {
        }
        StatusSetMessage("");
    }
};

TEST_F(StatusTest, PrintfFormatsAndCutsAndClears) {
    StatusPrintf("%d lines; %ld bytes", 12, 345L);
    EXPECT_STREQ(StatusGetMessage(), "12 lines; 345 bytes");
    std::string longText(700, 'x');
    StatusPrintf("%s", longText.c_str());
    EXPECT_EQ(std::string(StatusGetMessage()), longText.substr(0, 511));
    StatusPrintf(nullptr);
    EXPECT_STREQ(StatusGetMessage(), "");
}

TEST_F(StatusTest, SuspendedMessagesAreIgnoredUntilTheLastResume) {
    StatusPrintf("kept");
    EXPECT_EQ(StatusSuspend(), 1);
    EXPECT_EQ(StatusSuspend(), 2);
    EXPECT_TRUE(StatusIsSuspended());
    StatusPrintf("lost");
    StatusPrintf(nullptr);
    EXPECT_STREQ(StatusGetMessage(), "kept");
    EXPECT_EQ(StatusResume(), 1);
    StatusPrintf("lost too");
    EXPECT_STREQ(StatusGetMessage(), "kept");
    EXPECT_EQ(StatusResume(), 0);
    EXPECT_EQ(StatusResume(), 0) << "an extra resume does not count below zero";
    EXPECT_FALSE(StatusIsSuspended());
    StatusPrintf("shown");
    EXPECT_STREQ(StatusGetMessage(), "shown");
}

} // namespace
