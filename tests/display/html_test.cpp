// HTML: angle brackets escaped in place (upper-case entities, nothing else, the buffer's room), page names
// inside and outside the source folder, links between pages, and formatted lines written as HTML (anchors,
// spans, a span left open going on into the next line unreopened, links to definitions).
#include "display/html.h"

#include "base/path.h"
#include "doc/doc.h"
#include "fmttest.h"

#include <gtest/gtest.h>

using namespace fmttest;

TEST(Html, EscapeAnglesInPlace) {
    char text[32] = "a<b>&c";
    EXPECT_EQ(HtmlEscapeAngles(text, sizeof text), 12);
    EXPECT_STREQ(text, "a&LT;b&GT;&c");
    char tight[10] = "<<";
    EXPECT_EQ(HtmlEscapeAngles(tight, sizeof tight), 8);
    EXPECT_STREQ(tight, "&LT;&LT;");
    char full[8] = "<<";
    EXPECT_EQ(HtmlEscapeAngles(full, sizeof full), -1);
    EXPECT_STREQ(full, "<<") << "unchanged when it does not fit";
    TextBuf out;
    TextBufInit(&out);
    std::string many(4092, '<');
    HtmlAppendEscaped(&out, many.data(), (int32_t)many.size());
    EXPECT_EQ(out.length, 4092 * 4);
    TextBufFree(&out);
}

TEST(Html, PageNames) {
    struct Case {
        const char *file, *source, *extension, *page, *folder;
    } cases[] = {
        {"C:\\src\\sub\\a.c", "C:\\src", ".html", "C:\\out\\sub\\a.c.html", "C:\\out\\sub"},
        {"C:\\src\\a.c", "C:\\src", "htm", "C:\\out\\a.c.htm", "C:\\out"},
        {"D:\\other\\b.c", "C:\\src", ".html", "C:\\out\\D__other\\b.c.html", "C:\\out\\D__other"},
        {"D:\\x y+\\b.c", "", ".html", "C:\\out\\D__x_yp\\b.c.html", "C:\\out\\D__x_yp"},
    };
    for (const Case &c : cases) {
        char page[PATH_BUFFER], folder[PATH_BUFFER];
        HtmlOutputPath(c.file, c.source, "C:\\out", c.extension, page, folder);
        EXPECT_STREQ(page, c.page) << c.file;
        EXPECT_STREQ(folder, c.folder) << c.file;
    }
    char path[PATH_BUFFER] = "a\\b\\c";
    HtmlSlashPath(path);
    EXPECT_STREQ(path, "a/b/c");
}

namespace {

class HtmlTest : public FmtTest {
protected:
    std::string Write(FileBuffer *doc, int32_t line) {
        FormatLine(line);
        TextBuf out;
        TextBufInit(&out);
        int32_t n = WriteHtmlLine(FmtCurrentLine(), &out);
        std::string text = TextBufText(&out);
        EXPECT_EQ(n, (int32_t)text.size());
        TextBufFree(&out);
        (void)doc;
        return text;
    }
};

} // namespace

TEST_F(HtmlTest, SpansAndAnchors) {
    FileBuffer *doc = CDoc({"int a; /* open", "still */ b < c;", "d;"});
    FormatBegin(doc, FMT_SCREEN, nullptr);
    FormatSetHtml(FMT_HTML_ON, 0, "C:\\out", ".html", 0);
    EXPECT_EQ(Write(doc, 0), "<a name=\"LN1\"></a><span class='Keyword'>int</span> a<span "
                             "class='Delimiter'>;</span> <span class='Comment'>/* open\r\n");
    EXPECT_EQ(FormatOpenSpan(), STYLE_COMMENT);
    EXPECT_EQ(Write(doc, 1), "<a name=\"LN2\"></a>still */</span> b &LT; c<span class='Delimiter'>;\r\n")
        << "the comment's span goes on unreopened";
    EXPECT_EQ(Write(doc, 2), "<a name=\"LN3\"></a></span>d<span class='Delimiter'>;\r\n");
    FormatEnd();
}

TEST_F(HtmlTest, LinksToDefinitions) {
    FileBuffer *doc = CDoc({"total = helper(count);"});
    char own[PATH_BUFFER], folder[PATH_BUFFER];
    DocGetFileName(doc, own);
    PathSplit(own, folder, nullptr);
    TheWorld().sourceFolder = folder;
    std::string util = std::string(folder) + "\\lib\\util.c";
    TheWorld().database = {{"helper", 0}, {"count", 5}};
    TheWorld().definitions = {{"helper", {util, 9}}, {"count", {own, 0}}};
    FormatBegin(doc, FMT_SCREEN, nullptr);
    FormatSetHtml(FMT_HTML_ON | FMT_HTML_LINKS, ~0ull, "C:\\out", ".html", 0);
    EXPECT_EQ(Write(doc, 0), "<a name=\"LN1\"></a>total = <a href=\"lib/util.c.html#LN10\"><span "
                             "class='Ref_to_Func'>helper</span></a><span class='Parentheses'>(</span><a "
                             "href=\"#LN1\"><span class='Ref_to_Global_Var'>count</span></a><span "
                             "class='Parentheses'>)</span><span class='Delimiter'>;\r\n");
    FormatSetHtml(FMT_HTML_ON | FMT_HTML_LINKS, 0, "C:\\out", ".html", 0);
    EXPECT_EQ(Write(doc, 0).find("href"), std::string::npos) << "no symbol type to link";
    FormatEnd();
}

TEST_F(HtmlTest, LongLineOfAnglesWrittenWhole) {
    FileBuffer *doc = CDoc({std::string(4092, '<')});
    FormatBegin(doc, FMT_SCREEN, nullptr);
    FormatSetHtml(FMT_HTML_ON, 0, "C:\\out", ".html", 0);
    std::string html = Write(doc, 0);
    FormatEnd();
    std::string expected = "<a name=\"LN1\"></a>";
    for (int i = 0; i < 4092; i++) expected += "&LT;";
    EXPECT_EQ(html, expected + "\r\n");
}
