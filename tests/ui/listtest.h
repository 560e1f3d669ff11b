// Shared by the list control's tests: a model of items that answers a list's requests, a hidden owner window
// that answers them through message 2026 and records what the list tells its parent, and probes of painted
// rows.
#pragma once

#include "ui/listbox.h"
#include "ui/uitest.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The items and the answers a list gets. Empty vectors answer 0 (or -1 for images).
struct ListModel {
    std::vector<std::string> texts; // request 2 for column key 0 (and the further keys when column is empty)
    std::vector<std::string> alternates; // request 26
    std::vector<std::string> column;     // request 2 for any other column key
    std::vector<int32_t> levels;         // request 13
    std::vector<int32_t> checks;         // request 23
    std::vector<int32_t> bold;           // items whose text request raises the bold counter
    int32_t textHeight = 0;              // request 4
    LRESULT mouseAnswer = 1;             // request 5
    LRESULT keyAnswer = 1;               // request 7
    LRESULT filterAnswer = 1;            // request 27
    // Answers first when it returns true (the answer in *result).
    std::function<bool(ListboxNotify *, LRESULT *)> hook;
    std::vector<ListboxNotify> log;                // every request, in order
    int32_t Count(int32_t code) const;             // requests of that code so far
    const ListboxNotify *Last(int32_t code) const; // the last request of that code, or null
};

LRESULT ListModelAnswer(ListModel *model, ListboxNotify *record);

// The model that lists made with ListNotifyStyle answer through their notify procedure.
extern ListModel *listNotifyModel;
ListboxStyle ListNotifyStyle(uint32_t style);

// A hidden top-level owner: lists made on it ask it through message 2026; a silent owner leaves every request
// to DefWindowProc.
class ListOwner {
public:
    explicit ListOwner(bool silent = false);
    ~ListOwner();
    ListOwner(const ListOwner &) = delete;
    ListOwner &operator=(const ListOwner &) = delete;
    HWND window() const { return window_; }
    // A visible child list over (0, 0, width, height) of the owner's client area.
    HWND List(uint32_t style, int width = 200, int height = 120);
    ListModel model;
    bool silent;
    std::vector<int> notes;    // codes of WM_COMMAND notifications from lists
    std::vector<WPARAM> keys;  // message 2025 received
    std::vector<WPARAM> drags; // message 2035 received

private:
    HWND window_;
};

// Paints every visible row of the list into a canvas of the list's client size (WM_PRINTCLIENT).
void ListPaint(HWND list, UiCanvas *canvas);
// The number of pixels of the colour inside the rectangle.
int ListCountColor(const UiCanvas &canvas, const RECT &rect, COLORREF color);
// The client rectangle of the item's row.
RECT ListRowRect(HWND list, int32_t item);
// The items of the rows from the top, read back through ListboxItemFromPoint, until a row without one.
std::vector<int32_t> ListShownItems(HWND list);
// Items sorted in identifier order, as sorted lists hold them; equal ones keep their order.
std::vector<std::string> ListIdentSorted(std::vector<std::string> texts);
