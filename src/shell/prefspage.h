// prefspage: what the modules of the Preferences share (prefix PrefsPage): a page's description (its
// bindings of record words to option words, and its procedures) and the one engine that fills a record from
// its bindings and stores it back.
#pragma once

#include "shell/prefs.h"

#include <cstddef>
#include <cstdint>

// What a record word stands for: `width` bits of a 32-bit option word from bit `shift` (a check box, a
// radio group or a list position), a whole number, or nothing the engine moves (a button, or a control
// the page's own procedure fills).
enum PrefsBindKind : uint8_t { PREFS_BITS, PREFS_NUMBER, PREFS_OWN };

struct PrefsBinding {
    PrefsBindKind kind;
    void *word;
    uint8_t shift;
    uint8_t width;
};

constexpr PrefsBinding PrefsBit(uint32_t *word, int bit) {
    return {PREFS_BITS, word, (uint8_t)bit, 1};
}
constexpr PrefsBinding PrefsField(uint32_t *word, int shift, int width) {
    return {PREFS_BITS, word, (uint8_t)shift, (uint8_t)width};
}
constexpr PrefsBinding PrefsNumber(void *word) {
    return {PREFS_NUMBER, word, 0, 32};
}
constexpr PrefsBinding PrefsOwn() {
    return {PREFS_OWN, nullptr, 0, 0};
}

template <size_t N>
constexpr int32_t PrefsCount(const PrefsBinding (&)[N]) {
    return (int32_t)N;
}

struct PrefsPageDesc {
    int32_t id; // a command index
    const char *title;
    const PrefsBinding *bindings;
    int32_t count;
    // Each may be null. create runs after the bindings filled the record; apply before they are stored back
    // (it may still change the record); changed answers a control's change while the page is open.
    void (*create)(PrefsRecord *record);
    void (*changed)(PrefsRecord *record, int32_t control);
    bool (*enabled)(const PrefsRecord *record, int32_t control);
    void (*apply)(PrefsRecord *record);
    void (*cancel)(PrefsRecord *record);
};

void PrefsPageFill(const PrefsPageDesc *page, PrefsRecord *record);
void PrefsPageStore(const PrefsPageDesc *page, const PrefsRecord *record);
// One control's word stored into its option word (a change that takes effect at once).
void PrefsPageStoreOne(const PrefsPageDesc *page, const PrefsRecord *record, int32_t control);
// The Yes of a question box.
bool PrefsPageAskYes(const char *text);
// A page changed the display: OK redraws every window.
void PrefsPageNoteDisplay();
// Another command asked for a language: the sheet opens at the Languages page alone.
bool PrefsLangRequested();

extern const PrefsPageDesc prefsLanguagesPage;
extern const PrefsPageDesc prefsDisplayPage;
extern const PrefsPageDesc prefsColorsPage;
extern const PrefsPageDesc prefsFormattingPage;
extern const PrefsPageDesc prefsDecorationsPage;
