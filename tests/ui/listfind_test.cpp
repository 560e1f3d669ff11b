// Type-ahead and narrowing in the list control, on the fake tick clock:
// - initials: two letters within 500 ms of the first search two initials, later ones one; a walk in unsorted
//   lists; the binary search in sorted lists (past every item: the last row), stepping through the items of
//   one letter and back to the first of them;
// - prefix narrowing over sorted items: ranges and choices as a table, equal ranges, typed texts ending in
//   'Z', 'z' and byte 255, no match greyed and cleared again;
// - syllable narrowing: the row map's order and the best entry, a map that cannot be made, "^" or a blank
//   switching to prefixes, a text without syllables narrowing by prefix, the same text twice leaving the view
//   alone;
// - the owner's filtering answers; pending input cutting the work short unless suspended; the edit's text.
#include "ui/listbox.h"

#include "base/heap.h"
#include "base/inputpend.h"
#include "base/tick.h"
#include "ui/listtest.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

uint32_t fakeNow = 1000;
uint32_t FakeClock() {
    return fakeNow;
}

class ListfindTest : public testing::Test {
protected:
    void SetUp() override {
        fakeNow += 100000; // far from any letter of an earlier test
        TickSetClock(FakeClock, nullptr);
        ListboxSetSyllableMatching(false);
    }
    void TearDown() override {
        ListboxSetSyllableMatching(false);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        }
        InputPendingReset();
        listNotifyModel = nullptr;
    }
    HWND Make(uint32_t style, std::vector<std::string> texts, int height = 400) {
        owner.model.texts = std::move(texts);
        return owner.List(style, 200, height);
    }
    int32_t Type(HWND list, char c, uint32_t after) {
        fakeNow += after;
        return ListboxTypeChar(list, c);
    }
    std::string Text(HWND list, int32_t item) {
        if (item < 0) return "(none)";
        char text[256];
        ListboxGetItemText(list, item, text);
        return text;
    }
    std::vector<std::string> Shown(HWND list) {
        std::vector<std::string> texts;
        for (int32_t item : ListShownItems(list)) texts.push_back(Text(list, item));
        return texts;
    }
    bool Greyed(HWND list) {
        UiCanvas canvas(200, 400);
        ListPaint(list, &canvas);
        return ListCountColor(canvas, ListRowRect(list, 0), GetSysColor(COLOR_GRAYTEXT)) > 0;
    }
    ListOwner owner;
};

const std::vector<std::string> prefixItems = ListIdentSorted({"abc",
                                                              "Abd",
                                                              "_abe",
                                                              "ab_x",
                                                              "ABX",
                                                              "abz",
                                                              "acd",
                                                              "aZ",
                                                              "aZb",
                                                              "az_",
                                                              "a[q",
                                                              "a{q",
                                                              "ABC",
                                                              "b",
                                                              "bcd",
                                                              "a\xff",
                                                              "a\xff"
                                                              "b",
                                                              "a\xff"
                                                              "c",
                                                              "a\xfe",
                                                              "b\xff"});

} // namespace

// ---- Initials

TEST_F(ListfindTest, SecondLetterWithinHalfSecondSearchesTwoInitials) {
    HWND list = Make(1, {"Alpha", "Bravo", "bx", "Bb one", "Bbtwo", "Beta", "Charlie"});
    ListboxSetCurSel(list, 0);
    EXPECT_EQ(Type(list, 'b', 0), 1);
    ListboxSetCurSel(list, 1);
    EXPECT_EQ(Type(list, 'b', 100), 3); // "BB" from the current row
    ListboxSetCurSel(list, 3);
    EXPECT_EQ(Type(list, 'b', 300), 3); // still within 500 ms of the first letter
    EXPECT_EQ(Type(list, 'b', 200), 4); // 600 ms: one initial from the next row
    ListboxSetCurSel(list, 4);
    EXPECT_EQ(Type(list, 'b', 1000), 5);
    EXPECT_EQ(Type(list, 'q', 1000), -1);
    ListboxSetCurSel(list, 6);
    EXPECT_EQ(Type(list, 'a', 1000), 0); // the walk wraps
}

TEST_F(ListfindTest, SortedListsSearchBinary) {
    HWND list = Make(0x200001, {"apple", "banana", "berry", "date", "fig"});
    EXPECT_EQ(Type(list, 'c', 1000), 3); // no item begins with it: the row after where it would sort
    EXPECT_EQ(Type(list, 'z', 1000), 4); // after all: the last row
    EXPECT_EQ(Type(list, 'A', 1000), 0);
    ListboxSetCurSel(list, 1);
    EXPECT_EQ(Type(list, 'b', 1000), 2);
    ListboxSetCurSel(list, 2);
    // After the last item of the letter the first one comes again, never an item of another letter.
    EXPECT_EQ(Type(list, 'b', 1000), 1);
    ListboxSetCurSel(list, 0);
    EXPECT_EQ(Type(list, 'b', 1000), 1);
    EXPECT_EQ(Type(list, 'e', 100), 2); // "BE"
}

// ---- Prefix narrowing

TEST_F(ListfindTest, PrefixNarrowingTable) {
    HWND list = Make(0x200001, prefixItems);
    const struct {
        const char *typed;
        uint32_t flags;
        std::vector<std::string> shown;
        const char *chosen;
    } cases[] = {
        {"ab", 0, {"abc", "ABC", "Abd", "_abe", "ABX", "abz", "ab_x"}, "abc"},
        {"AB", 0, {"abc", "ABC", "Abd", "_abe", "ABX", "abz", "ab_x"}, "ABC"},
        {"ab", LISTBOX_FIND_EXACT_CASE, {"abc", "ABC", "Abd", "_abe", "ABX", "abz", "ab_x"}, "abc"},
        {"Abd", 0, {"Abd"}, "Abd"},
        {"abc", LISTBOX_FIND_EQUAL, {"abc", "ABC"}, "abc"},
        {"aZ", 0, {"aZ", "aZb", "az_"}, "aZ"},
        {"az", 0, {"aZ", "aZb", "az_"}, "aZ"},
        {"AZ", 0, {"aZ", "aZb", "az_"}, "aZ"},
        {"a\xff",
         0,
         {"a\xff",
          "a\xff"
          "b",
          "a\xff"
          "c"},
         "a\xff"},
        {"b", 0, {"b", "bcd", "b\xff"}, "b"},
    };
    for (const auto &c : cases) {
        EXPECT_TRUE(ListboxSelectByPrefix(list, c.typed, c.flags));
        std::vector<std::string> shown = Shown(list);
        EXPECT_EQ(
            std::vector<std::string>(shown.begin(), shown.begin() + std::min(shown.size(), c.shown.size())),
            c.shown)
            << c.typed;
        int32_t first, end;
        ListboxGetRange(list, &first, &end);
        EXPECT_EQ(end - first, (int32_t)c.shown.size()) << c.typed;
        EXPECT_EQ(Text(list, ListboxGetCurSel(list)), c.chosen) << c.typed;
        EXPECT_FALSE(Greyed(list)) << c.typed;
    }
}

TEST_F(ListfindTest, NoMatchGreysWholeListUntilCleared) {
    HWND list = Make(0x200001, prefixItems);
    ListboxSetCurSel(list, 2);
    EXPECT_TRUE(ListboxFilterByText(list, "qq", 0));
    int32_t first, end;
    ListboxGetRange(list, &first, &end);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(end, (int32_t)prefixItems.size());
    EXPECT_EQ(ListboxGetCurSel(list), -1);
    EXPECT_TRUE(Greyed(list));
    EXPECT_TRUE(ListboxFilterByText(list, "", 0));
    EXPECT_FALSE(Greyed(list));
    EXPECT_EQ(ListboxGetCurSel(list), -1);
    EXPECT_TRUE(ListboxFilterByText(list, "ab", 0));
    EXPECT_TRUE(ListboxFilterByText(list, "__", 0)); // only underscores: the whole list, nothing selected
    ListboxGetRange(list, &first, &end);
    EXPECT_EQ(end - first, (int32_t)prefixItems.size());
    EXPECT_EQ(ListboxGetCurSel(list), -1);
}

// ---- Syllable narrowing

TEST_F(ListfindTest, SyllablesOrderTheRowMap) {
    ListboxSetSyllableMatching(true);
    HWND list = Make(1, {"GetWindow", "FindWindowEx", "find_window", "FileWrite", "FindWindow", "Fiwi",
                         "FixWidth", "fish"});
    EXPECT_TRUE(ListboxFilterByText(list, "FiWi  ", 0));
    EXPECT_EQ(Shown(list),
              (std::vector<std::string>{"Fiwi", "FindWindow", "find_window", "FixWidth", "FindWindowEx"}));
    EXPECT_EQ(Text(list, ListboxGetCurSel(list)), "Fiwi");
    int32_t first, end;
    ListboxGetRange(list, &first, &end);
    EXPECT_EQ(end - first, 8); // the range stays whole under a row map
    EXPECT_TRUE(ListboxFilterByText(list, "FindW", 0));
    EXPECT_EQ(Shown(list), (std::vector<std::string>{"FindWindow", "FindWindowEx", "find_window"}));
    EXPECT_EQ(Text(list, ListboxGetCurSel(list)), "FindWindow");
    EXPECT_TRUE(ListboxFilterByText(list, "", 0));
    EXPECT_EQ(Shown(list).size(), 8u);
    EXPECT_TRUE(ListboxFilterByText(list, "zzz", 0));
    EXPECT_EQ(Shown(list).size(), 8u);
    EXPECT_TRUE(Greyed(list));
}

TEST_F(ListfindTest, CaretOrBlankSwitchesToPrefixes) {
    ListboxSetSyllableMatching(true);
    HWND list =
        Make(0x200001, ListIdentSorted({"fiat", "field", "file", "FindWindow", "fish", "gap", "xfi"}));
    int32_t first, end;
    for (const char *typed : {"^fi", " fi"}) {
        EXPECT_TRUE(ListboxFilterByText(list, typed, 0));
        ListboxGetRange(list, &first, &end);
        EXPECT_EQ(first, 0) << typed;
        EXPECT_EQ(end, 5) << typed;
    }
    // Without it two letters narrow by syllables: a row map over the whole range.
    EXPECT_TRUE(ListboxFilterByText(list, "fi", 0));
    ListboxGetRange(list, &first, &end);
    EXPECT_EQ(end, 7);
    EXPECT_EQ(Shown(list).size(), 5u); // "xfi" contains the letters but no syllable of it begins with them
    // Paths and patterns never use syllables.
    EXPECT_TRUE(ListboxFilterByText(list, "fi*", 0));
    EXPECT_EQ(Shown(list).size(), 7u);
    ListboxGetRange(list, &first, &end);
    EXPECT_EQ(end, 7);
}

TEST_F(ListfindTest, RowMapThatCannotBeMadeShowsWholeList) {
    ListboxSetSyllableMatching(true);
    HWND list = Make(1, {"FindWindow", "other", "FixWidth"});
    HeapFailNth(1);
    EXPECT_TRUE(ListboxFilterByText(list, "FiWi", 0));
    HeapFailNth(0);
    EXPECT_EQ(Shown(list).size(), 3u);
    EXPECT_FALSE(Greyed(list));
    EXPECT_TRUE(ListboxFilterByText(list, "FiWi", 0));
    EXPECT_EQ(Shown(list).size(), 2u);
}

// A text without a syllable would let every item match by syllables; it narrows by prefix.
TEST_F(ListfindTest, TextWithoutSyllablesNarrowsByPrefix) {
    ListboxSetSyllableMatching(true);
    HWND list = Make(0x200001, ListIdentSorted({"1a", "1ab", "2b", "a1a"}));
    EXPECT_TRUE(ListboxFilterByText(list, "1a", 0));
    EXPECT_EQ(Shown(list), (std::vector<std::string>{"1a", "1ab"}));
}

// ---- Repainting

class ListfindShownTest : public ListfindTest {
protected:
    void SetUp() override {
        ListfindTest::SetUp();
        model.texts = ListIdentSorted({"abc", "abd", "FindWindow", "find_window", "Fiwi", "other"});
        listNotifyModel = &model;
        ListboxStyle words = ListNotifyStyle(0x200001);
        list = ListboxCreate(UiShownPopup(900, 20, 300, 300), 0, 0, 250, 250, &words, true);
        UpdateWindow(list);
    }
    void TearDown() override {
        DestroyWindow(list);
        ListfindTest::TearDown();
    }
    bool Repaints() {
        RECT rect = {};
        bool dirty = GetUpdateRect(list, &rect, FALSE) && !IsRectEmpty(&rect);
        ValidateRect(list, nullptr);
        return dirty;
    }
    ListModel model;
    HWND list = nullptr;
};

TEST_F(ListfindShownTest, SameFilterTwiceLeavesViewAlone) {
    EXPECT_TRUE(ListboxFilterByText(list, "ab", 0));
    EXPECT_TRUE(Repaints());
    EXPECT_TRUE(ListboxFilterByText(list, "ab", 0));
    EXPECT_FALSE(Repaints());
    ListboxSetSyllableMatching(true);
    EXPECT_TRUE(ListboxFilterByText(list, "FiWi", 0));
    EXPECT_TRUE(Repaints());
    int32_t chosen = ListboxGetCurSel(list);
    EXPECT_TRUE(ListboxFilterByText(list, "FiWi", 0));
    EXPECT_FALSE(Repaints());
    EXPECT_EQ(ListboxGetCurSel(list), chosen);
}

// ---- The owner, pending input and the edit

TEST_F(ListfindTest, OwnerFilteringAnswers) {
    ListboxSetSyllableMatching(true);
    std::vector<std::string> texts = ListIdentSorted({"abc", "abd", "xab", "zzz"});
    HWND list = Make(0x280001, texts);
    int32_t first, end;
    owner.model.filterAnswer = LISTBOX_FILTER_REFUSE;
    EXPECT_FALSE(ListboxFilterByText(list, "ab", 0));
    const ListboxNotify *asked = owner.model.Last(LISTBOX_REQ_FILTER);
    ASSERT_NE(asked, nullptr);
    EXPECT_STREQ(ListboxNotifyText(asked), "ab");
    EXPECT_EQ(asked->w[LISTBOX_W_FLAG], 1);
    EXPECT_EQ(Shown(list).size(), 4u);
    owner.model.filterAnswer = LISTBOX_FILTER_DONE;
    EXPECT_TRUE(ListboxFilterByText(list, "ab", 0));
    EXPECT_EQ(Shown(list).size(), 4u);
    owner.model.filterAnswer = LISTBOX_FILTER_NO_MATCH;
    EXPECT_TRUE(ListboxFilterByText(list, "ab", 0));
    EXPECT_TRUE(Greyed(list));
    owner.model.filterAnswer = LISTBOX_FILTER_WHOLE;
    EXPECT_TRUE(ListboxFilterByText(list, "ab", 0));
    EXPECT_FALSE(Greyed(list));
    // 6: the control narrows without syllables, by prefix.
    owner.model.filterAnswer = LISTBOX_FILTER_NO_SYLLABLE;
    EXPECT_TRUE(ListboxFilterByText(list, "ab", 0));
    ListboxGetRange(list, &first, &end);
    EXPECT_EQ(end - first, 2);
    // Go on: by syllables, into a row map over the whole range.
    owner.model.filterAnswer = LISTBOX_FILTER_GO_ON;
    EXPECT_TRUE(ListboxFilterByText(list, "ab", 0));
    EXPECT_EQ(Shown(list).size(), 2u);
    ListboxGetRange(list, &first, &end);
    EXPECT_EQ(end - first, 4);
    // 2: the owner narrowed itself; the next letters end its filter with an empty text first.
    owner.model.filterAnswer = LISTBOX_FILTER_OWN;
    EXPECT_TRUE(ListboxFilterByText(list, "ab", 0));
    owner.model.filterAnswer = LISTBOX_FILTER_GO_ON;
    owner.model.log.clear();
    EXPECT_TRUE(ListboxFilterByText(list, "ab", 0));
    ASSERT_EQ(owner.model.Count(LISTBOX_REQ_FILTER), 2);
    EXPECT_STREQ(ListboxNotifyText(owner.model.Last(LISTBOX_REQ_FILTER)), "");
    EXPECT_EQ(owner.model.Last(LISTBOX_REQ_FILTER)->w[LISTBOX_W_FLAG], 0);
}

TEST_F(ListfindTest, PendingInputCutsShortUnlessSuspended) {
    HWND list = Make(0x200001, prefixItems);
    PostMessageA(owner.window(), WM_KEYDOWN, 'X', 0);
    EXPECT_FALSE(ListboxSelectByText(list, "ab", 0));
    ListboxSetSyllableMatching(true);
    EXPECT_FALSE(ListboxSelectByText(list, "ab", 0));
    EXPECT_EQ(Shown(list).size(), prefixItems.size());
    EXPECT_TRUE(ListboxSelectByText(list, "ab", LISTBOX_FIND_NO_INTERRUPT));
    EXPECT_EQ(Text(list, ListboxGetCurSel(list)), "abc");
    ListboxSetSyllableMatching(false);
    EXPECT_TRUE(ListboxSelectByText(list, "acd", LISTBOX_FIND_NO_INTERRUPT));
    EXPECT_EQ(Shown(list), (std::vector<std::string>{"acd"}));
}

TEST_F(ListfindTest, EditTextNarrows) {
    HWND list = Make(0x200001, prefixItems);
    HWND edit =
        CreateWindowExA(0, "EDIT", "bc", WS_CHILD, 0, 0, 50, 20, owner.window(), nullptr, nullptr, nullptr);
    EXPECT_TRUE(ListboxSelectByEditText(list, edit, 0));
    EXPECT_EQ(Shown(list), (std::vector<std::string>{"bcd"}));
    DestroyWindow(edit);
}
