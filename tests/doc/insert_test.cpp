// Typing and insertion (least form): an emptied buffer gets its one line back; ending the typing run writes
// the typing line to the scratch file.
#include "doc/insert.h"

#include "doctest.h"

namespace {

using namespace doctest;

class InsertTest : public DocTest {};

TEST_F(InsertTest, OneLineAndTheTypingLine) {
    FileBuffer *doc = Load("i.txt", "a\r\nb\r\n");
    ASSERT_EQ(DocEmpty(doc), 0);
    ASSERT_TRUE(EnsureOneLine(doc));
    EXPECT_EQ(Lines(doc), std::vector<std::string>{""});
    ASSERT_TRUE(EnsureOneLine(doc));
    EXPECT_EQ(doc->lnMac, 1);
    LineRecord record;
    ASSERT_TRUE(DocBeginLineEdit(doc, 0, &record));
    LineFromSz("typed", &record);
    DocSetEditLine(&record, false);
    ASSERT_TRUE(EndTypingRun());
    EXPECT_EQ(DocEditLineBuffer(), nullptr);
    EXPECT_EQ(LineText(doc, 0), "typed");
    EXPECT_TRUE(DocStoreCheck(doc));
}

} // namespace
