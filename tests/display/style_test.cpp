// Style sheet: merging and setting properties (parents set and removed, scales multiplying, absolute sizes
// winning, faces replaced, the 280-byte limit), parent checks and stored cycles, indexes outside the sheet,
// custom styles (names, blanks and duplicates, deletion renumbering parents), the defaults, the configuration
// section (round trip, conversions by version, completion of short sheets, truncated and corrupted input),
// CSS, and the colour getters.
#include "base/formtest.h"
#include "base/heap.h"
#include "base/utilil.h"
#include "display/opts.h"
#include "display/style.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class StyleTest : public testing::Test {
protected:
    void SetUp() override {
        OptReset();
        StyleSheetInstall(StyleSheetBuildDefault(), false);
        ASSERT_NE(StyleCurrent(), nullptr);
    }
    void TearDown() override {
        StyleSheetInstall(nullptr, false);
        StyleSetLangsHook(nullptr);
        OptReset();
    }
    static StyleSheet *Sheet() { return StyleCurrent(); }
};

StyleProp Prop(int32_t key, int32_t value, const char *face = nullptr) {
    return {key, value, face};
}

bool Has(const StyleSheet *sheet, int32_t index, int32_t key, int32_t *value = nullptr) {
    StyleProp prop;
    if (!StyleFindPropertyIn(sheet, index, key, &prop)) return false;
    if (value) *value = prop.value;
    return true;
}

// The resolved value of a key, -1 when the resolved list lacks it.
int32_t Resolved(const StyleSheet *sheet, int32_t index, int32_t key) {
    unsigned char scratch[STYLE_RECORD_MAX];
    int32_t size, offset = 8;
    const unsigned char *record = StyleResolve(sheet, index, scratch, &size);
    StyleProp prop;
    while (StylePropNext(record, size, &offset, &prop))
        if (prop.key == key) return prop.value;
    return -1;
}

int32_t RecordSize(const StyleSheet *sheet, int32_t index) {
    int32_t size;
    StyleRecord(sheet, index, &size);
    return size;
}

std::string Name(int32_t index) {
    char name[STYLE_NAME_MAX];
    return StyleGetName(index, name);
}

StyleAppearance Base() {
    StyleAppearance base = {};
    FontDescInit(&base.font, "Courier New", 40);
    base.fore = 0x102030;
    base.back = 0xFFFFFF;
    return base;
}

FormBytes Save(const StyleSheet *sheet) {
    return FormWrite([&](int f) { return StyleSheetSave(f, sheet); });
}

StyleSheet *Load(const FormBytes &bytes, uint32_t version, bool *changed = nullptr) {
    bool dummy;
    return FormRead(bytes, [&](int f) { return StyleSheetLoad(f, version, changed ? changed : &dummy); });
}

} // namespace

TEST_F(StyleTest, MergeRules) {
    StyleSheet *sheet = Sheet();
    int32_t child = StyleAddCustom("Child", -1), parent = StyleAddCustom("Parent", -1);
    ASSERT_EQ(child, 146);
    struct Case {
        const char *what;
        std::vector<StyleProp> parentProps, childProps;
        int32_t key, resolved;
    } cases[] = {
        {"scale under scale multiplies",
         {Prop(STYLE_SCALE, 120)},
         {Prop(STYLE_SCALE, 150)},
         STYLE_SCALE,
         180},
        {"child's absolute size beats the parent's scale",
         {Prop(STYLE_SCALE, 120)},
         {Prop(STYLE_SIZE, 60)},
         STYLE_SIZE,
         60},
        {"parent's absolute size beats the child's scale",
         {Prop(STYLE_SIZE, 48)},
         {Prop(STYLE_SCALE, 150)},
         STYLE_SIZE,
         48},
        {"child's own value wins", {Prop(STYLE_FORE, 0xFF)}, {Prop(STYLE_FORE, 0xFF00)}, STYLE_FORE, 0xFF00},
        {"parent's value is inherited", {Prop(STYLE_BOLD, 1)}, {Prop(STYLE_ITALIC, 1)}, STYLE_BOLD, 1},
    };
    for (const Case &c : cases) {
        static const unsigned char empty[STYLE_RECORD_EMPTY] = {};
        ASSERT_TRUE(StyleSetRecord(sheet, child, empty, STYLE_RECORD_EMPTY));
        ASSERT_TRUE(StyleSetRecord(sheet, parent, empty, STYLE_RECORD_EMPTY));
        for (const StyleProp &p : c.parentProps) ASSERT_TRUE(StyleSetProperty(sheet, parent, &p));
        for (const StyleProp &p : c.childProps) ASSERT_TRUE(StyleSetProperty(sheet, child, &p));
        ASSERT_TRUE(StyleSetParent(sheet, child, parent));
        EXPECT_EQ(Resolved(sheet, child, c.key), c.resolved) << c.what;
    }
}

TEST_F(StyleTest, ParentSetAndRemoved) {
    StyleSheet *sheet = Sheet();
    // Key 19 = 0 on a style without a parent: success, nothing changes.
    int32_t before = RecordSize(sheet, 18);
    EXPECT_TRUE(StyleSetParent(sheet, 18, 0));
    EXPECT_EQ(RecordSize(sheet, 18), before);
    // On a style with a parent: the parent goes and flag bit 0 with it.
    ASSERT_TRUE(StyleSetParent(sheet, 18, 4));
    EXPECT_EQ(StyleRecord(sheet, 18, nullptr)[0] & STYLE_HAS_PARENT, STYLE_HAS_PARENT);
    EXPECT_EQ(StyleGetParent(sheet, 18), 4);
    EXPECT_TRUE(StyleSetParent(sheet, 18, 0));
    EXPECT_EQ(StyleGetParent(sheet, 18), 0);
    EXPECT_EQ(StyleRecord(sheet, 18, nullptr)[0] & STYLE_HAS_PARENT, 0);
    EXPECT_EQ(RecordSize(sheet, 18), before);
}

TEST_F(StyleTest, SecondFaceReplacesFirst) {
    StyleSheet *sheet = Sheet();
    StyleProp arial = Prop(STYLE_FONT, 2, "Arial"), times = Prop(STYLE_FONT, 2, "Times New Roman");
    int32_t empty = RecordSize(sheet, 18);
    ASSERT_TRUE(StyleSetProperty(sheet, 18, &arial));
    EXPECT_EQ(RecordSize(sheet, 18), empty + 9 + 5);
    ASSERT_TRUE(StyleSetProperty(sheet, 18, &times));
    EXPECT_EQ(RecordSize(sheet, 18), empty + 9 + 15);
    StyleProp face;
    ASSERT_TRUE(StyleFindPropertyIn(sheet, 18, STYLE_FONT, &face));
    EXPECT_STREQ(face.face, "Times New Roman");
}

TEST_F(StyleTest, RecordsStayWithin280Bytes) {
    StyleSheet *sheet = Sheet();
    std::string fits(255, 'F'), over(256, 'F'); // 8 + 9 + 255 + 8 = 280 bytes
    StyleProp big = Prop(STYLE_FONT, 0, over.c_str()), most = Prop(STYLE_FONT, 0, fits.c_str());
    EXPECT_FALSE(StyleSetProperty(sheet, 18, &big));
    EXPECT_EQ(RecordSize(sheet, 18), STYLE_RECORD_EMPTY);
    ASSERT_TRUE(StyleSetProperty(sheet, 18, &most));
    EXPECT_EQ(RecordSize(sheet, 18), STYLE_RECORD_MAX);
    StyleProp fore = Prop(STYLE_FORE, 1);
    EXPECT_FALSE(StyleSetProperty(sheet, 18, &fore));
    EXPECT_EQ(RecordSize(sheet, 18), STYLE_RECORD_MAX);
}

TEST_F(StyleTest, ParentsThatWouldFormCycles) {
    StyleSheet *sheet = Sheet();
    ASSERT_TRUE(StyleSetParent(sheet, 18, 19));
    ASSERT_TRUE(StyleSetParent(sheet, 19, 20));
    EXPECT_FALSE(StyleParentAllowed(sheet, 5, 0)) << "Default Text has no parent";
    EXPECT_FALSE(StyleSetParent(sheet, 0, 5));
    EXPECT_FALSE(StyleSetParent(sheet, 18, 18)) << "itself";
    EXPECT_FALSE(StyleSetParent(sheet, 20, 18)) << "a descendant";
    EXPECT_FALSE(StyleSetParent(sheet, 18, 500)) << "outside the sheet";
    EXPECT_EQ(StyleGetParent(sheet, 20), 0);
    EXPECT_TRUE(StyleSetParent(sheet, 20, 21));
}

TEST_F(StyleTest, StoredCycleResolvesInCountPlusOneSteps) {
    StyleSheet *sheet = StyleSheetCreate(3);
    unsigned char empty[16] = {};
    for (int i = 0; i < 3; i++) ASSERT_NE(PlexVarInsert(&sheet->pv, -1, empty, 16), nullptr);
    // 1 -> 2 -> 1 ...: stored directly, as a file may hold it. The walk reads lists 1, 2, 1, 2.
    unsigned char one[32] = {1, 0, 0, 0, 0, 0, 0, 0, 19, 0, 0, 0, 2, 0, 0, 0, 8, 0, 0, 0, 200, 0, 0, 0};
    unsigned char two[32] = {1, 0, 0, 0, 0, 0, 0, 0, 19, 0, 0, 0, 1, 0, 0, 0, 8, 0, 0, 0, 100, 0, 0, 0};
    ASSERT_TRUE(StyleSetRecord(sheet, 1, one, 32));
    ASSERT_TRUE(StyleSetRecord(sheet, 2, two, 32));
    EXPECT_EQ(Resolved(sheet, 1, STYLE_SCALE), 400);
    StyleSheetFree(sheet);
}

TEST_F(StyleTest, IndexesOutsideTheSheetReadEmpty) {
    StyleSheet *sheet = Sheet();
    for (int32_t index : {200, -1, 146}) {
        EXPECT_EQ(RecordSize(sheet, index), STYLE_RECORD_EMPTY) << index;
        EXPECT_EQ(StyleGetParent(sheet, index), 0);
        StyleAppearance app = Base(), base = Base();
        StyleGetAppearance(sheet, index, &app);
        EXPECT_EQ(memcmp(&app, &base, sizeof app), 0);
        EXPECT_EQ(Name(index), "");
        StyleProp fore = Prop(STYLE_FORE, 1);
        EXPECT_FALSE(StyleSetProperty(sheet, index, &fore));
    }
    // A stored parent past the count is no parent.
    unsigned char record[24] = {1, 0, 0, 0, 0, 0, 0, 0, 19, 0, 0, 0, 0xF4, 1, 0, 0};
    ASSERT_TRUE(StyleSetRecord(sheet, 18, record, 24));
    EXPECT_EQ(StyleGetParent(sheet, 18), 0);
    EXPECT_EQ(Resolved(sheet, 18, STYLE_FORE), -1);
}

TEST_F(StyleTest, CustomStyles) {
    std::vector<std::string> refreshed;
    static int refreshes;
    refreshes = 0;
    StyleSetLangsHook([] { refreshes++; });
    EXPECT_EQ(Name(146), "") << "no custom styles yet";
    EXPECT_EQ(StyleAddCustom("", -1), -1);
    EXPECT_EQ(StyleAddCustom(" \t ", -1), -1);
    EXPECT_EQ(StyleAddCustom("comment", -1), -1) << "names compare ignoring case";
    EXPECT_EQ(StyleAddCustom("Mine", 103), 146);
    EXPECT_EQ(StyleAddCustom("Mine", -1), -1);
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(Name(146), "Mine");
    EXPECT_EQ(Name(147), "");
    EXPECT_EQ(StyleFindByName(Sheet(), "Mine"), 146);
    EXPECT_EQ(StyleGetParent(Sheet(), 146), 4) << "a copy of style 103";
    EXPECT_EQ(Name(103), "Comment Heading 1");
}

TEST_F(StyleTest, DeletingRenumbersParents) {
    StyleSheet *sheet = Sheet();
    ASSERT_EQ(StyleAddCustom("A", -1), 146);
    ASSERT_EQ(StyleAddCustom("B", -1), 147);
    ASSERT_EQ(StyleAddCustom("C", -1), 148);
    ASSERT_TRUE(StyleSetParent(sheet, 147, 148));
    ASSERT_TRUE(StyleSetParent(sheet, 18, 146));
    EXPECT_FALSE(StyleDeleteCustom(145)) << "built-in styles stay";
    ASSERT_TRUE(StyleDeleteCustom(146));
    EXPECT_EQ(StyleCount(sheet), 148);
    EXPECT_EQ(StyleGetParent(sheet, 146), 147);
    EXPECT_EQ(StyleGetParent(sheet, 18), 0);
    EXPECT_EQ(Name(146), "B");
    EXPECT_EQ(StyleFindByName(sheet, "C"), 147);
    EXPECT_EQ(StyleFindByName(sheet, "A"), -1);
}

TEST_F(StyleTest, DefaultHeadingOverTenPoints) {
    StyleAppearance app = Base();
    FontDescInit(&app.font, "Courier New", 40);
    StyleGetAppearance(Sheet(), 103, &app);
    EXPECT_EQ(app.font.style & FONT_BOLD, FONT_BOLD);
    EXPECT_EQ(app.font.size, 60) << "15 points";
    EXPECT_EQ(app.flags & STYLE_APP_UNDERLINE, (uint32_t)STYLE_UNDERLINE_THICK);
    EXPECT_STREQ(app.font.face, "Arial");
    EXPECT_EQ(app.font.style >> 8, 2);
    EXPECT_EQ(app.fore, 0xFF0000u);
}

TEST_F(StyleTest, DefaultsFollowTheTable) {
    StyleSheet *sheet = Sheet();
    struct Case {
        int32_t style, key, value;
    } cases[] = {
        {7, STYLE_FORE, 0x0000FF},  {7, STYLE_BOLD, 1},          {127, STYLE_PARENT, 3},
        {34, STYLE_PARENT, 21},     {34, STYLE_BOLD, 1},         {21, STYLE_PARENT, 22},
        {21, STYLE_FORE, 0x808000}, {77, STYLE_PARENT, 17},      {77, STYLE_SCALE, 110},
        {74, STYLE_PARENT, 63},     {68, STYLE_SCALE, 120},      {131, STYLE_PARENT, 82},
        {130, STYLE_PARENT, 99},    {132, STYLE_PARENT, 92},     {3, STYLE_KEEP_NEXT, 1},
        {31, STYLE_FONT, 0x200},    {128, STYLE_FIXED_WHITE, 0}, {63, STYLE_SHADOW, 0xC0C0C0},
        {5, STYLE_FORE, 0x800000},
    };
    for (const Case &c : cases) {
        int32_t value = -1;
        EXPECT_TRUE(Has(sheet, c.style, c.key, &value)) << c.style << " key " << c.key;
        EXPECT_EQ(value, c.value) << c.style << " key " << c.key;
    }
    EXPECT_TRUE(StyleIsEmpty(18));
    EXPECT_EQ(Name(24), "Directive");
    EXPECT_EQ(StyleFindByName(sheet, "Ref to Type Parameter"), 145);
}

TEST_F(StyleTest, SectionRoundTripIsByteIdentical) {
    ASSERT_EQ(StyleAddCustom("Mine", 63), 146);
    ASSERT_EQ(StyleAddCustom("Yours", -1), 147);
    ASSERT_TRUE(StyleSetParent(Sheet(), 147, 146));
    FormBytes bytes = Save(Sheet());
    bool changed = true;
    StyleSheet *loaded = Load(bytes, 0x03320040, &changed);
    ASSERT_NE(loaded, nullptr);
    EXPECT_FALSE(changed);
    EXPECT_EQ(StyleCount(loaded), 148);
    EXPECT_EQ(StyleFindByName(loaded, "Yours"), 147);
    EXPECT_EQ(StyleGetParent(loaded, 147), 146);
    EXPECT_EQ(Save(loaded), bytes);
    // The stored header: the container's 44 bytes after the name list, then the sheet's own words.
    size_t names = 44 + 4 * (size_t)FormGet32(bytes, 0) + (size_t)FormGet32(bytes, 28);
    EXPECT_EQ(FormGet32(bytes, names + 44), 0);
    EXPECT_EQ(FormGet32(bytes, names + 48), (int32_t)STYLE_SHEET_VERSION);
    EXPECT_EQ(FormGet32(bytes, names + 52), 146);
    EXPECT_EQ(FormGet32(bytes, names), 148);
    size_t records = 4 * (size_t)FormGet32(bytes, names), pool = (size_t)FormGet32(bytes, names + 28);
    EXPECT_EQ(bytes.size(), names + 336 + records + pool) << "the stored header is 336 bytes";
    StyleSheetFree(loaded);
}

TEST_F(StyleTest, SectionRenamesByVersion) {
    StyleSheet *sheet = Sheet();
    unsigned char pstr[STYLE_NAME_MAX];
    for (int32_t index : {24, 21, 31, 120}) {
        int32_t at;
        ASSERT_TRUE(StlFindValue(sheet->names, index, &at));
        std::string old = "Old " + std::to_string(index);
        StlSet(sheet->names, at, PstrFromSz(old.c_str(), pstr), index);
    }
    FormBytes bytes = Save(sheet);
    struct Case {
        uint32_t version;
        bool renamed24, renamed120, changed;
        int32_t builtins;
    } cases[] = {
        {0x3000002, true, true, true, 59},
        {0x3000005, true, true, true, 146},
        {0x3000006, false, true, false, 146},
        {0x332000B, false, false, false, 146},
    };
    for (const Case &c : cases) {
        bool changed;
        StyleSheet *loaded = Load(bytes, c.version, &changed);
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(changed, c.changed) << std::hex << c.version;
        EXPECT_EQ(loaded->builtins, c.builtins);
        EXPECT_EQ(StyleFindByName(loaded, "Directive"), c.renamed24 ? 24 : -1) << std::hex << c.version;
        EXPECT_EQ(StyleFindByName(loaded, "Symbol Characters"), c.renamed24 ? 31 : -1);
        EXPECT_EQ(StyleFindByName(loaded, "Comment To Do"), c.renamed120 ? 120 : -1);
        EXPECT_EQ(StyleFindByName(loaded, "Old 120"), c.renamed120 ? -1 : 120);
        StyleSheetFree(loaded);
    }
}

TEST_F(StyleTest, ShortSheetIsCompleted) {
    // An older sheet: 59 built-in styles and eleven custom ones at 59..69.
    StyleSheet *old = StyleSheetCreate(70), *model = Sheet();
    for (int32_t i = 0; i < 70; i++) {
        int32_t size;
        const unsigned char *record = StyleRecord(model, i < 59 ? i : 18, &size);
        ASSERT_NE(PlexVarInsert(&old->pv, -1, record, size), nullptr);
        std::string name = i < 59 ? StyleBuiltinName(i) : "Mine " + std::to_string(i);
        ASSERT_TRUE(StlAppendSz(old->names, name.c_str(), i));
    }
    StlSort(old->names);
    FormBytes bytes = Save(old);
    StyleSheetFree(old);
    bool changed;
    StyleSheet *loaded = Load(bytes, 0x3000002, &changed);
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(changed);
    EXPECT_EQ(StyleCount(loaded), 146);
    EXPECT_EQ(StyleFindByName(loaded, "Mine 60"), 60);
    EXPECT_EQ(StyleFindByName(loaded, "Ref to Type Parameter"), 145);
    EXPECT_EQ(StyleFindByName(loaded, "Declare Member"), -1) << "60 stays the custom style";
    for (int32_t i = 70; i < 146; i++) {
        int32_t a, b;
        const unsigned char *x = StyleRecord(loaded, i, &a), *y = StyleRecord(model, i, &b);
        ASSERT_EQ(a, b) << i;
        EXPECT_EQ(memcmp(x, y, a), 0) << i;
    }
    StyleSheetInstall(loaded, false);
    EXPECT_EQ(Name(60), "Mine 60");
    EXPECT_EQ(Name(100), "Ref to Interface");
    EXPECT_EQ(Name(5), "String");
}

TEST_F(StyleTest, BadSectionsAreRefused) {
    ASSERT_EQ(StyleAddCustom("Mine", 63), 146);
    FormBytes good = Save(Sheet());
    StyleSheet *current = StyleCurrent();
    size_t names = 44 + 4 * (size_t)FormGet32(good, 0) + (size_t)FormGet32(good, 28);
    for (size_t cut : {(size_t)0, (size_t)10, (size_t)44, names, names + 100, names + 336, good.size() - 1})
        EXPECT_EQ(Load(FormPatch(good, cut, 0, true), 0x03320040), nullptr) << "cut at " << cut;
    // Record 146 is the last one stored: its bytes end the file. Its terminator overwritten.
    FormBytes noEnd = good;
    FormPut32(noEnd, noEnd.size() - 8, 1);
    EXPECT_EQ(Load(noEnd, 0x03320040), nullptr) << "a list without its end";
    // A name naming no style.
    FormBytes badName = good;
    FormPut32(badName, 44 + 4 * (size_t)FormGet32(good, 0), 999);
    EXPECT_EQ(Load(badName, 0x03320040), nullptr) << "a name past the count";
    EXPECT_EQ(StyleCurrent(), current);
    // Records longer than 280 bytes, and a face without its NUL.
    StyleSheet *sheet = StyleSheetCreate(2);
    std::vector<unsigned char> huge(300, 0);
    ASSERT_NE(PlexVarInsert(&sheet->pv, -1, huge.data(), 300), nullptr);
    EXPECT_EQ(Load(Save(sheet), 0x03320040), nullptr);
    unsigned char face[20] = {0, 0, 0, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0, 'A', 'r', 'i', 'a'};
    ASSERT_TRUE(PlexVarSet(&sheet->pv, 0, face, 20));
    EXPECT_EQ(Load(Save(sheet), 0x03320040), nullptr);
    StyleSheetFree(sheet);
}

TEST_F(StyleTest, CssOfTwoStyles) {
    StyleSheet *sheet = StyleSheetCreate(2);
    unsigned char empty[16] = {};
    for (int i = 0; i < 2; i++) ASSERT_NE(PlexVarInsert(&sheet->pv, -1, empty, 16), nullptr);
    StyleProp props[] = {Prop(STYLE_BOLD, 1), Prop(STYLE_FONT, 2, "Arial"), Prop(STYLE_SIZE, 48),
                         Prop(STYLE_BACK, 0x00FFFF)};
    for (const StyleProp &p : props) ASSERT_TRUE(StyleSetProperty(sheet, 1, &p));
    StyleProp fore = Prop(STYLE_FORE, 0x000080);
    ASSERT_TRUE(StyleSetProperty(sheet, 0, &fore));
    TextBuf out;
    TextBufInit(&out);
    StyleAppearance base = Base();
    int32_t n = StyleSheetWriteCss(sheet, &out, &base, true);
    const char *expected =
        "<style type='text/css'><!--\r\n"
        ".BODY {font-family: \"Courier New\"; color: #800000; background-color: #ffffff; font-size: 10pt "
        "}\r\n\r\n"
        ".Default_Text {font-family: \"Courier New\"; color: #800000; background-color: #ffffff; font-size: "
        "10pt "
        "}\r\n\r\n"
        ".Number {font-family: \"Arial\"; font-weight: bold; color: #302010; background-color: #ffff00; "
        "font-size: 12pt }\r\n\r\n"
        "a:link {text-decoration: none}\r\n"
        "a:visited { text-decoration: none}\r\n"
        "a:hover {text-decoration: underline}\r\n"
        "--></style>\r\n";
    EXPECT_STREQ(TextBufText(&out), expected);
    EXPECT_EQ(n, (int32_t)strlen(expected));
    TextBufFree(&out);
    StyleSheetFree(sheet);
}

TEST_F(StyleTest, CssOfManyCustomStylesIsWrittenWhole) {
    for (int i = 0; i < 3000; i++) ASSERT_GE(StyleAddCustom(("Custom " + std::to_string(i)).c_str(), 103), 0);
    TextBuf out;
    TextBufInit(&out);
    StyleAppearance base = Base();
    int32_t n = StyleSheetWriteCss(Sheet(), &out, &base, false);
    ASSERT_GT(n, 3000 * 100);
    EXPECT_EQ(n, out.length);
    std::string css = TextBufText(&out);
    EXPECT_NE(css.find(".Custom_2999 {font-family: \"Arial\"; font-weight: bold;"), std::string::npos);
    EXPECT_EQ(css.substr(css.size() - 38), "a:hover {text-decoration: underline}\r\n");
    EXPECT_EQ(css.find("<style"), std::string::npos);
    TextBufFree(&out);
}

TEST_F(StyleTest, ColourGetters) {
    EXPECT_EQ(StyleDefaultFore(), StyleOsWindowText());
    EXPECT_EQ(StyleDefaultBack(), OptColor(OPT_COLOR_WINDOW)) << "style 0 has no background";
    EXPECT_EQ(StyleDefaultShadow(), StyleDefaultBack());
    EXPECT_EQ(StyleColorFore(7), 0x0000FFu);
    EXPECT_EQ(StyleColorBack(7), StyleDefaultBack());
    EXPECT_EQ(StyleColorBack(41), 0x800000u);
    EXPECT_EQ(StyleColorFore(112), 0x808080u);
    EXPECT_EQ(StyleContrastGrey(), 0xC0C0C0u);
    StyleProp back = Prop(STYLE_BACK, 0xC0C0C0), shadow = Prop(STYLE_SHADOW, 0x123456);
    ASSERT_TRUE(StyleSetProperty(Sheet(), 0, &back));
    ASSERT_TRUE(StyleSetProperty(Sheet(), 0, &shadow));
    EXPECT_EQ(StyleContrastGrey(), 0x808080u);
    EXPECT_EQ(StyleDefaultShadow(), 0x123456u);
    EXPECT_EQ(StyleColorBack(7), 0xC0C0C0u);
    StyleSheetInstall(nullptr, false);
    OptSetColor(OPT_COLOR_TEXT, 0x010203);
    EXPECT_EQ(StyleDefaultFore(), 0x010203u) << "no sheet: the colour settings";
}

TEST_F(StyleTest, OldColourTable) {
    uint32_t colors[17];
    for (int i = 0; i < 17; i++) colors[i] = i % 5 == 0 ? 0x111111 : 0x100 + i;
    StyleSheetTakeOldColors(Sheet(), colors);
    int32_t value;
    EXPECT_TRUE(Has(Sheet(), 1, STYLE_FORE, &value));
    EXPECT_EQ(value, 0x101);
    EXPECT_TRUE(Has(Sheet(), 7, STYLE_FORE, &value));
    EXPECT_EQ(value, 0x107);
    EXPECT_TRUE(Has(Sheet(), 5, STYLE_FORE, &value));
    EXPECT_EQ(value, 0x800000) << "an entry equal to the first is skipped";
    EXPECT_EQ(OptColor(OPT_COLOR_TEXT), 0x111111u);
}
