// The services of the subsystems above the document core:
// - every call answers neutrally while no table is registered;
// - a registered table answers, a null registration and the seam reset put the neutral one back.
#include "doc/dochook.h"

#include "base/seam.h"

#include <gtest/gtest.h>

namespace {

int32_t SlotSeven() {
    return 7;
}

TEST(DocHook, NeutralAnswers) {
    DocHookReset();
    char path[256] = "x";
    EXPECT_EQ(DocShell().makeTempFile(path), -1);
    EXPECT_STREQ(path, "");
    EXPECT_FALSE(DocShell().inputPending());
    EXPECT_EQ(DocShell().currentDoc(), nullptr);
    EXPECT_EQ(DocOpt().eolDefault, 1u);
    EXPECT_EQ(DocSymbol().currentProject(), -1);
    EXPECT_EQ(DocSymbol().projFindFile(0, "a"), -1);
    EXPECT_EQ(DocSymbol().projUpdateFile(0, nullptr), 1);
    char name[256];
    DocSymbol().projFileDisplayName("C:\\a.c", true, name);
    EXPECT_STREQ(name, "C:\\a.c");
    EXPECT_EQ(DocLang().getLang(3), nullptr);
    EXPECT_EQ(DocDisplay().swFindByDoc(nullptr), nullptr);
    EXPECT_EQ(DocDisplay().swWriteDocPositions(0, nullptr), 1);
    EXPECT_EQ(DocDisplay().pushSelectionHistory(), 0) << "no buffer is current";
    DocShell().beep(3);
    DocLang().parseBufferPublish(nullptr);
    EXPECT_EQ(DocSearch().searchResultsOption(), 0);
    EXPECT_FALSE(DocMacro().macroRunningFrom(nullptr));
}

TEST(DocHook, RegisteredThenReset) {
    DocSymbolHook symbol = *DocSymbolNeutral();
    symbol.currentProject = SlotSeven;
    DocSetSymbolHook(&symbol);
    EXPECT_EQ(DocSymbol().currentProject(), 7);
    DocSetSymbolHook(nullptr);
    EXPECT_EQ(DocSymbol().currentProject(), -1);
    DocSetSymbolHook(&symbol);
    SeamResetAll();
    EXPECT_EQ(DocSymbol().currentProject(), -1);
}

} // namespace
