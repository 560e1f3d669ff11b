// The list control's test owner, model and paint probes.
#include "ui/listtest.h"

#include "base/ident.h"

#include <algorithm>
#include <cstring>

int32_t ListModel::Count(int32_t code) const {
    return (int32_t)std::count_if(log.begin(), log.end(),
                                  [code](const ListboxNotify &r) { return r.w[LISTBOX_W_CODE] == code; });
}

const ListboxNotify *ListModel::Last(int32_t code) const {
    for (auto it = log.rbegin(); it != log.rend(); ++it)
        if (it->w[LISTBOX_W_CODE] == code) return &*it;
    return nullptr;
}

static LRESULT ListModelText(const std::vector<std::string> &texts, ListboxNotify *record) {
    size_t item = (size_t)record->w[LISTBOX_W_ITEM];
    if (item >= texts.size()) return 0;
    char *buffer = ListboxNotifyBuffer(record);
    size_t length = std::min<size_t>(texts[item].size(), LISTBOX_TEXT_MAX);
    memcpy(buffer, texts[item].data(), length);
    buffer[length] = 0;
    return (LRESULT)length;
}

static int32_t ListModelAt(const std::vector<int32_t> &values, intptr_t item, int32_t none) {
    return item >= 0 && (size_t)item < values.size() ? values[item] : none;
}

LRESULT ListModelAnswer(ListModel *m, ListboxNotify *record) {
    m->log.push_back(*record);
    LRESULT result = 0;
    if (m->hook && m->hook(record, &result)) return result;
    intptr_t item = record->w[LISTBOX_W_ITEM];
    switch (record->w[LISTBOX_W_CODE]) {
    case LISTBOX_REQ_COUNT: return (LRESULT)m->texts.size();
    case LISTBOX_REQ_TEXT:
        if (ListModelAt(m->bold, item, 0)) ListboxSetBold(ListboxNotifyWindow(record), true);
        return ListModelText(record->w[LISTBOX_W_TEXT_COLUMN] && !m->column.empty() ? m->column : m->texts,
                             record);
    case LISTBOX_REQ_ALT_TEXT: return ListModelText(m->alternates, record);
    case LISTBOX_REQ_TEXT_HEIGHT: return m->textHeight;
    case LISTBOX_REQ_MOUSE: return m->mouseAnswer;
    case LISTBOX_REQ_KEY: return m->keyAnswer;
    case LISTBOX_REQ_LEVEL: return ListModelAt(m->levels, item, 0);
    case LISTBOX_REQ_GET_CHECK: return ListModelAt(m->checks, item, 0);
    case LISTBOX_REQ_IMAGE: return -1;
    case LISTBOX_REQ_FILTER: return m->filterAnswer;
    }
    return 0;
}

ListModel *listNotifyModel;

static LRESULT ListNotify(ListboxNotify *record) {
    return listNotifyModel ? ListModelAnswer(listNotifyModel, record) : 0;
}

ListboxStyle ListNotifyStyle(uint32_t style) {
    return ListboxStyle{style, ListNotify};
}

static LRESULT CALLBACK ListOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ListOwner *owner = (ListOwner *)GetWindowLongPtrA(window, GWLP_USERDATA);
    if (owner && message == LISTBOX_MSG_REQUEST && !owner->silent)
        return ListModelAnswer(&owner->model, (ListboxNotify *)lParam);
    if (owner && message == WM_COMMAND && lParam) owner->notes.push_back(HIWORD(wParam));
    if (owner && message == LISTBOX_MSG_KEY) owner->keys.push_back(wParam);
    if (owner && message == LISTBOX_MSG_DRAG) {
        owner->drags.push_back(wParam);
        return 7;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

ListOwner::ListOwner(bool silent) : silent(silent) {
    static bool registered;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ListOwnerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "vxListTestOwner";
        RegisterClassA(&wc);
        registered = true;
    }
    ListboxRegisterClass();
    window_ = CreateWindowExA(0, "vxListTestOwner", "", WS_POPUP, 0, 0, 400, 700, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, (LONG_PTR)this);
}

ListOwner::~ListOwner() {
    DestroyWindow(window_);
}

HWND ListOwner::List(uint32_t style, int width, int height) {
    ListboxStyle words = {style, nullptr};
    return ListboxCreate(window_, 0, 0, width, height, &words, true);
}

void ListPaint(HWND list, UiCanvas *canvas) {
    SendMessageA(list, WM_PRINTCLIENT, (WPARAM)canvas->dc(), PRF_CLIENT);
    GdiFlush();
}

int ListCountColor(const UiCanvas &canvas, const RECT &rect, COLORREF color) {
    int n = 0;
    for (int y = rect.top; y < rect.bottom; y++)
        for (int x = rect.left; x < rect.right; x++) n += canvas.Pixel(x, y) == color;
    return n;
}

RECT ListRowRect(HWND list, int32_t item) {
    RECT rect = {};
    ListboxGetItemRect(list, item, &rect);
    return rect;
}

std::vector<int32_t> ListShownItems(HWND list) {
    std::vector<int32_t> items;
    RECT client;
    GetClientRect(list, &client);
    RECT first = {};
    int32_t top = (int32_t)SendMessageA(list, LB_GETTOPINDEX, 0, 0);
    if (top < 0 || !ListboxGetItemRect(list, top, &first)) return items;
    int32_t height = first.bottom - first.top;
    for (int32_t y = first.top + height / 2; y < client.bottom; y += height) {
        int32_t item = ListboxItemFromPoint(list, 1, y);
        if (item < 0) break;
        items.push_back(item);
    }
    return items;
}

std::vector<std::string> ListIdentSorted(std::vector<std::string> texts) {
    std::stable_sort(texts.begin(), texts.end(), [](const std::string &a, const std::string &b) {
        return StrCmpIdent(a.c_str(), b.c_str()) < 0;
    });
    return texts;
}
