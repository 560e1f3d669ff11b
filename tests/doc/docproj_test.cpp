// Project membership (least form): the parse-state marks reach the project and the buffer's flag bit 29; a
// buffer outside any project needs no symbol update.
#include "doc/docproj.h"

#include "doctest.h"

namespace {

using namespace doctest;

std::vector<std::string> states;

void RecordState(int32_t slot, FileBuffer *, int reparse, int other) {
    states.push_back(std::to_string(slot) + ":" + std::to_string(reparse) + "," + std::to_string(other));
}

class DocProjTest : public DocTest {};

TEST_F(DocProjTest, ParseStateMarks) {
    states.clear();
    DocSymbolHook symbol = *DocSymbolNeutral();
    symbol.projSetFileParseState = RecordState;
    DocSetSymbolHook(&symbol);
    FileBuffer *doc = DocNew(Path("p.c").c_str());
    doc->iProj = 2;
    DocSetProjParseState(doc, 1, 1);
    EXPECT_TRUE(doc->flags & DOC_PROJ_REPARSE);
    DocSetProjParseState(doc, -1, 0);
    EXPECT_TRUE(doc->flags & DOC_PROJ_REPARSE) << "-1 leaves it";
    DocSetProjParseState(doc, 0, -1);
    EXPECT_FALSE(doc->flags & DOC_PROJ_REPARSE);
    EXPECT_EQ(states, (std::vector<std::string>{"2:1,1", "2:-1,0", "2:0,-1"}));
    doc->iProj = -1;
    EXPECT_TRUE(DocUpdateProjectSymbols(doc));
}

} // namespace
