// The print manager on the test printer: the stored page setup (defaults, the checks of a stored record:
// columns below 1, texts without their NUL, margins past the paper), the codes (&F with an ampersand in the
// name, &P, &N known and unknown, dropped codes, the 63-character cut), sheets of columns (a range that
// starts on any page, duplex blanks, copies, a title page, no blank sheet after a document of unknown end),
// the page range (the client's, pagination, the pages the user picked, counting only), the Print dialog
// (cancelled silently, failures shown, selection offered, landscape taken back), cancelling from the
// progress box, the Page Setup dialog, and the printer context behind device 1 of the drawing layer.
#include "ui/printman.h"

#include "printtest.h"
#include "support/vxtest.h"
#include "ui/dlgalert.h"
#include "ui/draw.h"
#include "ui/font.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A client printing pages "P1", "P2", ... at the top left of each body; it knows its page count, says the
// end is unknown, or lets the job paginate.
enum ClientRange { CLIENT_KNOWN, CLIENT_UNKNOWN, CLIENT_PAGINATE };
struct Client {
    explicit Client(int32_t count = 3, ClientRange kind = CLIENT_KNOWN) : pages(count), range(kind) {}
    int32_t pages;
    ClientRange range;
    std::vector<int32_t> messages;
    int32_t endNumber = -1;
    RECT lastRect = {};
    PrintRange confirmed = {};
};

intptr_t ClientCallback(PrintJobRec *job, int32_t message, void *pointer, int32_t number) {
    Client *client = (Client *)job->clientData;
    client->messages.push_back(message);
    switch (message) {
    case PRINT_MSG_RANGE: {
        if (client->range == CLIENT_PAGINATE) return 0;
        PrintRange *range = (PrintRange *)pointer;
        range->first = 0;
        range->end = client->range == CLIENT_KNOWN ? client->pages : 0;
        return 1;
    }
    case PRINT_MSG_BEGIN_PAGE: return job->page < client->pages;
    case PRINT_MSG_DRAW: {
        client->lastRect = *(const RECT *)pointer;
        char text[16];
        int length = snprintf(text, sizeof text, "P%d", job->page + 1);
        if (!(job->flags & PRINT_JOB_PAGINATING))
            TextOutA(job->dc, client->lastRect.left, client->lastRect.top, text, length);
        return 1;
    }
    case PRINT_MSG_CONFIRM: client->confirmed = *(const PrintRange *)pointer; return 1;
    case PRINT_MSG_END: client->endNumber = number; return 1;
    default: return PrintDefaultCallback(job, message, pointer, number);
    }
}

bool Saw(const Client &client, int32_t message) {
    for (int32_t m : client.messages)
        if (m == message) return true;
    return false;
}

class PrintManTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DrawInit(nullptr));
        FontInit();
        PrinterInit();
        PrintSetupDefaults(&setup);
        setup.header[0] = setup.footer[0] = 0; // bodies only, unless a test asks
        VxAlertsReset();
    }
    void TearDown() override {
        PrinterTerm();
        FontExit();
        DrawExit();
    }
    // Prints through the profile's printer (no dialog, no progress box) unless options say otherwise.
    bool Print(const PrintTestScript &script = {}, uint32_t options = PRINT_NO_PROGRESS,
               int32_t *pages = nullptr) {
        PrintTestInstall(script);
        return PrintJob(name, &setup, ClientCallback, &client, options, pages);
    }
    PrintSetup setup;
    Client client;
    const char *name = "notes.txt";
};

} // namespace

// ---- The page setup

TEST(PrintSetupRecord, DefaultsAndStoredChecks) {
    PrintSetup setup;
    PrintSetupDefaults(&setup);
    EXPECT_EQ(setup.flags, 0x68u);
    EXPECT_EQ(setup.marginLeft, 3600);
    EXPECT_EQ(setup.marginBottom, 3600);
    EXPECT_EQ(setup.columns, 1);
    EXPECT_STREQ(setup.header, "&F");
    EXPECT_STREQ(setup.footer, "Page &P");
    EXPECT_STREQ(setup.title, "&F&/&D  &T");
    memset(&setup, 'x', sizeof setup); // as a damaged stored record may be
    setup.columns = -4;
    PrintSetupNormalize(&setup);
    EXPECT_EQ(setup.columns, 1);
    EXPECT_EQ(strlen(setup.header), 63u);
    EXPECT_EQ(strlen(setup.footer), 63u);
    EXPECT_EQ(strlen(setup.title), 63u);
}

// ---- Codes

TEST_F(PrintManTest, CodesExpand) {
    PrintJobRec job = {};
    strcpy(job.name, "R&D.txt");
    job.page = 1;
    job.first = 0;
    job.last = 4;
    struct Case {
        const char *text, *expanded;
    } cases[] = {
        {"Page &P of &N", "Page 2 of 5"},
        {"&f &p &n", "R&&D.txt 2 5"},             // case-blind; the name's ampersand doubled for drawing
        {"&L&b&I&U&/&&&C&R", "&L&b&I&U&/&&&C&R"}, // drawing codes kept as typed
        {"a&Zb&", "ab"},                          // unknown codes and a last lone ampersand dropped
    };
    char out[PRINT_TEXT_SIZE];
    for (const Case &c : cases) {
        PrintExpandCodes(&job, c.text, out);
        EXPECT_STREQ(out, c.expanded) << c.text;
    }
    job.last = PRINT_PAGE_UNKNOWN;
    PrintExpandCodes(&job, "&N", out);
    EXPECT_STREQ(out, "unknown number");
    PrintExpandCodes(&job, "&D|&T", out);
    EXPECT_EQ(strlen(out), 17u) << out; // MM/DD/YY|HH:MM:SS
    memset(job.name, 'n', PRINT_NAME_MAX);
    job.name[PRINT_NAME_MAX] = 0;
    PrintExpandCodes(&job, "&F&F", out);
    EXPECT_EQ(strlen(out), 63u);
}

TEST_F(PrintManTest, FootersShowPageOfCount) {
    strcpy(setup.footer, "Page &P of &N");
    strcpy(setup.header, "&F");
    name = "R&D.txt";
    client.pages = 5;
    ASSERT_TRUE(Print());
    ASSERT_EQ(PrintTestPageCount(), 5);
    EXPECT_TRUE(PrintTestHolds(1, "Page 2 of 5"));
    EXPECT_TRUE(PrintTestHolds(1, "R&D.txt")) << "the name's ampersand is no drawing code";
    EXPECT_EQ(PrintTestDocumentName(), "R&D.txt");
    PrintTestInstall();
    client = Client{2, CLIENT_UNKNOWN};
    ASSERT_TRUE(PrintJob(name, &setup, ClientCallback, &client, PRINT_NO_PROGRESS, nullptr));
    EXPECT_TRUE(PrintTestHolds(0, "Page 1 of unknown number"));
    EXPECT_EQ(PrintTestPageCount(), 2) << "no blank sheet after the last page of an unknown end";
}

TEST_F(PrintManTest, HeaderAndFooterZonesAndPlaces) {
    strcpy(setup.footer, "&Lleft&Rright");
    strcpy(setup.header, "centre");
    client.pages = 1;
    ASSERT_TRUE(Print());
    int32_t dpi = PRINT_TEST_DPI, margin = dpi / 2;
    int32_t left = -1, right = -1, centre = -1, centreY = -1, footerY = -1;
    for (const PrintTestText &t : PrintTestTexts(0)) {
        if (t.text == "left") left = t.x, footerY = t.y;
        if (t.text == "right") right = t.x;
        if (t.text == "centre") centre = t.x, centreY = t.y;
    }
    EXPECT_EQ(left, margin);
    EXPECT_GT(right, PRINT_TEST_WIDTH / 2);
    EXPECT_LT(right, PRINT_TEST_WIDTH - margin);
    EXPECT_GT(centre, margin);
    EXPECT_LT(centre, PRINT_TEST_WIDTH / 2);
    EXPECT_LT(centreY, margin) << "the header in the top margin";
    EXPECT_GT(footerY, PRINT_TEST_HEIGHT - margin) << "the footer in the bottom margin";
}

// ---- Sheets

TEST_F(PrintManTest, ColumnsFillSheetsAndDuplexAddsABlank) {
    struct Case {
        int32_t pages;
        bool duplex;
        int32_t sheets;
    } cases[] = {{3, false, 2}, {3, true, 2}, {5, true, 4}, {4, true, 2}};
    setup.columns = 2;
    for (const Case &c : cases) {
        client = Client{c.pages};
        PrintTestScript script;
        script.duplex = c.duplex;
        ASSERT_TRUE(Print(script));
        EXPECT_EQ(PrintTestPageCount(), c.sheets) << c.pages << (c.duplex ? " duplex" : "");
    }
    client = Client{3};
    ASSERT_TRUE(Print());
    std::vector<PrintTestText> first = PrintTestTexts(0);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].text, "P1");
    EXPECT_EQ(first[1].text, "P2");
    EXPECT_GT(first[1].x, PRINT_TEST_WIDTH / 2) << "page 2 in the right column";
    EXPECT_EQ(PrintTestStrings(1), std::vector<std::string>{"P3"});
    EXPECT_EQ(PrintTestTexts(1)[0].x, first[0].x) << "page 3 starts the next sheet's left column";
}

TEST_F(PrintManTest, ChosenPagesFillSheetsFromTheFirstChosen) {
    setup.columns = 2;
    client.pages = 6;
    PrintTestScript script;
    script.fromPage = 2;
    script.toPage = 4;
    ASSERT_TRUE(Print(script, PRINT_DIALOG | PRINT_NO_PROGRESS));
    ASSERT_EQ(PrintTestPageCount(), 2);
    std::vector<PrintTestText> first = PrintTestTexts(0);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].text, "P2");
    EXPECT_LT(first[0].x, PRINT_TEST_WIDTH / 2) << "the first page printed takes the left column";
    EXPECT_EQ(PrintTestStrings(1), std::vector<std::string>{"P4"});
    EXPECT_EQ(client.confirmed.first, 1);
    EXPECT_EQ(client.confirmed.end, 4);
}

TEST_F(PrintManTest, CopiesAndTitlePage) {
    setup.flags |= PRINT_SETUP_TITLE_PAGE;
    strcpy(setup.title, "Title&/&F");
    client.pages = 2;
    PrintTestScript script;
    script.copies = 2;
    script.duplex = true;
    ASSERT_TRUE(Print(script, PRINT_DIALOG | PRINT_NO_PROGRESS));
    // Title and its blank back, then two copies of two pages.
    ASSERT_EQ(PrintTestPageCount(), 6);
    EXPECT_EQ(PrintTestStrings(0), (std::vector<std::string>{"Title", "notes.txt"}));
    std::vector<PrintTestText> title = PrintTestTexts(0);
    EXPECT_GT(title[1].y, title[0].y) << "&/ starts the next line";
    EXPECT_GE(title[0].y, PRINT_TEST_HEIGHT / 2 - 1) << "from the middle of the paper";
    EXPECT_TRUE(PrintTestStrings(1).empty());
    EXPECT_EQ(PrintTestStrings(2), std::vector<std::string>{"P1"});
    EXPECT_EQ(PrintTestStrings(4), std::vector<std::string>{"P1"});
    setup.title[0] = 0; // an empty title: a blank page (two in duplex)
    client = Client{1};
    ASSERT_TRUE(Print(script, PRINT_NO_PROGRESS));
    EXPECT_EQ(PrintTestPageCount(), 2 + 2);
}

TEST_F(PrintManTest, StoredRecordsPrintWithOneColumnAndAnInchOfText) {
    setup.columns = 0;
    setup.marginLeft = setup.marginRight = 40000; // past the paper's width
    memset(setup.footer, 'f', sizeof setup.footer);
    client.pages = 2;
    ASSERT_TRUE(Print());
    EXPECT_EQ(PrintTestPageCount(), 2);
    EXPECT_EQ(client.lastRect.right - client.lastRect.left, PRINT_TEST_DPI);
    EXPECT_GT(client.lastRect.bottom, client.lastRect.top);
    EXPECT_TRUE(PrintTestHolds(0, std::string(63, 'f')));
}

// ---- The range

TEST_F(PrintManTest, PaginationCountsThePages) {
    client = Client{4, CLIENT_PAGINATE};
    int32_t pages = -1;
    ASSERT_TRUE(Print({}, PRINT_COUNT_ONLY | PRINT_NO_PROGRESS, &pages));
    EXPECT_EQ(pages, 4);
    EXPECT_EQ(PrintTestDocuments(), 0) << "counting prints nothing";
    EXPECT_EQ(PrintTestOpenContexts(), 1) << "the information context stays for measuring";
    client = Client{4, CLIENT_PAGINATE};
    strcpy(setup.footer, "&P/&N");
    ASSERT_TRUE(Print());
    EXPECT_EQ(PrintTestPageCount(), 4);
    EXPECT_TRUE(PrintTestHolds(3, "4/4"));
}

// ---- The dialog

TEST_F(PrintManTest, CancelledDialogPrintsAndShowsNothing) {
    PrintTestScript script;
    script.cancel = true;
    EXPECT_FALSE(Print(script, PRINT_DIALOG));
    EXPECT_EQ(PrintTestDialogsShown(), 1);
    EXPECT_TRUE(VxAlerts().empty());
    EXPECT_EQ(PrintTestDocuments(), 0);
    EXPECT_TRUE(client.messages.empty());
}

TEST_F(PrintManTest, DialogFailuresShowTheirText) {
    struct Case {
        DWORD code;
        const char *text;
    } cases[] = {
        {4104, "Cannot print. There is no default printer selected."},
        {4100, "Cannot print. The device driver failed to load."},
        {9, "Cannot print. There was an error starting the system Print dialog."},
    };
    for (const Case &c : cases) {
        VxAlertsReset();
        PrintTestScript script;
        script.cancel = true;
        script.dialogError = c.code;
        EXPECT_FALSE(Print(script, PRINT_DIALOG));
        ASSERT_EQ(VxAlerts().size(), 1u) << c.code;
        EXPECT_EQ(VxAlerts()[0].text, c.text);
    }
    VxAlertsReset();
    PrintTestScript noPrinter;
    noPrinter.defaultError = 4104;
    noPrinter.noProfile = true;
    EXPECT_FALSE(Print(noPrinter));
    ASSERT_EQ(VxAlerts().size(), 1u) << "printing without a printer says so";
    EXPECT_FALSE(Print(noPrinter, PRINT_COUNT_ONLY | PRINT_NO_PROGRESS)) << "counting stays quiet";
    EXPECT_EQ(VxAlerts().size(), 1u);
}

TEST_F(PrintManTest, DialogOffersSelectionAndReturnsLandscape) {
    PrintTestScript script;
    ASSERT_TRUE(Print(script, PRINT_DIALOG | PRINT_NO_PROGRESS));
    EXPECT_TRUE(PrintTestDialogFlags() & PD_NOSELECTION);
    EXPECT_TRUE(PrintTestDialogFlags() & PD_RETURNDC);
    script.landscape = true;
    script.selection = true;
    ASSERT_TRUE(Print(script, PRINT_DIALOG | PRINT_OFFER_SELECTION | PRINT_SELECTION | PRINT_NO_PROGRESS));
    EXPECT_FALSE(PrintTestDialogFlags() & PD_NOSELECTION);
    EXPECT_TRUE(PrintTestDialogFlags() & PD_SELECTION);
    EXPECT_TRUE(setup.flags & PRINT_SETUP_LANDSCAPE) << "the orientation the user chose";
    EXPECT_EQ(PrintTestOpenContexts(), 0) << "the job's printing context goes with it";
}

// ---- Cancelling

TEST_F(PrintManTest, ProgressCancelEndsAsFailure) {
    ProgressSetTestHook([](int) { return true; });
    client.pages = 3;
    EXPECT_FALSE(Print({}, 0));
    EXPECT_EQ(client.endNumber, 1);
    EXPECT_EQ(PrintTestPageCount(), 1) << "the sheet begun is ended";
    EXPECT_FALSE(ProgressIsOpen());
    EXPECT_TRUE(Saw(client, PRINT_MSG_START));
    client = Client{3};
    ASSERT_TRUE(Print({}, PRINT_NO_PROGRESS)) << "without a progress box nothing polls it";
    EXPECT_EQ(client.endNumber, 0);
}

// ---- Page setup

TEST_F(PrintManTest, PageSetupDialogConvertsMargins) {
    PrintTestScript script;
    script.pageSetupMargins = RECT{250, 500, 750, 1000};
    script.landscape = true;
    PrintTestInstall(script);
    setup.marginLeft = 3601; // rounds to 500 thousandths
    ASSERT_TRUE(PageSetupDialog(&setup));
    EXPECT_EQ(PrintTestShownMargins().left, 500);
    EXPECT_EQ(PrintTestShownMargins().top, 500);
    EXPECT_EQ(setup.marginLeft, 1800);
    EXPECT_EQ(setup.marginTop, 3600);
    EXPECT_EQ(setup.marginRight, 5400);
    EXPECT_EQ(setup.marginBottom, 7200);
    EXPECT_TRUE(setup.flags & PRINT_SETUP_LANDSCAPE);
    script.cancel = true;
    PrintTestInstall(script);
    PrintSetup before = setup;
    EXPECT_FALSE(PageSetupDialog(&setup));
    EXPECT_EQ(memcmp(&before, &setup, sizeof setup), 0);
    EXPECT_TRUE(VxAlerts().empty());
}

// ---- The printer context

TEST_F(PrintManTest, PrinterIsDeviceOneOfTheDrawingLayer) {
    PrintTestInstall();
    EXPECT_TRUE(PrinterRefresh()) << "nothing measured yet: nothing to open";
    EXPECT_EQ(PrintTestOpenContexts(), 0);
    HDC dc = DrawGetDC(DRAW_PRINTER);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(DrawGetResolution(DRAW_PRINTER).cy, PRINT_TEST_DPI);
    EXPECT_EQ(DrawPointHundredthsToPrinterX(7200), PRINT_TEST_DPI);
    EXPECT_EQ(PrinterToUnitsY(150), 3600);
    FontDesc desc;
    FontDescInit(&desc, "Arial", 40);
    LOGFONTA logFont;
    FontDescToLogFont(DRAW_PRINTER, &desc, &logFont);
    EXPECT_EQ(logFont.lfHeight, -42)
        << "10 points at 300 pixels per inch: printer fonts are sized for the printer";
    EXPECT_TRUE(PrinterUseDefault(true));
    EXPECT_EQ(DrawGetDC(DRAW_PRINTER), dc) << "an information context is kept for measuring";
    EXPECT_TRUE(PrinterUseDefault(false)) << "printing needs a device context: the information context goes";
    EXPECT_EQ(PrintTestOpenContexts(), 1);
    EXPECT_TRUE(PrinterUseDefault(true)) << "a printing context serves for measuring too";
    EXPECT_EQ(PrintTestOpenContexts(), 1);
    PrinterTerm();
    EXPECT_EQ(PrintTestOpenContexts(), 0);
    EXPECT_TRUE(PrinterRefresh());
    EXPECT_EQ(PrintTestOpenContexts(), 0) << "released: nothing measured since";
    PrintTestScript none;
    none.noProfile = true;
    PrintTestInstall(none);
    EXPECT_EQ(DrawGetDC(DRAW_PRINTER), nullptr);
    EXPECT_EQ(DrawGetResolution(DRAW_PRINTER).cx, 0);
    EXPECT_FALSE(PrinterRefresh());
}
