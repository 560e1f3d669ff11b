// The formatter's hooks: the neutral answers while nothing is registered, a registration copied and put
// back by the seam reset, and the local-symbol table (growth, finding whole names only, clearing).
#include "base/seam.h"
#include "display/fmthook.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(FmtHook, NeutralAnswers) {
    FmtSetLangHook(nullptr);
    FmtSetSymbolHook(nullptr);
    FmtLangSwitches switches;
    memset(&switches, 0xFF, sizeof switches);
    FmtLang().switches(1, &switches);
    EXPECT_FALSE(switches.syntaxFormatting);
    EXPECT_STREQ(switches.headingMarker, "");
    FmtToken token = {};
    EXPECT_FALSE(FmtLang().scanStyledToken(&token));
    FmtLocals locals;
    FmtLocalsInit(&locals);
    EXPECT_FALSE(FmtLang().parseLocals(nullptr, 0, &locals));
    int32_t kind;
    EXPECT_FALSE(FmtLang().highlightedWord("w", 1, &kind));
    FmtSymbol symbol;
    EXPECT_FALSE(FmtSymbols().tagAt(nullptr, 0, 0, "x", &symbol));
    EXPECT_FALSE(FmtSymbols().tagEndingAt(nullptr, 0, 0, &symbol));
    EXPECT_EQ(FmtSymbols().lookup(nullptr, "x", ~0ull, 0, nullptr, nullptr), -1);
    char folder[256] = "x";
    FmtSymbols().sourceFolder(nullptr, folder);
    EXPECT_STREQ(folder, "");
}

TEST(FmtHook, RegistrationIsPutBackByTheReset) {
    FmtSymbolHook hook = *FmtSymbolNeutral();
    hook.lookup = [](FileBuffer *, const char *, uint64_t, uint32_t, char *, int32_t *) { return 7; };
    FmtSetSymbolHook(&hook);
    hook.lookup = nullptr; // the table was copied
    EXPECT_EQ(FmtSymbols().lookup(nullptr, "x", 0, 0, nullptr, nullptr), 7);
    SeamResetAll();
    EXPECT_EQ(FmtSymbols().lookup(nullptr, "x", 0, 0, nullptr, nullptr), -1);
}

TEST(FmtHook, LocalSymbolTable) {
    FmtLocals locals;
    FmtLocalsInit(&locals);
    EXPECT_EQ(locals.first, -1);
    for (int i = 0; i < 100; i++) {
        FmtSymbol symbol = {};
        snprintf(symbol.name, sizeof symbol.name, "v%d", i);
        symbol.type = i;
        ASSERT_TRUE(FmtLocalsAdd(&locals, &symbol));
    }
    EXPECT_EQ(locals.count, 100);
    const FmtSymbol *found = FmtLocalsFind(&locals, "v42 and more", 3);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->type, 42);
    EXPECT_EQ(FmtLocalsFind(&locals, "v4", 1), nullptr) << "a whole name only";
    EXPECT_EQ(FmtLocalsFind(&locals, "v100", 4), nullptr);
    FmtLocalsClear(&locals);
    EXPECT_EQ(locals.count, 0);
    EXPECT_EQ(locals.first, -1);
}
