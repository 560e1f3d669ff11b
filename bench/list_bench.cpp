// list_bench: the list control over 100,000 generated identifiers, sorted as symbol lists are: the time to
// fill a list (create it and paint its first page), to narrow it by prefix and by syllables, and to repaint
// its page. Two floors are measured in the same run: one pass that asks the owner for every item's text (what
// any narrowing that looks at every item must do), and drawing the page's texts straight onto the DC. The
// last line sums the figures up with their ratios to the floors.
#include "base/heap.h"
#include "base/ident.h"
#include "ui/listbox.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

enum { ITEMS = 100000, ROUNDS = 5, WIDTH = 400, HEIGHT = 600 };

std::vector<std::string> benchTexts;

// Camel-case names of two to four syllables and a number, from a fixed seed.
std::vector<std::string> BenchNames() {
    static const char *syllables[] = {"Get",   "Set",    "Find",  "Window", "File", "Buffer",
                                      "Count", "Item",   "List",  "Name",   "Text", "Line",
                                      "Draw",  "Paint",  "Read",  "Write",  "Open", "Close",
                                      "Parse", "Symbol", "Token", "Scope",  "Type", "Value"};
    uint32_t seed = 12345;
    auto next = [&seed]() { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    std::vector<std::string> names;
    for (int i = 0; i < ITEMS; i++) {
        std::string name;
        for (uint32_t n = 2 + next() % 3; n > 0; n--) name += syllables[next() % 24];
        names.push_back(name + std::to_string(next() % 1000));
    }
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        return StrCmpIdent(a.c_str(), b.c_str()) < 0;
    });
    return names;
}

LRESULT BenchNotify(ListboxNotify *record) {
    switch (record->w[LISTBOX_W_CODE]) {
    case LISTBOX_REQ_COUNT: return (LRESULT)benchTexts.size();
    case LISTBOX_REQ_TEXT: {
        const std::string &text = benchTexts[(size_t)record->w[LISTBOX_W_ITEM]];
        memcpy(ListboxNotifyBuffer(record), text.c_str(), text.size() + 1);
        return (LRESULT)text.size();
    }
    }
    return 0;
}

double Ms(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

template <typename Work>
double BestMs(Work work) {
    double best = 1e30;
    for (int round = 0; round < ROUNDS; round++) {
        auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, Ms(start));
    }
    return best;
}

// A memory DC with a bitmap of the list's size, as the window's own DC would be.
struct BenchCanvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    BenchCanvas() {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, WIDTH, HEIGHT);
        ReleaseDC(nullptr, screen);
        previous = SelectObject(dc, bitmap);
    }
    ~BenchCanvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

// Every item's text asked once from the owner, the least that a pass over the items costs.
void BenchTextPass() {
    char text[256];
    size_t total = 0;
    for (int32_t item = 0; item < ITEMS; item++) {
        ListboxNotify record = {};
        record.w[LISTBOX_W_CODE] = LISTBOX_REQ_TEXT;
        record.w[LISTBOX_W_ITEM] = item;
        record.w[LISTBOX_W_BUFFER] = (intptr_t)text;
        total += (size_t)BenchNotify(&record);
    }
    if (total == 0) printf("no texts\n");
}

// The page's texts drawn straight onto the DC, opaque, one row after another.
void BenchPlainPaint(HDC dc, int32_t rows, int32_t rowHeight) {
    HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    for (int32_t row = 0; row < rows; row++) {
        const std::string &text = benchTexts[(size_t)row];
        RECT rect = {0, row * rowHeight, WIDTH, (row + 1) * rowHeight};
        ExtTextOutA(dc, 2, rect.top, ETO_OPAQUE, &rect, text.c_str(), (UINT)text.size(), nullptr);
    }
    SelectObject(dc, previous);
}

} // namespace

int main() {
    HeapInit();
    ListboxRegisterClass();
    benchTexts = BenchNames();
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, WIDTH + 20, HEIGHT + 20, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ListboxStyle style = {0x200001, BenchNotify};
    BenchCanvas canvas;
    HWND list = nullptr;
    double fill = BestMs([&] {
        if (list) DestroyWindow(list);
        list = ListboxCreate(owner, 0, 0, WIDTH, HEIGHT, &style, true);
        SendMessageA(list, WM_PRINTCLIENT, (WPARAM)canvas.dc, PRF_CLIENT);
    });
    RECT row;
    ListboxGetItemRect(list, 0, &row);
    int32_t rowHeight = row.bottom - row.top, rows = HEIGHT / rowHeight;
    double pass = BestMs([&] { BenchTextPass(); });
    double prefix = BestMs([&] {
        ListboxSelectByText(list, "FindWi", LISTBOX_FIND_NO_INTERRUPT);
        ListboxSelectByText(list, "", LISTBOX_FIND_NO_INTERRUPT);
    });
    ListboxSetSyllableMatching(true);
    bool matched = false;
    double syllables = BestMs([&] {
        ListboxSelectByText(list, "", LISTBOX_FIND_NO_INTERRUPT);
        ListboxSelectByText(list, "FiWi", LISTBOX_FIND_NO_INTERRUPT);
    });
    matched = ListboxGetCurSel(list) >= 0; // the narrowed list selected its best entry
    double polling = BestMs([&] {
        ListboxSelectByText(list, "", 0);
        ListboxSelectByText(list, "FiWi", 0);
    });
    double repaint = BestMs([&] {
                         for (int i = 0; i < 10; i++)
                             SendMessageA(list, WM_PRINTCLIENT, (WPARAM)canvas.dc, PRF_CLIENT);
                     }) /
                     10;
    double plain = BestMs([&] {
                       for (int i = 0; i < 10; i++) BenchPlainPaint(canvas.dc, rows, rowHeight);
                   }) /
                   10;
    DestroyWindow(list);
    DestroyWindow(owner);
    printf("%d items, %d rows of %d pixels; milliseconds, best of %d\n", ITEMS, rows, rowHeight, ROUNDS);
    printf("%-34s %10.3f\n", "floor: every text asked once", pass);
    printf("%-34s %10.3f\n", "floor: the page's texts drawn", plain);
    printf("%-34s %10.3f\n", "fill (create, first page)", fill);
    printf("%-34s %10.3f\n", "narrow by prefix and back", prefix);
    printf("%-34s %10.3f %s\n", "narrow by syllables", syllables, matched ? "" : "(nothing selected)");
    printf("%-34s %10.3f\n", "the same, polling for input", polling);
    printf("%-34s %10.3f\n", "repaint the page", repaint);
    printf(
        "list of %d: fill %.2f ms, prefix %.3f ms (%.3fx a text pass), syllables %.1f ms (%.2fx a text pass; "
        "%.0f ms polling for input), repaint %.2f ms (%.2fx plain drawing)\n",
        ITEMS, fill, prefix, prefix / pass, syllables, syllables / pass, polling, repaint, repaint / plain);
    return 0;
}
