// Language binding (least form): the macro-language and token-macro flags follow the language index; the
// type chosen from a name binds a lexer cache, and type 2 alone carries the search-results flag.
#include "doc/doclang.h"

#include "doctest.h"

namespace {

using namespace doctest;

class DocLangTest : public DocTest {};

TEST_F(DocLangTest, FlagsFollowTheLanguage) {
    FileBuffer *doc = DocNew(Path("a.em").c_str());
    EXPECT_NE(DocGetLexCache(doc), nullptr);
    DocSetLang(doc, LANG_MACRO);
    EXPECT_EQ(doc->flags & (DOC_MACRO_LANG | DOC_TOKEN_MACRO_LANG), DOC_MACRO_LANG);
    DocSetLang(doc, LANG_TOKEN_MACRO);
    EXPECT_EQ(doc->flags & (DOC_MACRO_LANG | DOC_TOKEN_MACRO_LANG), DOC_TOKEN_MACRO_LANG);
    DocSetType(doc, DOC_TYPE_SEARCH_RESULTS);
    EXPECT_TRUE(doc->flags & DOC_SEARCH_TYPE);
    DocSetType(doc, DOC_TYPE_OUTPUT);
    EXPECT_FALSE(doc->flags & DOC_SEARCH_TYPE);
    EXPECT_EQ(doc->ilang, 0) << "every type has language 0 until document types are built";
}

} // namespace
