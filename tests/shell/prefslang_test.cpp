// The Languages page and the Special Language Options:
// - the language at the caret preselected, or the one another command asked for, which opens the page
//   alone and is used once;
// - the buttons disabled until the languages register them; Delete and Export only for languages from slot
//   20, Keywords only with a keyword list, Project Specific Conditions only with a project open;
// - closing the page after a built-in language's parse options changed asks to re-parse the project (only
//   with one open) and re-parses the language's open files either way;
// - the special options' bits, the languages they concern marked, the default script stored by name.
#include "prefstest.h"

namespace {

using namespace prefstest;

class PrefsLangTest : public PrefsTest {
protected:
    void Register() {
        prefsAnswers.languagesRegistered = true;
        hooks = PrefsTestHooks();
        PrefsSetHooks(&hooks);
    }
};

TEST_F(PrefsLangTest, LanguageChosenAndTheOneShot) {
    EXPECT_EQ(Open(PREFS_LANGUAGES).values[PL_LANGUAGE], 3);
    PrefsSetLanguage(7);
    EXPECT_EQ(CmdPreferences(71), 0);
    EXPECT_EQ(prefsAnswers.calls[1], "sheet 3 alone");
    EXPECT_EQ(Open(PREFS_LANGUAGES).values[PL_LANGUAGE], 7);
    EXPECT_EQ(Open(PREFS_LANGUAGES).values[PL_LANGUAGE], 3) << "used once";
    prefsAnswers.calls.clear();
    CmdPreferences(71);
    EXPECT_EQ(prefsAnswers.calls[1], "sheet 0") << "the page alone is not the last page shown";
}

TEST_F(PrefsLangTest, ButtonsFollowTheLanguages) {
    PrefsRecord record = Open(PREFS_LANGUAGES);
    for (int32_t c = PL_ADD; c <= PL_GLOBAL_CONDITIONS; c++)
        EXPECT_EQ(PrefsEnabled(PREFS_LANGUAGES, &record, c), c == PL_SPECIAL) << c;
    PrefsLanguageButton(&record, PL_ADD);
    EXPECT_TRUE(prefsAnswers.calls.empty());
    Register();
    EXPECT_TRUE(PrefsEnabled(PREFS_LANGUAGES, &record, PL_KEYWORDS)) << "language 3 has keywords";
    EXPECT_FALSE(PrefsEnabled(PREFS_LANGUAGES, &record, PL_DELETE));
    EXPECT_FALSE(PrefsEnabled(PREFS_LANGUAGES, &record, PL_EXPORT));
    EXPECT_FALSE(PrefsEnabled(PREFS_LANGUAGES, &record, PL_PROJECT_CONDITIONS));
    EXPECT_TRUE(PrefsEnabled(PREFS_LANGUAGES, &record, PL_GLOBAL_CONDITIONS));
    PrefsLanguageButton(&record, PL_ADD);
    EXPECT_EQ(record.values[PL_LANGUAGE], 22) << "the new language is selected";
    EXPECT_TRUE(PrefsEnabled(PREFS_LANGUAGES, &record, PL_DELETE));
    EXPECT_FALSE(PrefsEnabled(PREFS_LANGUAGES, &record, PL_KEYWORDS));
    PrefsLanguageButton(&record, PL_EXPORT);
    EXPECT_EQ(prefsAnswers.calls.back(), "language button " + std::to_string(PREFS_LANG_EXPORT) + " on 22");
    prefsAnswers.projectOpen = true;
    EXPECT_TRUE(PrefsEnabled(PREFS_LANGUAGES, &record, PL_PROJECT_CONDITIONS));
}

TEST_F(PrefsLangTest, ReparseAfterChangedParseOptions) {
    PrefsRecord record = Open(PREFS_LANGUAGES);
    PrefsCancel(PREFS_LANGUAGES, &record);
    EXPECT_TRUE(prefsAnswers.calls.empty()) << "nothing changed";
    record = Open(PREFS_LANGUAGES);
    prefsAnswers.parseStates[4] = 1;
    PrefsCancel(PREFS_LANGUAGES, &record);
    EXPECT_EQ(prefsAnswers.calls, (std::vector<std::string>{"reparse files 4"})) << "no project: no question";
    prefsAnswers.calls.clear();
    prefsAnswers.projectOpen = true;
    record = Open(PREFS_LANGUAGES);
    prefsAnswers.parseStates[5] = 1;
    prefsAnswers.parseStates[21] = 1; // a user-defined language is not watched
    VxAlertAnswer(6);
    PrefsApply(PREFS_LANGUAGES, &record);
    EXPECT_EQ(VxAlerts().back().text,
              "You've changed parsing options.\n\nDo you want to re-parse your project now?");
    EXPECT_EQ(prefsAnswers.calls, (std::vector<std::string>{"reparse project 5", "reparse files 5"}));
}

TEST_F(PrefsLangTest, SpecialLanguageOptions) {
    prefsAnswers.script = "Lang6";
    PrefsRecord record;
    PrefsSpecialCreate(&record);
    EXPECT_EQ(record.values[3], 7) << "Lang6 follows None";
    record.values[0] = 1;
    record.values[2] = 1;
    record.values[3] = 0;
    PrefsSpecialApply(&record);
    EXPECT_TRUE(g_options & OPT_IGNORE_NAMESPACES);
    EXPECT_TRUE(g_options2 & OPT2_IGNORE_PACKAGES);
    EXPECT_FALSE(g_options2 & OPT2_COM_MACROS);
    EXPECT_EQ(prefsAnswers.calls, (std::vector<std::string>{"parse changed 5"}));
    EXPECT_EQ(prefsAnswers.script, "None");
}

} // namespace
