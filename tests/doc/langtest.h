// What the tests of document types and language binding share: a fixture with the document core's (doctest.h)
// and a language table standing in for the language layer (names by index, language objects, change counters,
// the program-source flag), the built-in document types made afresh, and the program folder in the test's own
// folder (where "FileAlias.txt" is looked for).
#pragma once

#include "base/toolbox.h"
#include "base/utilil.h"
#include "doc/dta.h"
#include "doctest.h"

#include <cstring>

namespace langtest {

enum { LANG_SLOTS = 21 };

// The languages the built-in types name, by index; "" for an unused slot.
inline const char *const *LangNames() {
    static const char *const names[LANG_SLOTS] = {
        "None", "C",    "x86 Asm", "C++",         "Macro",  "Search Results", "Resource", "Java",
        "HTML", "Perl", "Basic",   "Token Macro", "IDL",    "JavaScript",     "C#",       "Make",
        "CSS",  "VHDL", "",        "XML",         "MyLang",
    };
    return names;
}

struct LangState {
    char objects[LANG_SLOTS]; // a language object is the address of its slot
    int32_t versions[LANG_SLOTS];
    std::vector<FileBuffer *> reparsed;
    std::vector<std::pair<LineLexCache *, LineLexCache *>> replaced;
};

inline LangState &State() {
    static LangState state;
    return state;
}

inline Lang *FakeGetLang(int32_t index) {
    if (index < 0 || index >= LANG_SLOTS) index = 0;
    return (Lang *)&State().objects[index];
}

inline int32_t FakeLangIndex(const char *name) {
    for (int32_t i = 0; i < LANG_SLOTS; i++)
        if (LangNames()[i][0] && StrEqualI(LangNames()[i], name)) return i;
    return -1;
}

inline char *FakeLangName(int32_t index, char *out) {
    strcpy(out, index >= 0 && index < LANG_SLOTS ? LangNames()[index] : "");
    return out;
}

inline int32_t FakeVersion(int32_t index) {
    return index >= 0 && index < LANG_SLOTS ? State().versions[index] : 0;
}

inline bool FakeProgramSource(int32_t index) {
    return index == 1 || index == 3 || index == 7 || index == 13 || index == 14;
}

inline void FakeReparse(FileBuffer *doc) {
    State().reparsed.push_back(doc);
}

inline void FakeReplaced(FileBuffer *, LineLexCache *old, LineLexCache *now) {
    State().replaced.push_back({old, now});
}

class LangTest : public doctest::DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        State() = LangState{};
        lang = *DocLangNeutral();
        lang.getLang = FakeGetLang;
        lang.getLangIndex = FakeLangIndex;
        lang.getLangName = FakeLangName;
        lang.langGetVersion = FakeVersion;
        lang.langIsProgramSource = FakeProgramSource;
        lang.markDocForReparse = FakeReparse;
        lang.lexCacheReplaced = FakeReplaced;
        DocSetLangHook(&lang);
        ToolboxSetProgramDir(doctest::TempDir().c_str());
        ASSERT_TRUE(DtaDefaults());
    }
    void TearDown() override {
        DocTest::TearDown();
        DtaTableExit();
        ToolboxSetProgramDir("");
    }
    // Registers the language table again after a test changed it.
    void SetLang() { DocSetLangHook(&lang); }
    DocLangHook lang;
};

} // namespace langtest
