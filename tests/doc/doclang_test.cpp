// Language binding:
// - the macro-language and token-macro flags follow the language index exactly;
// - choosing a type binds its language and a new lexer cache (the parse layer told of old and new), keeps
//   the old cache's stamp, rebinds the old cache when no new one can be made, and asks for a re-parse only
//   when the language, the type's stamp or the language's change counter moved;
// - attaching the languages again after a type's language changed; swapping caches; the synced cache;
// - the questions forwarded to the language object, and their neutral answers without a language layer;
//   the type in effect at a position of another language and its auto-complete bit;
// - language families, and invalidating the buffers of a family.
#include "doc/doclang.h"

#include "base/heap.h"
#include "langtest.h"

namespace {

using namespace doctest;
using namespace langtest;

class DocLangTest : public LangTest {};

TEST_F(DocLangTest, FlagsFollowTheLanguage) {
    FileBuffer *doc = DocNew(Path("a.em").c_str());
    EXPECT_EQ(doc->ilang, LANG_MACRO) << "\"*.EM\" is the macro language's type";
    EXPECT_EQ(doc->flags & (DOC_MACRO_LANG | DOC_TOKEN_MACRO_LANG), DOC_MACRO_LANG);
    DocSetLang(doc, LANG_TOKEN_MACRO);
    EXPECT_EQ(doc->flags & (DOC_MACRO_LANG | DOC_TOKEN_MACRO_LANG), DOC_TOKEN_MACRO_LANG);
    DocSetLang(doc, 5);
    EXPECT_EQ(doc->flags & (DOC_MACRO_LANG | DOC_TOKEN_MACRO_LANG), 0u);
    EXPECT_EQ(doc->plang, FakeGetLang(5));
    DocSetType(doc, DOC_TYPE_SEARCH_RESULTS);
    EXPECT_TRUE(doc->flags & DOC_SEARCH_TYPE);
    DocSetType(doc, DOC_TYPE_OUTPUT);
    EXPECT_FALSE(doc->flags & DOC_SEARCH_TYPE);
}

TEST_F(DocLangTest, ChoosingATypeBindsItsLanguageAndCache) {
    FileBuffer *doc = Load("x.c", "int x;\r\n");
    EXPECT_EQ(doc->idta, DtaFindByName("C Source File"));
    EXPECT_EQ(doc->ilang, 1);
    LineLexCache *old = DocGetLexCache(doc);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->plang, FakeGetLang(1));
    EXPECT_EQ(PlexCount(old->hplexState), 1);

    State().reparsed.clear();
    State().replaced.clear();
    LexCacheSetStamp(old, 7);
    int32_t cpp = DtaFindByName("C++ Source File");
    DocSetType(doc, cpp);
    LineLexCache *now = DocGetLexCache(doc);
    EXPECT_NE(now, old);
    EXPECT_EQ(now->plang, FakeGetLang(3));
    EXPECT_EQ(LexCacheGetStamp(now), 7) << "the old cache's stamp";
    ASSERT_EQ(State().replaced.size(), 1u);
    EXPECT_EQ(State().replaced[0], std::make_pair(old, now));
    EXPECT_EQ(State().reparsed, std::vector<FileBuffer *>{doc}) << "a new language";

    State().reparsed.clear();
    State().versions[3] = 7;
    DocSetType(doc, cpp);
    EXPECT_TRUE(State().reparsed.empty()) << "same language, stamp and change counter";
    State().versions[3] = 8;
    DocSetType(doc, cpp);
    EXPECT_EQ(State().reparsed.size(), 1u) << "the language changed since the states were made";

    now = DocGetLexCache(doc);
    now->lnValidLim = 1;
    HeapFailNth(1);
    DocSetType(doc, DtaFindByName("Java Source File"));
    HeapFailNth(0);
    EXPECT_EQ(DocGetLexCache(doc), now) << "no new cache: the old one stays";
    EXPECT_EQ(now->pdoc, doc);
    EXPECT_EQ(now->lnValidLim, 0) << "rebound: reset";
    EXPECT_EQ(doc->ilang, 7);
}

TEST_F(DocLangTest, AttachSwapAndSync) {
    FileBuffer *doc = Load("y.c", "a\r\nb\r\n");
    DtaOptions entry;
    DtaFont font;
    char name[256], wildcards[256], pattern[256];
    int32_t c = doc->idta;
    DtaGetType(c, &entry, name, wildcards, pattern, &font);
    ASSERT_TRUE(DtaReplace(c, &entry, name, wildcards, pattern, "Java", &font));
    State().reparsed.clear();
    LineLexCache *old = DocGetLexCache(doc);
    DocReattachAllLangs();
    EXPECT_EQ(doc->ilang, 7);
    EXPECT_NE(DocGetLexCache(doc), old);
    EXPECT_EQ(DocGetLexCache(doc)->plang, FakeGetLang(7));
    EXPECT_EQ(State().reparsed, std::vector<FileBuffer *>{doc});
    State().reparsed.clear();
    old = DocGetLexCache(doc);
    DocAttachLang(doc);
    EXPECT_EQ(DocGetLexCache(doc), old) << "nothing changed: the cache stays";
    EXPECT_TRUE(State().reparsed.empty());

    LineLexCache *other = LexCacheNew(doc, nullptr), *back = nullptr;
    State().replaced.clear();
    DocSwapLexCache(doc, other, &back, false);
    EXPECT_EQ(back, old);
    EXPECT_TRUE(State().replaced.empty());
    DocSwapLexCache(doc, back, &back, true);
    EXPECT_EQ(back, other);
    EXPECT_EQ(State().replaced.size(), 1u);
    LexCacheDelete(other);

    EXPECT_EQ(DocSyncedLexCache(doc), old);
    *LexCacheEntry(old, 1) |= LEX_LINE_SKIPPED;
    EXPECT_TRUE(DocLineSkipped(doc, 1));
    EXPECT_FALSE(DocLineRegionStart(doc, 1));
    DocEmpty(doc);
    EXPECT_EQ(DocSyncedLexCache(doc), nullptr) << "no lines: no entries";
}

struct Call {
    std::string what;
    Lang *lang;
    int32_t a, b;
};
std::vector<Call> calls;

int32_t LangAt(Lang *lang, FileBuffer *doc, int32_t line, int32_t column) {
    calls.push_back({"at", lang, line, column});
    return line >= 5 ? 12 : doc->ilang;
}
bool InComment(Lang *lang, FileBuffer *, int32_t line, int32_t column) {
    calls.push_back({"comment", lang, line, column});
    return line == 2;
}
int LexState(Lang *lang, FileBuffer *, int32_t line, int32_t column, uint32_t *out) {
    calls.push_back({"state", lang, line, column});
    *out = 0x40;
    return 1;
}
int BeginScan(Lang *lang, FileBuffer *, int32_t first, int, int, int, int, int kind, LangScan **out) {
    calls.push_back({"scan", lang, first, kind});
    *out = (LangScan *)lang;
    return 1;
}
int NextLine(Lang *lang, FileBuffer *, LineRecord *, int32_t *line, LangScan *) {
    calls.push_back({"next", lang, *line, 0});
    return 1;
}
int Parse(Lang *lang, void *, FileBuffer *, const TextPos *start, const TextPos *end, int) {
    calls.push_back({"parse", lang, start->line * 1000 + start->column, end->line * 1000 + end->column});
    return 1;
}
std::string patternSeen;
int Patterns(Lang *lang, void *, FileBuffer *, int32_t first, int32_t last, int, const char *patterns,
             int32_t setting) {
    calls.push_back({"patterns", lang, first * 1000 + last, setting});
    patternSeen = patterns;
    return 1;
}

TEST_F(DocLangTest, QuestionsToTheLanguageObject) {
    FileBuffer *doc = Load("z.bat", "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(DocLangAt(doc, 6, 2), doc->ilang) << "neutral: the buffer's own language";
    EXPECT_FALSE(DocIsInComment(doc, 2, 0));
    EXPECT_EQ(DocParseAll(doc, nullptr, 0), 1);

    calls.clear();
    lang.getLangIndexAt = LangAt;
    lang.isInComment = InComment;
    lang.getLexStateAt = LexState;
    lang.beginLineScan = BeginScan;
    lang.nextScanLine = NextLine;
    lang.parseDriver = Parse;
    lang.parsePatterns = Patterns;
    SetLang();
    Lang *own = FakeGetLang(doc->ilang);
    EXPECT_EQ(DocLangAtLine(doc, 3), doc->ilang);
    EXPECT_EQ(DocLangObjAt(doc, 6, 1), FakeGetLang(12));
    EXPECT_TRUE(DocIsInComment(doc, 2, 4));
    uint32_t state = 0;
    EXPECT_EQ(DocLexStateAtLine(doc, 4, &state), 1);
    EXPECT_EQ(state, 0x40u);
    DocLexStateAt(doc, 4, 9, &state);
    LangScan *scan = nullptr;
    DocBeginLineScan(doc, 1, 0, 0, 0, 0, &scan);
    int32_t line = 1;
    DocNextScanLine(doc, nullptr, &line, scan);
    DocParseAll(doc, nullptr, 0);
    DocParseWithPatterns(doc, nullptr, 0);
    std::vector<std::string> whats;
    for (const Call &c : calls) {
        whats.push_back(c.what + " " + std::to_string(c.a) + " " + std::to_string(c.b));
        EXPECT_EQ(c.lang, own) << c.what << ": the buffer's own language object";
    }
    EXPECT_EQ(whats, (std::vector<std::string>{"at 3 0", "at 6 1", "comment 2 4", "state 4 0", "state 4 9",
                                               "scan 1 32", "next 1 0", "parse 0 3000", "patterns 3 9"}));
    EXPECT_EQ(patternSeen, "^:\\(.*\\)$") << "the type's pattern and its tag type";
}

TEST_F(DocLangTest, TypeInEffectAtAPosition) {
    lang.getLangIndexAt = LangAt;
    SetLang();
    FileBuffer *doc = Load("w.c", "a\r\n");
    int32_t idl = DtaFindByName("Interface Definition File");
    EXPECT_EQ(DocTypeInEffectAt(doc, 1, 0), doc->idta);
    EXPECT_EQ(DocTypeInEffectAt(doc, 5, 0), idl) << "IDL at line 5: its type";
    DtaOptions entry;
    DtaFont font;
    char name[256], wildcards[256], pattern[256];
    DtaGetType(idl, &entry, name, wildcards, pattern, &font);
    entry.flags &= ~DTA_AUTO_COMPLETE;
    ASSERT_TRUE(DtaReplace(idl, &entry, name, wildcards, pattern, nullptr, &font));
    EXPECT_TRUE(DocTypeFlag22At(doc, 1, 0));
    EXPECT_FALSE(DocTypeFlag22At(doc, 5, 0));
    DtaDelete(idl);
    EXPECT_EQ(DocTypeInEffectAt(doc, 5, 0), doc->idta) << "no type of that language: the buffer's";
}

std::vector<TagList *> dirtied;
void Dirty(TagList *tgl, int32_t value) {
    if (value == 0) dirtied.push_back(tgl);
}

TEST_F(DocLangTest, FamiliesAndInvalidation) {
    struct Case {
        int32_t index, family;
    } cases[] = {{1, 1}, {3, 1}, {6, 1}, {12, 1}, {0, 0}, {7, 7}, {20, 20}};
    for (const Case &c : cases) EXPECT_EQ(LangFamily(c.index), c.family) << c.index;

    dirtied.clear();
    DocSymbolHook symbol = *DocSymbolNeutral();
    symbol.tglSetDirtyMark = Dirty;
    DocSetSymbolHook(&symbol);
    FileBuffer *c = Load("a.c", "x\r\n"), *rc = Load("b.rc", "x\r\n"), *java = Load("c.java", "x\r\n");
    FileBuffer *clip = Load("d.c", "x\r\n"), *user = Load("e.txt", "x\r\n");
    clip->flags |= DOC_CLIP;
    DocSetLang(user, 20);
    TagList *tags[] = {(TagList *)0x1, (TagList *)0x2, (TagList *)0x3, (TagList *)0x4, (TagList *)0x5};
    FileBuffer *docs[] = {c, rc, java, clip, user};
    for (int i = 0; i < 5; i++) docs[i]->ptgl = tags[i];
    for (FileBuffer *d : docs) d->plexcache->lnValidLim = 1;
    InvalidateDocsOfLang(3);
    EXPECT_EQ(dirtied, (std::vector<TagList *>{tags[1], tags[0]})) << "C and resource files, not the clip";
    EXPECT_EQ(c->plexcache->lnValidLim, 1) << "a built-in language keeps its states";
    dirtied.clear();
    InvalidateDocsOfLang(20);
    EXPECT_EQ(dirtied, std::vector<TagList *>{tags[4]});
    EXPECT_EQ(user->plexcache->lnValidLim, 0) << "a user-defined language's states are reset";
    for (FileBuffer *d : docs) d->ptgl = nullptr;
}

} // namespace
