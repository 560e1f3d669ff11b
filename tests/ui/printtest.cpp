// The test printer (see printtest.h): printman's device calls answered from a script, with enhanced
// metafiles for contexts and pages.
#include "printtest.h"

#include "base/seam.h"
#include "ui/printman.h"

#include <cstring>
#include <set>

namespace {

struct PrintTestState {
    PrintTestScript script;
    std::vector<HENHMETAFILE> pages;
    std::set<HDC> contexts;
    ABORTPROC abort = nullptr;
    int32_t documents = 0;
    std::string documentName;
    DWORD dialogFlags = 0;
    int32_t dialogsShown = 0;
    DWORD lastError = 0;
    RECT shownMargins = {};
};

PrintTestState *printTest;

HDC PrintTestMakeDC() {
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    if (dc) printTest->contexts.insert(dc);
    return dc;
}

void PrintTestCloseDC(HDC dc) {
    if (printTest->contexts.erase(dc)) DeleteEnhMetaFile(CloseEnhMetaFile(dc));
}

HGLOBAL PrintTestDevMode() {
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
    DEVMODEA *mode = (DEVMODEA *)GlobalLock(handle);
    strcpy((char *)mode->dmDeviceName, "Test Printer");
    mode->dmSize = sizeof *mode;
    mode->dmFields = DM_ORIENTATION | DM_DUPLEX;
    mode->dmOrientation = DMORIENT_PORTRAIT;
    mode->dmDuplex = printTest->script.duplex ? DMDUP_VERTICAL : DMDUP_SIMPLEX;
    GlobalUnlock(handle);
    return handle;
}

void PrintTestTurn(HGLOBAL devMode) {
    DEVMODEA *mode = (DEVMODEA *)GlobalLock(devMode);
    mode->dmOrientation = DMORIENT_LANDSCAPE;
    GlobalUnlock(devMode);
}

// The request for the default printer's settings: false when the script makes it fail.
bool PrintTestDefaults(HGLOBAL *devMode) {
    printTest->lastError = printTest->script.defaultError;
    if (printTest->script.defaultError) return false;
    *devMode = PrintTestDevMode();
    return true;
}

// A dialog shown to the user: false when the user cancels (or the dialog fails).
bool PrintTestShown() {
    printTest->dialogsShown++;
    printTest->lastError = printTest->script.dialogError;
    return !printTest->script.cancel;
}

BOOL WINAPI PrintTestPrintDlg(LPPRINTDLGA dialog) {
    const PrintTestScript &s = printTest->script;
    if (dialog->Flags & PD_RETURNDEFAULT) {
        if (!PrintTestDefaults(&dialog->hDevMode)) return FALSE;
        dialog->hDevNames = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVNAMES) + 64);
        return TRUE;
    }
    printTest->dialogFlags = dialog->Flags;
    if (!PrintTestShown()) return FALSE;
    if (s.fromPage) {
        dialog->Flags |= PD_PAGENUMS;
        dialog->nFromPage = (WORD)s.fromPage;
        dialog->nToPage = (WORD)s.toPage;
    }
    if (s.selection) dialog->Flags |= PD_SELECTION;
    dialog->nCopies = (WORD)s.copies;
    if (s.landscape) PrintTestTurn(dialog->hDevMode);
    dialog->hDC = PrintTestMakeDC();
    return TRUE;
}

BOOL WINAPI PrintTestPageSetupDlg(LPPAGESETUPDLGA dialog) {
    if (dialog->Flags & PSD_RETURNDEFAULT) return PrintTestDefaults(&dialog->hDevMode);
    printTest->shownMargins = dialog->rtMargin;
    if (!PrintTestShown()) return FALSE;
    dialog->rtMargin = printTest->script.pageSetupMargins;
    if (printTest->script.landscape) PrintTestTurn(dialog->hDevMode);
    return TRUE;
}

DWORD WINAPI PrintTestExtendedError() {
    return printTest->lastError;
}

DWORD WINAPI PrintTestProfile(LPCSTR, LPCSTR, LPCSTR fallback, LPSTR out, DWORD size) {
    const char *value = printTest->script.noProfile ? fallback : "Test Printer,testdrv,LPT1:";
    strncpy(out, value, size);
    out[size - 1] = 0;
    return (DWORD)strlen(out);
}

HDC WINAPI PrintTestCreateDC(LPCSTR, LPCSTR device, LPCSTR, const DEVMODEA *) {
    return strcmp(device, "Test Printer") == 0 ? PrintTestMakeDC() : nullptr;
}

BOOL WINAPI PrintTestDeleteDC(HDC dc) {
    PrintTestCloseDC(dc);
    return TRUE;
}

int WINAPI PrintTestCaps(HDC dc, int index) {
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return PRINT_TEST_DPI;
    case HORZRES: return PRINT_TEST_WIDTH;
    case VERTRES: return PRINT_TEST_HEIGHT;
    default: return GetDeviceCaps(dc, index);
    }
}

int WINAPI PrintTestSetAbortProc(HDC, ABORTPROC proc) {
    printTest->abort = proc;
    return 1;
}

int WINAPI PrintTestStartDoc(HDC, const DOCINFOA *info) {
    printTest->documents++;
    printTest->documentName = info->lpszDocName ? info->lpszDocName : "";
    return 1;
}

int WINAPI PrintTestEndDoc(HDC) {
    return 1;
}

HDC PrintTestStartPage(HDC) {
    return PrintTestMakeDC();
}

bool PrintTestEndPage(HDC, HDC page) {
    if (printTest->contexts.erase(page)) printTest->pages.push_back(CloseEnhMetaFile(page));
    return !printTest->abort || printTest->abort(page, 0);
}

const PrintDeviceCalls printTestCalls = {
    PrintTestPrintDlg,     PrintTestPageSetupDlg, PrintTestExtendedError, PrintTestProfile,
    PrintTestCreateDC,     PrintTestCreateDC,     PrintTestDeleteDC,      PrintTestCaps,
    PrintTestSetAbortProc, PrintTestStartDoc,     PrintTestEndDoc,        PrintTestStartPage,
    PrintTestEndPage,
};

void PrintTestReset() {
    if (!printTest) return;
    PrintSetDeviceCalls(nullptr); // releases the printer the test device made
    for (HENHMETAFILE page : printTest->pages) DeleteEnhMetaFile(page);
    for (HDC dc : std::set<HDC>(printTest->contexts)) PrintTestCloseDC(dc);
    delete printTest;
    printTest = nullptr;
}

int CALLBACK PrintTestRecord(HDC, HANDLETABLE *, const ENHMETARECORD *record, int, LPARAM data) {
    auto *texts = (std::vector<PrintTestText> *)data;
    if (record->iType == EMR_EXTTEXTOUTW) {
        const EMREXTTEXTOUTW *out = (const EMREXTTEXTOUTW *)record;
        const WCHAR *chars = (const WCHAR *)((const BYTE *)record + out->emrtext.offString);
        std::string text;
        for (DWORD i = 0; i < out->emrtext.nChars; i++) text += (char)chars[i];
        texts->push_back({out->emrtext.ptlReference.x, out->emrtext.ptlReference.y, text});
    } else if (record->iType == EMR_EXTTEXTOUTA) {
        const EMREXTTEXTOUTA *out = (const EMREXTTEXTOUTA *)record;
        const char *chars = (const char *)record + out->emrtext.offString;
        texts->push_back({out->emrtext.ptlReference.x, out->emrtext.ptlReference.y,
                          std::string(chars, out->emrtext.nChars)});
    }
    return 1;
}

} // namespace

void PrintTestInstall(const PrintTestScript &script) {
    PrintTestReset();
    printTest = new PrintTestState;
    printTest->script = script;
    PrintSetDeviceCalls(&printTestCalls);
    SeamRegisterReset(PrintTestReset);
}

int32_t PrintTestPageCount() {
    return printTest ? (int32_t)printTest->pages.size() : 0;
}

std::vector<PrintTestText> PrintTestTexts(int32_t page) {
    std::vector<PrintTestText> texts;
    if (printTest && page >= 0 && page < PrintTestPageCount())
        EnumEnhMetaFile(nullptr, printTest->pages[page], PrintTestRecord, &texts, nullptr);
    return texts;
}

bool PrintTestHolds(int32_t page, const std::string &text) {
    for (const PrintTestText &t : PrintTestTexts(page))
        if (t.text == text) return true;
    return false;
}

std::vector<std::string> PrintTestStrings(int32_t page) {
    std::vector<std::string> strings;
    for (const PrintTestText &text : PrintTestTexts(page)) strings.push_back(text.text);
    return strings;
}

int32_t PrintTestDocuments() {
    return printTest ? printTest->documents : 0;
}

std::string PrintTestDocumentName() {
    return printTest ? printTest->documentName : "";
}

DWORD PrintTestDialogFlags() {
    return printTest ? printTest->dialogFlags : 0;
}

int32_t PrintTestDialogsShown() {
    return printTest ? printTest->dialogsShown : 0;
}

RECT PrintTestShownMargins() {
    return printTest ? printTest->shownMargins : RECT{};
}

int32_t PrintTestOpenContexts() {
    return printTest ? (int32_t)printTest->contexts.size() : 0;
}
