// The least alert and progress forms: the OK/Cancel question with Cancel as default, and the nesting of
// progress boxes (one box for nested begins, its text kept, an unmatched end harmless).
#include "ui/dlgalert.h"

#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(AlertQuestion, OkCancelDefaultsToCancel) {
    VxAlertsReset();
    VxAlertAnswer(IDOK);
    EXPECT_TRUE(AlertOkCancelDefCancel("Print %d pages?", 9));
    VxAlertAnswer(IDCANCEL);
    EXPECT_FALSE(AlertOkCancelDefCancel("again"));
    ASSERT_EQ(VxAlerts().size(), 2u);
    EXPECT_EQ(VxAlerts()[0].text, "Print 9 pages?");
    EXPECT_EQ(VxAlerts()[0].kind, ALERT_OKCANCEL);
    EXPECT_EQ(VxAlerts()[0].defaultButton, 1);
}

TEST(ProgressNesting, OneBoxForNestedBegins) {
    EXPECT_FALSE(ProgressSetText("no box"));
    ProgressEnd(); // an end without a begin does no harm
    EXPECT_FALSE(ProgressIsOpen());
    ProgressBegin(0, 0, "Printing: %s", "a.txt");
    ProgressBegin(0, 10, "inner");
    EXPECT_TRUE(ProgressIsOpen());
    EXPECT_TRUE(ProgressSetText("Page %d", 2));
    ProgressEnd();
    EXPECT_TRUE(ProgressIsOpen());
    ProgressEnd();
    EXPECT_FALSE(ProgressIsOpen());
    EXPECT_FALSE(ProgressStep(-1)) << "nothing cancels without a box or a test hook";
}
