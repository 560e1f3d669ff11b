// Document types:
// - the built-in types in order; the scratch record; the symbol type names;
// - finding a file's type: case-blind wildcards, exact names before wildcard matches, the catch-all, the
//   file aliases of "FileAlias.txt" (from a file or an open buffer), the one-entry cache, the macro type;
// - options: "Use options from Default type", the buffer-level questions;
// - changing the table: deleting renumbers with languages bound by name, a failed insert leaves every list
//   as it was, merging by name, listing known files, applying a changed table to the buffers;
// - fonts and styles: descriptions for screen and printer, the buffer's own font, the style record;
// - the configuration section: a round trip, the upgrade rows as a table (0x3000000 as the table says),
//   values loaded clamped, lists of unequal length and a table without types refused with the message.
#include "doc/dta.h"

#include "base/erc.h"
#include "base/file.h"
#include "base/path.h"
#include "base/plexvar.h"
#include "base/strfile.h"
#include "langtest.h"

#include <functional>

namespace {

using namespace doctest;
using namespace langtest;

class DtaTest : public LangTest {
protected:
    void TearDown() override {
        if (file >= 0) FileClose(file);
        LangTest::TearDown();
    }
    int32_t TypeOf(const char *name) { return DtaFindTypeForFile(name); }
    std::string NameOf(int32_t type) {
        char name[256] = "";
        DtaGetType(type, nullptr, name, nullptr, nullptr, nullptr);
        return name;
    }
    DtaOptions Entry(int32_t type) {
        DtaOptions entry;
        DtaGetType(type, &entry, nullptr, nullptr, nullptr, nullptr);
        return entry;
    }
    // Changes one type's entry in place through the table's own operations.
    void Edit(int32_t type, const std::function<void(DtaOptions &)> &change) {
        DtaOptions entry;
        DtaFont font;
        char name[256], wildcards[256], pattern[256], language[256];
        DtaGetType(type, &entry, name, wildcards, pattern, &font);
        DtaGetLanguageName(type, language);
        change(entry);
        ASSERT_TRUE(DtaReplace(type, &entry, name, wildcards, pattern, language, &font));
    }
    int Open(const char *name) {
        file = FileOpen(Path(name).c_str(), FILE_OPEN_CREATE);
        return file;
    }
    int file = -1;
};

TEST_F(DtaTest, BuiltInTypes) {
    static const char *const names[] = {"Default",
                                        "Custom Command Output",
                                        "Search Results",
                                        "C Source File",
                                        "C++ Source File",
                                        "C# Source File",
                                        "Interface Definition File",
                                        "x86 Asm Source File",
                                        "Java Source File",
                                        "JavaScript File",
                                        "Perl Source File",
                                        "Visual Basic Source File",
                                        "Batch File",
                                        "INI File",
                                        "Link Def File",
                                        "Make File",
                                        "Resource File",
                                        "Veltrix Macro File",
                                        "Plain Text",
                                        "HTML File",
                                        "Cascading Style Sheet",
                                        "Output File",
                                        "Token Macro File",
                                        "XML File",
                                        "VHDL File"};
    ASSERT_EQ(DtaCount(), 25);
    for (int32_t i = 0; i < 25; i++) EXPECT_EQ(NameOf(i), names[i]);
    struct Case {
        const char *name;
        uint32_t flags;
        int32_t tab, language, tag;
        const char *wildcards, *pattern, *face;
    } cases[] = {
        {"Default", 0x6E8408 & ~DTA_SYMBOL_WINDOW, 4, 0, 0, "", "", "Verdana"},
        {"Custom Command Output", 0x6E8408 | DTA_NOT_IN_PROJECTS, 4, 0, 0, "", "", "Courier New"},
        {"C Source File", (0x6E8408 & ~DTA_AUTO_INDENT_MASK) | DTA_AUTO_INDENT_SMART | DTA_SMART_PASTE, 4, 1,
         0, "*.c;*.h", "", "Courier New"},
        {"JavaScript File", (0x6E8408 & ~DTA_AUTO_INDENT_MASK) | DTA_AUTO_INDENT_SMART, 4, 13, 0,
         "*.js;*.jse", "", "Courier New"},
        {"x86 Asm Source File", 0x6E8408, 8, 2, 0, "*.asm;*.inc", "", "Courier New"},
        {"Batch File", 0x6E8408, 4, 0, 9, "*.bat;*.cmd", "^:\\(.*\\)$", "Courier New"},
        {"Plain Text", (0x6E8408 | DTA_WORD_WRAP) & ~DTA_LINE_UP_WHITE, 4, 0, 0, "*.txt", "", "Courier New"},
        {"Output File", 0x6E8408 | DTA_NOT_IN_PROJECTS, 4, 0, 0,
         "*.out;KeyList.txt;CommandList.txt;SymList.txt", "", "Courier New"},
    };
    for (const Case &c : cases) {
        int32_t type = DtaFindByName(c.name);
        DtaOptions entry;
        DtaFont font;
        char wildcards[256], pattern[256];
        DtaGetType(type, &entry, nullptr, wildcards, pattern, &font);
        EXPECT_EQ(entry.flags, c.flags) << c.name;
        EXPECT_EQ(entry.tabWidth, c.tab) << c.name;
        EXPECT_EQ(entry.margin, 80) << c.name;
        EXPECT_EQ(entry.width2, 4) << c.name;
        EXPECT_EQ(entry.language, c.language) << c.name;
        EXPECT_EQ(entry.customTag, c.tag) << c.name;
        EXPECT_STREQ(wildcards, c.wildcards) << c.name;
        EXPECT_STREQ(pattern, c.pattern) << c.name;
        DtaFont expected;
        DtaFontInit(&expected, c.face, 8);
        EXPECT_TRUE(FontDescEqual(&font.screen, &expected.screen)) << c.name;
        EXPECT_TRUE(FontDescEqual(&font.printer, &expected.printer)) << c.name;
    }
    EXPECT_EQ(DtaMacroTypeIndex(), DtaFindByName("Veltrix Macro File"));
    DtaDelete(DtaMacroTypeIndex());
    EXPECT_EQ(DtaMacroTypeIndex(), -1) << "the cache follows the change";

    const DtaOptions *scratch = DtaScratchOptions();
    EXPECT_EQ(scratch->flags, (uint32_t)DTA_ENTER_NEW_LINE);
    EXPECT_EQ(scratch->tabWidth, 4);
    EXPECT_EQ(scratch->width2, 4);
    EXPECT_EQ(scratch->margin, 60);

    EXPECT_STREQ(DtaSymbolTypeName(0, false), "Function");
    EXPECT_STREQ(DtaSymbolTypeName(24, true), "Directories");
    EXPECT_STREQ(DtaSymbolTypeName(32, true), "Parameter");
    EXPECT_STREQ(DtaSymbolTypeName(57, false), "Macro Event");
    EXPECT_STREQ(DtaSymbolTypeName(58, false), "");
    EXPECT_STREQ(DtaSymbolTypeName(-1, true), "");
}

TEST_F(DtaTest, FindingAFilesType) {
    int32_t c = DtaFindByName("C Source File");
    EXPECT_EQ(TypeOf("Foo.C"), c) << "wildcards match ignoring case";
    EXPECT_EQ(TypeOf("C:\\src\\Foo.C"), c) << "the name without its folder";
    EXPECT_EQ(TypeOf("foo.c.bak"), DOC_TYPE_DEFAULT);
    EXPECT_EQ(TypeOf("Data.SearchResults"), DOC_TYPE_SEARCH_RESULTS);
    EXPECT_EQ(TypeOf("KEYLIST.TXT"), DtaFindByName("Output File")) << "an exact name in a later type wins";
    EXPECT_EQ(TypeOf("notes.txt"), DtaFindByName("Plain Text"));
    EXPECT_TRUE(DtaFileMatchesType("x/y/Foo.C", c));
    EXPECT_FALSE(DtaFileMatchesType("Foo.cpp", c));
    EXPECT_FALSE(DtaFileMatchesType("Foo.c", 99));

    DtaOptions entry;
    DtaOptionsDefault(&entry);
    DtaFont font;
    DtaFontDefault(&font);
    ASSERT_TRUE(DtaInsert(1, &entry, "Everything", "*", "", nullptr, &font));
    ASSERT_TRUE(DtaAppend(&entry, "Exact", "foo.c;bar.zzz  ;;*.q/", "", nullptr, &font));
    EXPECT_EQ(TypeOf("a.zzz"), 1) << "the catch-all takes what nothing else matches";
    EXPECT_EQ(TypeOf("x.c"), c + 1) << "a wildcard match wins over the catch-all";
    EXPECT_EQ(TypeOf("FOO.C"), DtaCount() - 1) << "an exact name in a later type wins over a wildcard";
    EXPECT_EQ(TypeOf("bar.zzz"), DtaCount() - 1) << "items have their trailing blanks cut";
    EXPECT_TRUE(DtaFileMatchesType("a.q", DtaCount() - 1)) << "'/' reads as '\\', a trailing one cut";
    ASSERT_TRUE(DtaAppend(&entry, "Later Catch-all", "*", "", nullptr, &font));
    EXPECT_EQ(TypeOf("a.zzz"), DtaCount() - 1) << "a later \"*\" replaces the catch-all";

    EXPECT_EQ(DtaTypeOfFile("a.java"), 7);
    int32_t java = DtaFindByName("Java Source File");
    char wildcards[256];
    DtaGetType(java, nullptr, nullptr, wildcards, nullptr, nullptr);
    ASSERT_TRUE(DtaReplace(java, &entry, "Java Source File", wildcards, "", "C#", &font));
    EXPECT_EQ(DtaTypeOfFile("A.JAVA"), 14) << "the cache is cleared by a change";
}

TEST_F(DtaTest, FileAliases) {
    WriteBytes(Path("FileAlias.txt"), "; comment line\r\n/ another\r\n\r\n  makefile = x.mak\r\n"
                                      "a\\=b = x.c\r\nnoalias =\r\nno equal sign\r\n= x.c\r\n");
    int32_t live = DocLiveCount();
    ASSERT_TRUE(DtaLoadFileAliases());
    EXPECT_EQ(DocLiveCount(), live) << "the buffer loaded for the purpose is closed";
    EXPECT_EQ(TypeOf("makefile"), DtaFindByName("Make File"));
    EXPECT_EQ(TypeOf("C:\\src\\MAKEFILE"), DtaFindByName("Make File")) << "names compared ignoring case";
    EXPECT_EQ(TypeOf("a=b"), DtaFindByName("C Source File")) << "an escaped '=' belongs to the name";
    EXPECT_EQ(TypeOf("noalias"), DOC_TYPE_DEFAULT);
    EXPECT_FALSE(DtaFileMatchesType("makefile", DtaFindByName("Make File"))) << "no aliases here";

    FileBuffer *open = DocNew(Path("FileAlias.txt").c_str());
    ASSERT_TRUE(InsertLineSz(open, 0, "Build = x.java"));
    ASSERT_TRUE(DtaLoadFileAliases());
    EXPECT_EQ(TypeOf("build"), DtaFindByName("Java Source File")) << "taken from the open buffer";
    EXPECT_EQ(TypeOf("makefile"), DOC_TYPE_DEFAULT) << "the previous list is replaced";
    DocFree(open, false);

    VxRemoveFile(Path("FileAlias.txt"));
    EXPECT_FALSE(DtaLoadFileAliases());
    EXPECT_EQ(TypeOf("build"), DtaFindByName("Java Source File")) << "nothing changes without the file";
    EXPECT_TRUE(AlertTexts().empty()) << "a missing alias file is no error";
}

TEST_F(DtaTest, UseOptionsFromDefault) {
    int32_t c = DtaFindByName("C Source File");
    Edit(DOC_TYPE_DEFAULT, [](DtaOptions &e) { e.tabWidth = 3; });
    Edit(c, [](DtaOptions &e) {
        e.flags |= DTA_USE_DEFAULT | DTA_NOT_IN_PROJECTS;
        e.tabWidth = 8;
        e.customTag = 6;
    });
    DtaOptions options;
    EXPECT_TRUE(DtaGetOptions(c, &options));
    EXPECT_EQ(options.tabWidth, 3) << "Default's tab width";
    EXPECT_EQ(options.language, 1) << "the type's own language";
    EXPECT_EQ(options.customTag, 6);
    EXPECT_TRUE(options.flags & DTA_NOT_IN_PROJECTS) << "the type's own bit 7";
    EXPECT_EQ(options.flags & DTA_SYMBOL_WINDOW, 0u) << "Default's other flags";
    EXPECT_FALSE(DtaTypeInProjects(c));
    EXPECT_FALSE(DtaGetOptions(DtaFindByName("Make File"), &options));
    EXPECT_EQ(options.tabWidth, 4);
    EXPECT_FALSE(DtaGetOptions(999, &options)) << "an index past the table reads as Default";
    EXPECT_EQ(options.tabWidth, 3);

    FileBuffer *doc = Load("o.c", "x\r\n");
    EXPECT_TRUE(DtaGetBufferOptions(doc));
    EXPECT_EQ(DtaScratchOptions()->tabWidth, 3);
    EXPECT_EQ(DtaTabWidth(doc), 3);
}

int32_t charWidth(FileBuffer *) {
    return 7;
}
bool viewFlag(int32_t index) {
    return index == 1;
}

TEST_F(DtaTest, BufferQuestions) {
    int32_t c = DtaFindByName("C Source File");
    Edit(c, [](DtaOptions &e) { e.flags |= DTA_LINE_NUMBERS | DTA_VISIBLE_SPACES | DTA_PAGE_BREAKS; });
    FileBuffer *source = Load("q.c", "x\r\n"), *text = Load("q.txt", "x\r\n"),
               *batch = Load("q.bat", "x\r\n");
    EXPECT_TRUE(DocShowLineNumbers(source));
    EXPECT_TRUE(DocVisibleSpaces(source));
    EXPECT_TRUE(DocShowPageBreaks(source));
    EXPECT_FALSE(DocVisibleTabs(source));
    EXPECT_FALSE(DocShowRightMargin(source));
    EXPECT_FALSE(DocShowLineNumbers(text));
    EXPECT_EQ(DocStatusFieldCount(source), 5) << "a language";
    EXPECT_EQ(DocStatusFieldCount(batch), 5) << "a custom tag type";
    EXPECT_EQ(DocStatusFieldCount(text), 4);
    EXPECT_TRUE(DtaTypeInProjects(c));
    EXPECT_FALSE(DtaTypeInProjects(DOC_TYPE_DEFAULT));
    EXPECT_FALSE(DtaTypeInProjects(DOC_TYPE_OUTPUT));

    EXPECT_EQ(DocTabPixels(source), 0) << "no display layer: no width";
    DocDisplayHook display = *DocDisplayNeutral();
    display.swCharWidth = charWidth;
    DocSetDisplayHook(&display);
    EXPECT_EQ(DocTabPixels(source), 28);

    lang.langViewFlag = viewFlag;
    SetLang();
    EXPECT_FALSE(DocIsProgramSourceView(source)) << "the option is off";
    Options().programSourceView = true;
    EXPECT_TRUE(DocIsProgramSourceView(source));
    EXPECT_FALSE(DocIsProgramSourceView(text));
}

TEST_F(DtaTest, DeletingRenumbersAndRebinds) {
    int32_t c = DtaFindByName("C Source File"), cpp = DtaFindByName("C++ Source File");
    int32_t count = DtaCount();
    DtaDelete(c);
    EXPECT_EQ(DtaCount(), count - 1);
    EXPECT_EQ(DtaFindByName("C++ Source File"), cpp - 1);
    EXPECT_EQ(TypeOf("x.cpp"), cpp - 1);
    for (int32_t t = 0; t < DtaCount(); t++) {
        char language[256];
        DtaGetLanguageName(t, language);
        EXPECT_EQ(DtaTypeLanguage(t), std::max(FakeLangIndex(language), 0)) << NameOf(t);
    }
    EXPECT_EQ(DtaTypeLanguage(cpp - 1), 3);
    EXPECT_EQ(DtaFindByLanguage(3), cpp - 1);
    EXPECT_EQ(DtaFindByLanguage(18), DOC_TYPE_DEFAULT) << "no type of that language: Default";
    EXPECT_EQ(TypeOf("x.c"), DOC_TYPE_DEFAULT);
    DtaDelete(-1);
    DtaDelete(DtaCount());
    EXPECT_EQ(DtaCount(), count - 1);
}

// Every list of the table holds one entry per type.
void ExpectSound(const DtaTable *t) {
    EXPECT_EQ(t->options->size, (uint32_t)t->count * sizeof(DtaOptions));
    EXPECT_EQ(t->fonts->size, (uint32_t)t->count * sizeof(DtaFont));
    EXPECT_EQ(StbCount(t->names), t->count);
    EXPECT_EQ(StbCount(t->wildcards), t->count);
    EXPECT_EQ(StbCount(t->patterns), t->count);
    EXPECT_EQ(StlCount(t->languages), t->count);
    EXPECT_TRUE(StbCheck(t->names) && StbCheck(t->wildcards) && StbCheck(t->patterns));
}

TEST_F(DtaTest, FailedInsertChangesNothing) {
    DtaOptions entry;
    DtaOptionsDefault(&entry);
    DtaFont font;
    DtaFontDefault(&font);
    int32_t count = DtaCount();
    int failures = 0;
    for (int n = 1; n < 12; n++) {
        HeapFailNth(n);
        int ok = DtaInsert(3, &entry, "A New Type With A Long Name", "*.new;*.newer", "^x", "C", &font);
        HeapFailNth(0);
        ErcClear();
        if (ok) {
            EXPECT_EQ(DtaCount(), count + 1);
            DtaDelete(3);
            continue;
        }
        failures++;
        EXPECT_EQ(DtaCount(), count) << n;
        EXPECT_EQ(NameOf(3), "C Source File") << n;
        ExpectSound(DtaCurrent());
    }
    EXPECT_GT(failures, 3) << "every list's insert failed once";
    ExpectSound(DtaCurrent());
}

TEST_F(DtaTest, MergeAndKnownFiles) {
    DtaTable loaded;
    {
        DtaOptions entry;
        DtaOptionsDefault(&entry);
        entry.tabWidth = 2;
        DtaFont font;
        DtaFontInit(&font, "Arial", 10);
        ASSERT_TRUE(DtaTableInit());
        ASSERT_TRUE(DtaAppend(&entry, "C Source File", "*.c", "", "C", &font));
        ASSERT_TRUE(DtaAppend(&entry, "New Type", "*.nt", "", "Perl", &font));
        ASSERT_GE(Open("merge.cf"), 0);
        ASSERT_TRUE(DtaWrite(file, DtaCurrent()));
        ASSERT_TRUE(DtaDefaults());
        FileSeek(file, 0);
        ASSERT_TRUE(DtaRead(file, &loaded, 0x3320020));
    }
    int32_t c = DtaFindByName("C Source File"), count = DtaCount();
    DtaMerge(&loaded);
    DtaTableFree(&loaded);
    EXPECT_EQ(DtaCount(), count + 1);
    EXPECT_EQ(DtaFindByName("C Source File"), c) << "replaced in place";
    EXPECT_EQ(Entry(c).tabWidth, 2);
    EXPECT_EQ(DtaFindByName("New Type"), count);
    EXPECT_EQ(DtaTypeLanguage(count), 9);
    EXPECT_EQ(DtaCurrent()->changes, 0);

    std::string folder = Path("known");
    VxMakeDir(folder);
    for (const char *name : {"a.c", "b.zzz", "c.txt", "d.java"}) WriteBytes(folder + "\\" + name, "x");
    std::string here = VxCurrentDir();
    ASSERT_TRUE(VxSetCurrentDir(folder));
    Stl *list = StlCreate(4);
    ASSERT_TRUE(DtaListKnownFiles(list, [](const char *name) { return strcmp(name, "d.java") != 0; }));
    VxSetCurrentDir(here);
    std::vector<std::string> names;
    for (int32_t i = 0; i < StlCount(list); i++) {
        unsigned char pstr[256];
        StlGetString(list, i, pstr);
        names.push_back(std::string((char *)pstr + 1, pstr[0]));
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.c", "c.txt"}));
    StlFree(list);
}

std::vector<std::string> applied;
void Refresh(FileBuffer *doc) {
    char name[256];
    DocGetFileName(doc, name);
    applied.push_back(std::string("refresh ") + PathGetName(name));
}
void SymbolWindow(FileBuffer *doc) {
    char name[256];
    DocGetFileName(doc, name);
    applied.push_back(std::string("symbols ") + PathGetName(name));
}
void Redraw() {
    applied.push_back("redraw");
}
int32_t Dirty(int) {
    applied.push_back("dirty");
    return 1;
}
FileBuffer *shown;
void *ShownWindow(FileBuffer *doc) {
    return doc == shown ? (void *)doc : nullptr;
}

TEST_F(DtaTest, ApplyToBuffers) {
    FileBuffer *cpp = Load("a.cpp", "x\r\n"), *java = Load("b.java", "x\r\n");
    shown = cpp;
    applied.clear();
    DocDisplayHook display = *DocDisplayNeutral();
    display.swFindByDoc = ShownWindow;
    display.swRefreshDocType = Refresh;
    display.redrawAllSw = Redraw;
    DocSetDisplayHook(&display);
    DocBrowseHook browse = *DocBrowseNeutral();
    browse.symbolWindowRefresh = SymbolWindow;
    DocSetBrowseHook(&browse);
    shell.setConfigDirty = Dirty;
    SetShell();
    DtaDelete(DtaFindByName("C Source File"));
    DtaApplyToBuffers();
    EXPECT_EQ(cpp->idta, DtaFindByName("C++ Source File")) << "types chosen again after the numbers moved";
    EXPECT_EQ(java->idta, DtaFindByName("Java Source File"));
    EXPECT_EQ(cpp->ilang, 3);
    EXPECT_EQ(applied, (std::vector<std::string>{"dirty", "refresh a.cpp", "symbols a.cpp", "redraw"}));
}

int flushes;
void Flush() {
    flushes++;
}
uint32_t Fore() {
    return 0x112233;
}
uint32_t Back() {
    return 0xFFFFFF;
}
uint32_t Fill() {
    return 0x00FF00;
}
uint32_t FillFlags() {
    return 0x40;
}
void PrintColours(uint32_t *fore, uint32_t *back) {
    *fore = 0x010101;
    *back = 0xFEFEFE;
}
DtaStyle styled;
int ApplyText(const char *text, const DtaStyle *style) {
    styled = *style;
    return (int)strlen(text);
}

TEST_F(DtaTest, FontsAndStyles) {
    DtaFont font, courier;
    memset(&font, 0xFF, sizeof font);
    DtaFontInit(&font, "Lucida Console", 11);
    EXPECT_TRUE(FontDescEqual(&font.screen, &font.printer));
    EXPECT_EQ(font.reserved[0] | font.reserved[1], 0u);
    DtaFontDefault(&courier);
    const char *courierFace = courier.screen.face;

    int32_t text = DtaFindByName("Plain Text"), c = DtaFindByName("C Source File");
    FontDesc printerFont;
    FontDescInit(&printerFont, "Arial", 40);
    DtaFontRecord(c)->printer = printerFont;
    FileBuffer *source = Load("f.c", "x\r\n"), *plain = Load("f.txt", "x\r\n");
    FontDesc desc;
    DocGetFontDesc(source, false, &desc);
    EXPECT_STREQ(desc.face, courierFace);
    EXPECT_EQ(desc.style & FONT_NARROW_PUNCT, FONT_NARROW_PUNCT) << "\"Line up white space\"";
    DocGetFontDesc(source, true, &desc);
    EXPECT_STREQ(desc.face, "Arial") << "the printer font";
    Edit(c, [](DtaOptions &e) { e.flags |= DTA_EMULATE_SCREEN; });
    DocGetFontDesc(source, true, &desc);
    EXPECT_STREQ(desc.face, courierFace) << "screen fonts emulated when printing";
    DocGetFontDesc(plain, false, &desc);
    EXPECT_EQ(desc.style & FONT_NARROW_PUNCT, 0) << "Plain Text does not line up white space";

    flushes = 0;
    DocDisplayHook display = *DocDisplayNeutral();
    display.flushFormatCache = Flush;
    display.styleDefaultFore = Fore;
    display.styleDefaultBack = Back;
    display.styleBaseColour13 = Fill;
    display.styleFillFlags = FillFlags;
    display.printColours = PrintColours;
    display.styleApplyText = ApplyText;
    DocSetDisplayHook(&display);
    FontDesc own;
    FontDescInit(&own, "Consolas", 48);
    ASSERT_TRUE(DocSetFont(plain, &own));
    EXPECT_EQ(flushes, 1);
    DocGetFontDesc(plain, false, &desc);
    EXPECT_STREQ(desc.face, "Consolas") << "the buffer's own screen font";
    DocGetFontDesc(plain, true, &desc);
    EXPECT_STREQ(desc.face, courierFace) << "not for printing";

    DtaStyle style;
    FontRecord *record = (FontRecord *)&style;
    DocStyleRecord(plain, false, &style, &record);
    EXPECT_STREQ(style.font.face, "Consolas");
    EXPECT_EQ(record, DocGetFont(plain, false)) << "the font cache's object for the description";
    EXPECT_EQ(style.fore, 0x112233u);
    EXPECT_EQ(style.back, 0xFFFFFFu);
    EXPECT_EQ(style.fill, 0x00FF00u);
    EXPECT_EQ(style.flags, 0x40u) << "the fill differs from the background";
    DtaStyleRecord(text, true, &style);
    EXPECT_STREQ(style.font.face, courierFace) << "a type's style has the type's font";
    EXPECT_EQ(style.fore, 0x010101u);
    EXPECT_EQ(style.back, 0xFEFEFEu);
    EXPECT_EQ(DocTypeStyleText(c, "abc"), 3);
    EXPECT_STREQ(styled.font.face, courierFace);
    EXPECT_EQ(styled.fore, 0x112233u);

    ASSERT_TRUE(DocSetFont(plain, nullptr));
    EXPECT_EQ(plain->haux, nullptr);
    EXPECT_EQ(flushes, 2);
    EXPECT_EQ(DocFontRecord(plain), DtaFontRecord(text));
}

// ---- The configuration section ----

void Put32(int file, uint32_t value) {
    unsigned char word[4];
    PlexVarPutLE(word, (int32_t)value);
    FileWriteExact(file, word, 4);
}

void ExpectSameTables(const DtaTable *a, const DtaTable *b) {
    ASSERT_EQ(a->count, b->count);
    EXPECT_EQ(memcmp(a->options->ptr, b->options->ptr, (size_t)a->count * sizeof(DtaOptions)), 0);
    EXPECT_EQ(memcmp(a->fonts->ptr, b->fonts->ptr, (size_t)a->count * sizeof(DtaFont)), 0);
    for (int32_t i = 0; i < a->count; i++) {
        char x[256], y[256];
        for (Stb *const DtaTable::*list : {&DtaTable::names, &DtaTable::wildcards, &DtaTable::patterns}) {
            StbGetString(a->*list, i, x);
            StbGetString(b->*list, i, y);
            EXPECT_STREQ(x, y);
        }
        unsigned char p[256], q[256];
        StlGetString(a->languages, i, p);
        StlGetString(b->languages, i, q);
        EXPECT_EQ(memcmp(p, q, p[0] + 1), 0);
    }
}

TEST_F(DtaTest, RoundTrip) {
    Edit(DtaFindByName("Make File"), [](DtaOptions &e) {
        e.tabWidth = 20;
        e.margin = 4092;
        e.customTag = 58;
    });
    ASSERT_GE(Open("types.cf"), 0);
    ASSERT_TRUE(DtaWrite(file, DtaCurrent()));
    uint32_t end = FileTell(file);
    FileSeek(file, 0);
    DtaTable loaded;
    ASSERT_TRUE(DtaRead(file, &loaded, 0x3320020));
    EXPECT_EQ(FileTell(file), end) << "the whole section is read";
    ExpectSameTables(&loaded, DtaCurrent());
    DtaTable before = {};
    {
        // The loaded table becomes the current one, with the steps of every load.
        FileSeek(file, 0);
        ASSERT_TRUE(DtaRead(file, &before, 0x3320020));
        DtaUpgrade(&loaded, 0x3320020);
        EXPECT_EQ(loaded.options, nullptr) << "its lists were taken";
        const DtaTable *now = DtaCurrent();
        ASSERT_EQ(now->count, before.count);
        EXPECT_EQ(now->changes, 0);
        for (int32_t i = 0; i < now->count; i++) {
            DtaOptions a = *((DtaOptions *)now->options->ptr + i),
                       b = *((DtaOptions *)before.options->ptr + i);
            if (i < 3) b.flags = (b.flags | DTA_NOT_IN_PROJECTS) & ~DTA_USE_DEFAULT;
            EXPECT_EQ(memcmp(&a, &b, sizeof a), 0) << i;
        }
        DtaTableFree(&before);
    }
}

struct Section {
    int32_t count;
    std::vector<DtaOptions> options;
    std::vector<std::string> names, wildcards, patterns, languages;
    std::vector<DtaFont> fonts;
    bool withLanguages = true;

    void Write(int file) const {
        Put32(file, (uint32_t)count);
        Put32(file, (uint32_t)(options.size() * sizeof(DtaOptions)));
        FileWriteExact(file, options.data(), (int32_t)(options.size() * sizeof(DtaOptions)));
        for (const std::vector<std::string> *list : {&names, &wildcards, &patterns}) {
            Stb *stb = StbCreate(10, 5);
            for (const std::string &s : *list) StbAppendSz(stb, s.c_str(), 0);
            StbWrite(stb, file);
            StbFree(&stb);
        }
        Put32(file, (uint32_t)(fonts.size() * sizeof(DtaFont)));
        FileWriteExact(file, fonts.data(), (int32_t)(fonts.size() * sizeof(DtaFont)));
        if (!withLanguages) return;
        Stl *stl = StlCreate(10);
        for (const std::string &s : languages) StlAppendSz(stl, s.c_str(), 0);
        StlWrite(stl, file);
        StlFree(stl);
    }
    void Add(const char *name, const DtaOptions &entry, const char *language = "None") {
        DtaFont font;
        DtaFontDefault(&font);
        count++;
        options.push_back(entry);
        names.push_back(name);
        wildcards.push_back("");
        patterns.push_back("");
        languages.push_back(language);
        fonts.push_back(font);
    }
};

// The section written, read as a configuration of that version and made the current table.
bool Install(const Section &s, uint32_t version) {
    int file = FileOpen(Path("section.cf").c_str(), FILE_OPEN_CREATE);
    if (file < 0) return false;
    s.Write(file);
    FileSeek(file, 0);
    DtaTable loaded;
    bool ok = DtaRead(file, &loaded, version);
    FileClose(file);
    if (ok) DtaUpgrade(&loaded, version);
    return ok;
}

Section TwoTypes() {
    Section s{};
    DtaOptions entry;
    DtaOptionsDefault(&entry);
    s.Add("Default", entry);
    s.Add("Other", entry, "C");
    return s;
}

TEST_F(DtaTest, StoredValuesAreClamped) {
    Section s = TwoTypes();
    s.options[1].tabWidth = 0;
    s.options[1].margin = 5;
    s.options[1].customTag = 99;
    s.options[0].tabWidth = 21;
    s.options[0].margin = 5000;
    s.options[0].customTag = -3;
    memset(s.fonts[1].screen.face, 'f', sizeof s.fonts[1].screen.face); // no NUL
    s.fonts[1].reserved[0] = 0xDEAD;
    ASSERT_TRUE(Install(s, 0x3320020));
    EXPECT_EQ(Entry(1).tabWidth, 1);
    EXPECT_EQ(Entry(1).margin, 10);
    EXPECT_EQ(Entry(1).customTag, 58);
    EXPECT_EQ(Entry(0).tabWidth, 20);
    EXPECT_EQ(Entry(0).margin, 4092);
    EXPECT_EQ(Entry(0).customTag, 0);
    EXPECT_EQ(Entry(1).language, 1);
    DtaFont *font = DtaFontRecord(1);
    EXPECT_EQ(strlen(font->screen.face), 30u);
    EXPECT_EQ(font->reserved[0], 0u);
    FileBuffer *doc = Load("clamp.txt", "\tx\r\n");
    DocSetType(doc, 1);
    EXPECT_EQ(DtaTabWidth(doc), 1);
    EXPECT_TRUE(DocExpandAllTabs(doc)) << "a tab width of 0 would divide by zero here";
}

TEST_F(DtaTest, UnsoundSectionsAreRefused) {
    struct Case {
        const char *what;
        std::function<void(Section &)> spoil;
        uint32_t version;
    } cases[] = {
        {"a name short", [](Section &s) { s.names.pop_back(); }, 0x3320020},
        {"a wildcard list short", [](Section &s) { s.wildcards.pop_back(); }, 0x3320020},
        {"a pattern too many", [](Section &s) { s.patterns.push_back("x"); }, 0x3320020},
        {"a font short", [](Section &s) { s.fonts.pop_back(); }, 0x3320020},
        {"an option entry short", [](Section &s) { s.options.pop_back(); }, 0x3320020},
        {"a language name short", [](Section &s) { s.languages.pop_back(); }, 0x3320020},
        {"no types", [](Section &s) { s = Section{}; }, 0x3320020},
        {"the language names cut off", [](Section &s) { s.withLanguages = false; }, 0x3320020},
    };
    for (const Case &c : cases) {
        Section s = TwoTypes();
        c.spoil(s);
        ASSERT_GE(Open("bad.cf"), 0);
        s.Write(file);
        FileSeek(file, 0);
        DtaTable loaded;
        ErcClear();
        int32_t heldBefore = HLiveCount();
        EXPECT_FALSE(DtaRead(file, &loaded, c.version)) << c.what;
        EXPECT_EQ(HLiveCount(), heldBefore) << c.what << ": everything read is freed";
        char text[ERC_TEXT_MAX];
        ErcGetText(text);
        EXPECT_STREQ(text, "Could not initialize document types.") << c.what;
        EXPECT_EQ(loaded.options, nullptr);
        FileClose(file);
        file = -1;
    }
    EXPECT_EQ(DtaCount(), 25) << "the current table stays";
}

// The upgrade rows, each at the last version it applies to and the first it does not. The configuration
// holds Default, "Custom Command Output", a type 2 of its own, "Search Results", "Resource File", a type with
// the old auto-indent bit (language "None", stored index 9), "HTML File" and "JavaScript File".
Section OldTable() {
    Section s{};
    DtaOptions entry;
    DtaOptionsDefault(&entry);
    s.Add("Default", entry);
    s.Add("Custom Command Output", entry);
    DtaOptions two = entry;
    two.customTag = 5;
    s.Add("Results Two", two);
    s.wildcards.back() = "*.res";
    s.patterns.back() = "r";
    DtaOptions results = entry;
    results.customTag = 4;
    s.Add("Search Results", results);
    s.patterns.back() = "p";
    DtaOptions resource = entry;
    resource.customTag = 2;
    s.Add("Resource File", resource);
    s.patterns.back() = "q";
    DtaOptions old = entry;
    old.flags =
        (entry.flags & ~(DTA_AUTO_INDENT_MASK | DTA_INDENT_OPEN | DTA_INDENT_CLOSE | DTA_SYMBOL_WINDOW)) |
        DTA_OLD_AUTO_INDENT | DTA_PAGE_BREAKS;
    old.language = 9;
    s.Add("Old", old);
    DtaOptions html = entry;
    html.tabWidth = 7;
    s.Add("HTML File", html);
    s.wildcards.back() = "*.htm";
    DtaFontInit(&s.fonts.back(), "Arial", 8);
    DtaOptions script = entry;
    script.tabWidth = 9;
    script.language = 13;
    s.Add("JavaScript File", script, "JavaScript");
    return s;
}

struct Expect {
    uint32_t version;
    const char *name;
    bool present;
    int32_t language = -1, tag = -1, tab = -1, width2 = -1;
    const char *wildcards = nullptr, *pattern = nullptr, *face = nullptr;
    uint32_t set = 0, clear = 0;
};

TEST_F(DtaTest, UpgradeRows) {
    const uint32_t S = (uint32_t)DTA_INDENT_OPEN | DTA_INDENT_CLOSE | DTA_SYMBOL_WINDOW;
    const Expect rows[] = {
        {0x200000E, "Search Results", true, 5, 0, -1, -1, nullptr, ""},
        {0x200000F, "Search Results", true, 0, 4, -1, -1, nullptr, "p"},
        {0x2000019, "Resource File", true, 6, 0, -1, -1, nullptr, ""},
        {0x200001A, "Resource File", true, 0, 2, -1, -1, nullptr, "q"},
        {0x3000022, "Old", true, -1, -1, -1, -1, nullptr, nullptr, nullptr, DTA_AUTO_INDENT_SIMPLE | S,
         DTA_PAGE_BREAKS},
        {0x3000023, "Old", true, -1, -1, -1, -1, nullptr, nullptr, nullptr, DTA_PAGE_BREAKS,
         DTA_AUTO_INDENT_MASK | S},
        {0x3000058, "Results Two", true, 5, 0, -1, -1, nullptr, ""},
        {0x3000059, "Results Two", true, 0, 5, -1, -1, nullptr, "r"},
        {0x3000066, "Old", true, 9},
        {0x3000067, "Old", true, 0},
        {0x2000027, "Java Source File", true, 7, -1, -1, -1, "*.java;*.jav", "", "Courier New"},
        {0x2000028, "Java Source File", false},
        {0x3000027, "Token Macro File", true, 11, -1, -1, -1, "*.tom"},
        {0x3000028, "Token Macro File", false},
        {0x2FFFFFF, "Perl Source Files", true, 9, -1, -1, -1, "*.perl;*.prl;*pl"},
        {0x3000000, "Perl Source Files", false},
        {0x3000053, "Results Two", true, -1, -1, -1, -1, "*.res;*.SearchResults"},
        {0x3000054, "Results Two", true, -1, -1, -1, -1, "*.res"},
        {0x300005A, "IDL Files", true, 12, -1, -1, -1, "*.idl"},
        {0x300005B, "IDL Files", false},
        {0x300006E, "JavaScript File", true, 13, -1, 4, -1, "*.js", nullptr, "Verdana"},
        {0x300006E, "C# Source File", true, 14, -1, -1, -1, "*.cs", nullptr, "Verdana"},
        {0x300006E, "HTML File", true, 8, -1, 7, -1, "*.html;*.htm;*.asp;*.aspx;*.jsp", nullptr, "Arial"},
        {0x300006F, "HTML File", true, 0, -1, 7, -1, "*.htm"},
        {0x300006F, "C# Source File", false},
        {0x300006F, "Cascading Style Sheet", true, 16, -1, -1, -1, "*.css"},
        {0x3000070, "Cascading Style Sheet", false},
        {0x3000070, "XML File", true, 19, -1, -1, -1, "*.xml;*.xsl", nullptr, "Verdana"},
        {0x3000071, "XML File", false},
        {0x3000071, "Make File", true, 15, -1, -1, -1, "*.mak", nullptr, "Courier New"},
        {0x3000072, "Make File", false},
        {0x3000073, "Visual Basic Source File", true, 10, -1, -1, -1, "*.bas;*.frm;*.cls;*.vb;*.vbs", nullptr,
         "Verdana"},
        {0x3000074, "Visual Basic Source File", false},
        {0x300007F, "Resource File", true, -1, -1, -1, -1, nullptr, nullptr, nullptr, 0, DTA_AUTO_COMPLETE},
        {0x300007F, "JavaScript File", true, -1, -1, -1, -1, nullptr, nullptr, nullptr, DTA_AUTO_COMPLETE},
        {0x3000080, "Resource File", true, -1, -1, -1, -1, nullptr, nullptr, nullptr, DTA_AUTO_COMPLETE},
        {0x3320009, "JavaScript File", true, -1, -1, -1, -1, nullptr, nullptr, nullptr, DTA_SMART_PASTE},
        {0x332000A, "JavaScript File", true, -1, -1, -1, -1, nullptr, nullptr, nullptr, 0, DTA_SMART_PASTE},
        {0x3320019, "HTML File", true, -1, -1, 7, 7},
        {0x332001A, "HTML File", true, -1, -1, 7, 4},
    };
    Section old = OldTable();
    for (const Expect &e : rows) {
        std::string what = e.name + std::string(" at ") + std::to_string(e.version);
        ASSERT_TRUE(Install(old, e.version)) << what;
        int32_t type = DtaFindByName(e.name);
        ASSERT_EQ(type >= 0, e.present) << what;
        if (!e.present) continue;
        DtaOptions entry;
        DtaFont font;
        char wildcards[256], pattern[256];
        DtaGetType(type, &entry, nullptr, wildcards, pattern, &font);
        EXPECT_TRUE(e.language < 0 || entry.language == e.language)
            << what << ": language " << entry.language;
        EXPECT_TRUE(e.tag < 0 || entry.customTag == e.tag) << what << ": tag type " << entry.customTag;
        EXPECT_TRUE(e.tab < 0 || entry.tabWidth == e.tab) << what << ": tab width " << entry.tabWidth;
        EXPECT_TRUE(e.width2 < 0 || entry.width2 == e.width2) << what << ": second width " << entry.width2;
        EXPECT_TRUE(!e.wildcards || strcmp(wildcards, e.wildcards) == 0) << what << ": " << wildcards;
        EXPECT_TRUE(!e.pattern || strcmp(pattern, e.pattern) == 0) << what << ": pattern " << pattern;
        if (e.face) {
            DtaFont expected;
            DtaFontInit(&expected, e.face, 8);
            EXPECT_TRUE(FontDescEqual(&font.screen, &expected.screen)) << what;
        }
        EXPECT_EQ(entry.flags & e.set, e.set) << what;
        EXPECT_EQ(entry.flags & e.clear, 0u) << what;
    }
}

int dirtyMarks;
int32_t CountDirty(int) {
    return ++dirtyMarks;
}

TEST_F(DtaTest, EveryLoadsSteps) {
    Section s = OldTable();
    for (int i = 0; i < 3; i++)
        s.options[i].flags = (s.options[i].flags | DTA_USE_DEFAULT) & ~DTA_NOT_IN_PROJECTS;
    s.options[3].flags |= DTA_USE_DEFAULT;
    s.options[1].language = 5; // bound again from its name
    dirtyMarks = 0;
    shell.setConfigDirty = CountDirty;
    SetShell();
    ASSERT_TRUE(Install(s, 0x3320020));
    EXPECT_EQ(dirtyMarks, 0) << "a current configuration needs no upgrade";
    for (int32_t i = 0; i < 3; i++) {
        EXPECT_TRUE(Entry(i).flags & DTA_NOT_IN_PROJECTS) << i;
        EXPECT_FALSE(Entry(i).flags & DTA_USE_DEFAULT) << i;
    }
    EXPECT_TRUE(Entry(3).flags & DTA_USE_DEFAULT) << "type 3 keeps its choice";
    EXPECT_EQ(Entry(1).language, 0);
    EXPECT_EQ(DtaCurrent()->changes, 0);

    ASSERT_TRUE(Install(s, 0x3000071));
    EXPECT_EQ(dirtyMarks, 6) << "each later row applied marks the configuration changed";
    Stl *names = DtaLanguageNamesFromIndexes(DtaCurrent());
    ASSERT_NE(names, nullptr);
    unsigned char pstr[256];
    StlGetString(names, DtaFindByName("Make File"), pstr);
    EXPECT_EQ(std::string((char *)pstr + 1, pstr[0]), "Make");
    StlFree(names);
}

} // namespace
