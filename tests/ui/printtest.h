// The test printer: a print device (printman's PrintDeviceCalls) for tests, since none exists under Wine.
// Its dialogs follow a script (the default printer's settings, the pages, copies and selection the user
// picks, Cancel or a failure code); its contexts are enhanced metafiles that report 300 pixels per inch on
// a letter page (2550 x 3300); each page is a metafile of its own, kept for the test to read; each page end
// calls the job's abort procedure. Everything is undone after the test through the seam resets.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct PrintTestScript {
    DWORD defaultError = 0; // nonzero: asking for the default printer's settings fails with it
    bool cancel = false;    // the shown dialog ends without printing, with dialogError as its code
    DWORD dialogError = 0;
    int32_t fromPage = 0; // 1-based pages the user picks; 0 for all
    int32_t toPage = 0;
    bool selection = false;
    int32_t copies = 1;
    bool duplex = false;
    bool landscape = false;     // the user turns the paper
    bool noProfile = false;     // the profile names no default printer
    RECT pageSetupMargins = {}; // thousandths of an inch the user sets in the Page Setup dialog
};

enum { PRINT_TEST_DPI = 300, PRINT_TEST_WIDTH = 2550, PRINT_TEST_HEIGHT = 3300 };

void PrintTestInstall(const PrintTestScript &script = {});

struct PrintTestText {
    int32_t x;
    int32_t y;
    std::string text;
};
int32_t PrintTestPageCount();
std::vector<PrintTestText> PrintTestTexts(int32_t page);
std::vector<std::string> PrintTestStrings(int32_t page); // the texts alone
bool PrintTestHolds(int32_t page, const std::string &text);
// What the device saw: documents started (and their name), the flags of the shown Print dialog, the margins
// the Page Setup dialog was shown with, the contexts still open.
int32_t PrintTestDocuments();
std::string PrintTestDocumentName();
DWORD PrintTestDialogFlags();
int32_t PrintTestDialogsShown();
RECT PrintTestShownMargins();
int32_t PrintTestOpenContexts();
