// listfind: finding items by typed text (prefix Listbox). Letters typed into a list jump by initials, one
// or two within 500 ms. Text typed into an edit that belongs to a list narrows the list: a list sorted in
// identifier order shows the range of items that begin with the text, found by binary searches; otherwise,
// or by the user's choice, identifier syllables ('FiWi' finds 'FindWindow') pick items into a row map that
// lists prefix matches first. Long narrowing gives way to pending input.
#include "ui/listboxrec.h"

#include "base/ident.h"
#include "base/inputpend.h"
#include "base/str.h"
#include "base/syllable.h"
#include "base/tick.h"
#include "base/utilil.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

enum : uint32_t { LISTBOX_INITIALS_MS = 500 };
enum : int32_t { LISTBOX_POLL_ITEMS = 50, LISTBOX_BEST_OF = 50 };

// The list that last received a typed letter, that letter (upper case) and when it came.
static HWND listboxTypedList;
static int listboxTypedLetter;
static uint32_t listboxTypedTick;
static bool listboxSyllables;

void ListboxSetSyllableMatching(bool on) {
    listboxSyllables = on;
}

// ---- Initials

// The item's text (or alternate text) without leading underscores.
static const char *ListboxSortText(ListboxRec *lb, int32_t item, char *buffer) {
    ListboxFetchText(lb, item, lb->columns[0].key, (lb->style & LISTBOX_ALT_TEXT) != 0, buffer);
    const char *text = buffer;
    while (*text == '_') text++;
    return text;
}

// The first one or two characters, upper-cased, against the initials: < 0, 0 or > 0.
static int ListboxCompareInitials(const char *text, const int *initials, int count) {
    for (int i = 0; i < count; i++) {
        int c = toupper((unsigned char)text[i]);
        if (c != initials[i]) return c - initials[i];
        if (!c) break;
    }
    return 0;
}

static bool ListboxHasInitials(const char *text, const int *initials, int count) {
    return text[0] && (count == 1 || text[1]) && ListboxCompareInitials(text, initials, count) == 0;
}

// The first row whose initials are not below the typed ones; an empty text stops the search where it is.
static int32_t ListboxSearchInitials(ListboxRec *lb, const int *initials, int count) {
    char buffer[LISTBOX_TEXT_MAX + 1];
    int32_t lo = 0, hi = lb->rowCount;
    while (lo < hi) {
        int32_t mid = lo + (hi - lo) / 2;
        const char *text = ListboxSortText(lb, ListboxRowItem(lb, mid), buffer);
        if (!*text) return mid;
        if (ListboxCompareInitials(text, initials, count) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return Min(lo, lb->rowCount - 1);
}

// In a sorted list the letter steps through the items that begin with it; after the last of them it goes
// back to the first, never on to an item that begins with another letter.
static int32_t ListboxInitialsSorted(ListboxRec *lb, int32_t current, const int *initials, int count) {
    char buffer[LISTBOX_TEXT_MAX + 1];
    if (current >= 0 &&
        ListboxHasInitials(ListboxSortText(lb, ListboxRowItem(lb, current), buffer), initials, count)) {
        if (count == 2) return current;
        int32_t next = current + 1;
        if (next < lb->rowCount &&
            ListboxHasInitials(ListboxSortText(lb, ListboxRowItem(lb, next), buffer), initials, count))
            return next;
    }
    return ListboxSearchInitials(lb, initials, count);
}

static int32_t ListboxInitialsWalk(ListboxRec *lb, int32_t start, const int *initials, int count) {
    char buffer[LISTBOX_TEXT_MAX + 1];
    for (int32_t i = 0; i < lb->rowCount; i++) {
        int32_t row = (start + i) % lb->rowCount;
        if (ListboxHasInitials(ListboxSortText(lb, ListboxRowItem(lb, row), buffer), initials, count))
            return row;
    }
    return -1;
}

int32_t ListboxTypeChar(HWND list, int ch) {
    ListboxRec *lb = ListboxFromWindow(list);
    if (!lb || lb->rowCount <= 0) return -1;
    int letter = toupper((unsigned char)ch);
    int32_t current = ListboxItemRow(lb, ListboxCurrentItem(lb));
    uint32_t now = TickNow();
    int initials[2] = {letter, 0}, count = 1;
    int32_t start = current + 1;
    if (list == listboxTypedList && now - listboxTypedTick < LISTBOX_INITIALS_MS) {
        initials[0] = listboxTypedLetter;
        initials[1] = letter;
        count = 2;
        start = Max(current, 0);
    } else {
        listboxTypedList = list;
        listboxTypedLetter = letter;
        listboxTypedTick = now;
    }
    if ((lb->style & LISTBOX_SORTED) && !lb->mapped && !(lb->style & LISTBOX_OUTLINE))
        return ListboxInitialsSorted(lb, current, initials, count);
    return ListboxInitialsWalk(lb, start % lb->rowCount, initials, count);
}

// ---- Prefix narrowing

static void ListboxItemPstr(ListboxRec *lb, int32_t item, unsigned char *pstr) {
    char buffer[LISTBOX_TEXT_MAX + 1];
    ListboxFetchText(lb, item, lb->columns[0].key, (lb->style & LISTBOX_ALT_TEXT) != 0, buffer);
    PstrFromSz(buffer, pstr);
}

// The first item from lo on for which the test fails, the test holding for a leading run of items only;
// -1 when pending input cuts the search short.
template <typename Test>
static int32_t ListboxSearchItems(ListboxRec *lb, int32_t lo, int32_t hi, Test holds) {
    unsigned char text[256];
    while (lo < hi) {
        if (InputPending()) return -1;
        int32_t mid = lo + (hi - lo) / 2;
        ListboxItemPstr(lb, mid, text);
        if (holds(text))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

static bool ListboxIsUpperCase(const char *s) {
    bool letters = false;
    for (; *s; s++) {
        if (islower((unsigned char)*s)) return false;
        letters = letters || isupper((unsigned char)*s);
    }
    return letters;
}

static const char *ListboxSkipUnderscores(const char *s) {
    while (*s == '_') s++;
    return s;
}

// Within the first 50 items of the range: one equal in exact case, else the first that begins with the text
// in exact case; the range's first item when there is none.
static int32_t ListboxExactChoice(ListboxRec *lb, int32_t first, int32_t end, const char *typed) {
    char buffer[LISTBOX_TEXT_MAX + 1];
    int32_t prefixed = -1;
    for (int32_t item = first; item < end && item < first + LISTBOX_BEST_OF; item++) {
        ListboxFetchText(lb, item, lb->columns[0].key, (lb->style & LISTBOX_ALT_TEXT) != 0, buffer);
        if (strcmp(buffer, typed) == 0) return item;
        if (prefixed < 0 && StrHasPrefix(ListboxSkipUnderscores(typed), ListboxSkipUnderscores(buffer)))
            prefixed = item;
    }
    return prefixed >= 0 ? prefixed : first;
}

static bool ListboxOnlyUnderscores(const char *s) {
    return *ListboxSkipUnderscores(s) == 0;
}

// The range ends where the prefix test first fails. Raising the last typed character by one to search for
// the end would go wrong where the identifier order folds case ('Z' + 1 is '[') and at byte 255, which wraps.
static bool ListboxPrefixNarrow(ListboxRec *lb, const char *text, uint32_t flags) {
    ListboxDropRowMap(lb);
    if (ListboxOnlyUnderscores(text)) {
        ListboxSetRange(lb, 0, -1);
        ListboxClearSelection(lb->window);
        return true;
    }
    unsigned char typed[256];
    PstrFromSz(text, typed);
    int32_t first = ListboxSearchItems(
        lb, 0, lb->itemCount, [&](const unsigned char *item) { return PstrCmpIdent(item, typed) < 0; });
    if (first < 0) return false;
    unsigned char found[256];
    if (first < lb->itemCount) ListboxItemPstr(lb, first, found);
    if (first >= lb->itemCount || !PstrIsIdentPrefix(typed, found)) {
        ListboxSetRange(lb, 0, 0);
        return true;
    }
    int32_t end =
        flags & LISTBOX_FIND_EQUAL
            ? ListboxSearchItems(lb, first, lb->itemCount,
                                 [&](const unsigned char *item) { return PstrCmpIdent(item, typed) == 0; })
            : ListboxSearchItems(lb, first, lb->itemCount,
                                 [&](const unsigned char *item) { return PstrIsIdentPrefix(typed, item); });
    if (end < 0) return false;
    ListboxSetRange(lb, first, end);
    int32_t choice = first;
    if ((flags & LISTBOX_FIND_EXACT_CASE) || StrIsMixedCase(text) || ListboxIsUpperCase(text))
        choice = ListboxExactChoice(lb, first, end, text);
    ListboxSetCurItem(lb, choice);
    return true;
}

bool ListboxSelectByPrefix(HWND list, const char *text, uint32_t flags) {
    ListboxRec *lb = ListboxFromWindow(list);
    return lb && ListboxPrefixNarrow(lb, text, flags);
}

// ---- Row maps

static bool ListboxSameMap(const Plex *a, const Plex *b) {
    if (!a || !b || PlexCount(a) != PlexCount(b)) return false;
    const ListboxMapEntry *x = (const ListboxMapEntry *)PlexElem(a, 0),
                          *y = (const ListboxMapEntry *)PlexElem(b, 0);
    for (int32_t i = 0, n = PlexCount(a); i < n; i++)
        if (x[i].item != y[i].item) return false;
    return true;
}

void ListboxSetRowMap(ListboxRec *lb, Plex *map, int32_t row) {
    if (lb->mapped && ListboxSameMap(lb->rowMap, map)) {
        PlexFree(map);
        return;
    }
    ListboxSetRange(lb, 0, -1);
    ListboxFocusHide(lb);
    lb->rowMap = map;
    lb->mapped = true;
    lb->rowCount = PlexCount(map);
    lb->topRow = 0;
    PlexClear(lb->selection);
    ListboxLayout(lb, false);
    ListboxInvalidateList(lb);
    ListboxSelectRows(lb, row, row, false, LISTBOX_SEL_REPLACE);
    ListboxFocusShow(lb);
}

// ---- Syllable narrowing

// A candidate of the row map, with its text for the order.
struct ListboxMatch {
    int32_t item;
    uint32_t match;
    std::string text;
};

// Prefix matches first, then syllable matches by fewer syllables, then identifier order.
static bool ListboxMatchBefore(const ListboxMatch &a, const ListboxMatch &b) {
    bool sa = a.match & LISTBOX_MATCH_SYLLABLES, sb = b.match & LISTBOX_MATCH_SYLLABLES;
    if (sa != sb) return sb;
    if (sa && a.match != b.match) return a.match < b.match;
    int order = StrCmpIdent(a.text.c_str(), b.text.c_str());
    return order ? order < 0 : a.item < b.item;
}

// The entry to select among the first 50: equal, begins in exact case, begins, contains in exact case,
// contains; else the first.
static int32_t ListboxBestEntry(const std::vector<ListboxMatch> &matches, const char *typed) {
    int32_t n = Min((int32_t)matches.size(), LISTBOX_BEST_OF), best = 0, rank = 5;
    for (int32_t i = 0; i < n && rank > 0; i++) {
        const char *text = matches[i].text.c_str();
        int r = strcmp(text, typed) == 0           ? 0
                : StrHasPrefix(typed, text)        ? 1
                : StrHasPrefixI(typed, text)       ? 2
                : strstr(text, typed) != nullptr   ? 3
                : StrFindI(typed, text) != nullptr ? 4
                                                   : 5;
        if (r < rank) best = i, rank = r;
    }
    return best;
}

static uint32_t ListboxMatchWord(bool bySyllables, int32_t syllables) {
    uint32_t count = (uint32_t)Min(syllables, (int32_t)LISTBOX_MATCH_COUNT_MAX);
    return (bySyllables ? (uint32_t)LISTBOX_MATCH_SYLLABLES : 0u) | count << LISTBOX_MATCH_COUNT_SHIFT;
}

// Every item that contains the first typed syllable and begins with the typed text or matches its
// syllables; false when pending input cut the walk short.
static bool ListboxCollectMatches(ListboxRec *lb, const char *typed, SyllableSplitRec *split,
                                  std::vector<ListboxMatch> *out) {
    char first[256], text[LISTBOX_TEXT_MAX + 1];
    SyllableGet(split, 0, first);
    SyllableSplitRec name;
    bool alternate = (lb->style & LISTBOX_ALT_TEXT) != 0;
    for (int32_t item = 0; item < lb->itemCount; item++) {
        if (item % LISTBOX_POLL_ITEMS == 0 && InputPending()) return false;
        ListboxFetchText(lb, item, lb->columns[0].key, alternate, text);
        if (!StrFindI(first, text)) continue;
        bool prefix = StrCmpIdentPrefix(typed, text) == 0;
        SyllableSplit(text, &name);
        if (!prefix && !SyllableMatch(split, &name)) continue;
        out->push_back(ListboxMatch{item, ListboxMatchWord(!prefix, name.count), text});
    }
    return true;
}

static Plex *ListboxMapFromMatches(const std::vector<ListboxMatch> &matches) {
    Plex *map = PlexCreate(sizeof(ListboxMapEntry), (int32_t)matches.size(), 0);
    if (!map) return nullptr;
    std::vector<ListboxMapEntry> entries;
    for (const ListboxMatch &m : matches) entries.push_back(ListboxMapEntry{m.item, m.match});
    if (!PlexInsert(map, 0, (int32_t)entries.size(), entries.data())) {
        PlexFree(map);
        return nullptr;
    }
    return map;
}

// A typed text without a syllable (it begins with a digit, or its pieces are single characters) has nothing
// to match by syllables: every item would qualify. It narrows by prefix instead.
static bool ListboxSyllableNarrow(ListboxRec *lb, const char *typed, uint32_t flags) {
    SyllableSplitRec split;
    if (SyllableSplit(typed, &split) == 0) return ListboxPrefixNarrow(lb, typed, flags);
    std::vector<ListboxMatch> matches;
    if (!ListboxCollectMatches(lb, typed, &split, &matches)) return false;
    if (matches.empty()) {
        ListboxSetRange(lb, 0, 0);
        return true;
    }
    std::sort(matches.begin(), matches.end(), ListboxMatchBefore);
    Plex *map = ListboxMapFromMatches(matches);
    if (!map) {
        ListboxSetRange(lb, 0, -1);
        return true;
    }
    ListboxSetRowMap(lb, map, ListboxBestEntry(matches, typed));
    return true;
}

// ---- Narrowing

// Code 27 to the owner; true when narrowing is done with the given result, false to go on.
static bool ListboxOwnerFilter(ListboxRec *lb, const char *text, bool *syllables, bool *result) {
    InputPendingReset();
    ListboxNotify record = {};
    record.w[LISTBOX_W_TEXT] = (intptr_t)text;
    record.w[LISTBOX_W_FLAG] = 1;
    LRESULT answer = ListboxAsk(lb, &record, LISTBOX_REQ_FILTER);
    *result = answer != LISTBOX_FILTER_REFUSE;
    switch (answer) {
    case LISTBOX_FILTER_REFUSE: return true;
    case LISTBOX_FILTER_OWN: lb->ownerFilter = true; return true;
    case LISTBOX_FILTER_DONE: return true;
    case LISTBOX_FILTER_WHOLE:
    case LISTBOX_FILTER_NO_MATCH:
        lb->ownerFilter = false;
        ListboxSetRange(lb, 0, answer == LISTBOX_FILTER_WHOLE ? -1 : 0);
        return true;
    case LISTBOX_FILTER_NO_SYLLABLE:
        lb->ownerFilter = false;
        *syllables = false;
        return false;
    }
    return false;
}

static void ListboxEndOwnerFilter(ListboxRec *lb) {
    if (!lb->ownerFilter) return;
    lb->ownerFilter = false;
    ListboxNotify record = {};
    record.w[LISTBOX_W_TEXT] = (intptr_t) "";
    record.w[LISTBOX_W_FLAG] = 0;
    ListboxAsk(lb, &record, LISTBOX_REQ_FILTER);
}

static bool ListboxFilter(ListboxRec *lb, const char *text, uint32_t flags) {
    char typed[LISTBOX_TEXT_MAX + 1];
    StrCopyMaxLen(text, typed, LISTBOX_TEXT_MAX);
    StrTrimRight(typed);
    bool syllables = listboxSyllables && !(lb->style & LISTBOX_NO_SYLLABLES), result;
    if ((lb->style & LISTBOX_OWNER_FILTER) && ListboxOwnerFilter(lb, typed, &syllables, &result))
        return result;
    const char *t = typed;
    if (!(lb->style & LISTBOX_NO_SYLLABLES) && (*t == ' ' || *t == '^')) {
        t++;
        syllables = !syllables;
    }
    if (strpbrk(t, "*?/\\") || strstr(t, "..")) syllables = false;
    if (!isalnum((unsigned char)*t) || ListboxOnlyUnderscores(t)) {
        ListboxSetRange(lb, 0, -1);
        ListboxClearSelection(lb->window);
        return true;
    }
    ListboxEndOwnerFilter(lb);
    if (!syllables || !t[1]) return ListboxPrefixNarrow(lb, t, flags);
    return ListboxSyllableNarrow(lb, t, flags);
}

bool ListboxFilterByText(HWND list, const char *text, uint32_t flags) {
    ListboxRec *lb = ListboxFromWindow(list);
    return lb && ListboxFilter(lb, text, flags);
}

bool ListboxSelectByText(HWND list, const char *text, uint32_t flags) {
    bool keep = flags & LISTBOX_FIND_NO_INTERRUPT;
    if (keep) InputPendingSuspend();
    bool done = ListboxFilterByText(list, text, flags);
    if (keep) InputPendingResume();
    return done;
}

bool ListboxSelectByEditText(HWND list, HWND edit, uint32_t flags) {
    char text[LISTBOX_TEXT_MAX + 1] = {};
    GetWindowTextA(edit, text, sizeof text);
    return ListboxSelectByText(list, text, flags);
}
