// Project membership:
// - a project that opens takes in the buffers of its files only (a buffer without a file of its own stays
//   out); a read-only project makes its buffers and their files read-only; every buffer's windows are
//   retitled;
// - flag bit 27 follows the project's; leaving a project clears it and marks the symbols out of date;
// - changed-since-parse asks the project only for a member with a file; the parse-state marks reach the
//   project and the buffer's flag bit 29; a buffer outside any project needs no symbol update.
#include "doc/docproj.h"

#include "base/path.h"
#include "base/utilil.h"
#include "doctest.h"

namespace {

using namespace doctest;

std::vector<std::string> events;
std::string projectFile;
uint32_t projectFlags;

int32_t FindFile(int32_t slot, const char *path) {
    return slot == 4 && StrEqualI(path, projectFile.c_str()) ? 17 : -1;
}
uint32_t Flags(int32_t slot) {
    return slot == 4 ? projectFlags : 0;
}
void Retitle(FileBuffer *doc) {
    char name[256];
    DocGetFileName(doc, name);
    events.push_back(std::string("retitle ") + PathGetName(name));
}
void Dirty(TagList *, int32_t value) {
    events.push_back("dirty " + std::to_string(value));
}
bool FileChanged(int32_t slot, FileBuffer *, bool checkFile) {
    events.push_back("changed " + std::to_string(slot) + (checkFile ? " check" : ""));
    return true;
}
void RecordState(int32_t slot, FileBuffer *, int reparse, int other) {
    events.push_back("state " + std::to_string(slot) + ":" + std::to_string(reparse) + "," +
                     std::to_string(other));
}

class DocProjTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        events.clear();
        projectFlags = 0;
        projectFile = Path("member.c");
        DocSymbolHook symbol = *DocSymbolNeutral();
        symbol.projFindFile = FindFile;
        symbol.projFlags = Flags;
        symbol.tglSetDirtyMark = Dirty;
        symbol.projFileChanged = FileChanged;
        symbol.projSetFileParseState = RecordState;
        DocSetSymbolHook(&symbol);
        DocDisplayHook display = *DocDisplayNeutral();
        display.retitleDocSw = Retitle;
        DocSetDisplayHook(&display);
    }
};

TEST_F(DocProjTest, OpeningAProjectJoinsItsFilesOnly) {
    FileBuffer *member = Load("member.c", "x\r\n"), *other = Load("other.c", "y\r\n");
    FileBuffer *unsaved = DocNew(Path("member.c").c_str()); // same name, no file of its own
    projectFlags = DOC_PROJ_BIT27;
    DocsJoinProject(4);
    EXPECT_EQ(member->iProj, 4);
    EXPECT_EQ(member->ifileProj, 17);
    EXPECT_TRUE(member->flags & DOC_PROJECT_BIT27);
    EXPECT_FALSE(member->flags & DOC_READONLY);
    EXPECT_EQ(other->iProj, -1);
    EXPECT_EQ(other->ifileProj, -1);
    EXPECT_EQ(unsaved->iProj, -1);
    EXPECT_EQ(events, (std::vector<std::string>{"retitle member.c", "retitle other.c", "retitle member.c"}));
}

TEST_F(DocProjTest, ReadOnlyProject) {
    FileBuffer *member = Load("member.c", "x\r\n");
    projectFlags = DOC_PROJ_READONLY;
    DocJoinProject(member, 4);
    EXPECT_TRUE(member->flags & DOC_READONLY);
    EXPECT_FALSE(member->flags & DOC_PROJECT_BIT27);
    EXPECT_FALSE(DocMayModify(member));
    EXPECT_EQ(events, std::vector<std::string>{"retitle member.c"});
}

TEST_F(DocProjTest, LeavingAProject) {
    FileBuffer *member = Load("member.c", "x\r\n");
    projectFlags = DOC_PROJ_BIT27;
    DocSetProject(member, 4, 17);
    EXPECT_TRUE(member->flags & DOC_PROJECT_BIT27);
    EXPECT_TRUE(events.empty()) << "no tag list, nothing to mark";
    member->ptgl = (TagList *)0x1;
    DocSetProject(member, -1, -1);
    member->ptgl = nullptr;
    EXPECT_FALSE(member->flags & DOC_PROJECT_BIT27);
    EXPECT_EQ(member->iProj, -1);
    EXPECT_EQ(events, std::vector<std::string>{"dirty 0"});
}

TEST_F(DocProjTest, SymbolQuestions) {
    FileBuffer *member = Load("member.c", "x\r\n");
    FileBuffer *unsaved = DocNew(Path("new.c").c_str());
    EXPECT_FALSE(DocChangedSinceParse(member, true)) << "outside any project";
    EXPECT_TRUE(DocUpdateProjectSymbols(member));
    DocSetProject(member, 4, 17);
    unsaved->iProj = 4;
    EXPECT_TRUE(DocChangedSinceParse(member, true));
    EXPECT_TRUE(DocChangedSinceParse(member, false));
    EXPECT_FALSE(DocChangedSinceParse(unsaved, true)) << "no file";
    DocSetProjParseState(member, 1, 1);
    EXPECT_TRUE(member->flags & DOC_PROJ_REPARSE);
    DocSetProjParseState(member, -1, 0);
    EXPECT_TRUE(member->flags & DOC_PROJ_REPARSE) << "-1 leaves it";
    DocSetProjParseState(member, 0, -1);
    EXPECT_FALSE(member->flags & DOC_PROJ_REPARSE);
    EXPECT_EQ(events, (std::vector<std::string>{"changed 4 check", "changed 4", "state 4:1,1", "state 4:-1,0",
                                                "state 4:0,-1"}));
}

} // namespace
