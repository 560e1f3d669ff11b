// srchopt: the search option records that the configuration keeps (prefixes SearchOptions, InitSearchOptions):
// four 20-byte records that live for the whole run, one for the searches and replaces of files, one for
// "Search Project...", one for "Lookup References..." and one for "Smart Rename...". The search subsystem
// reads and normalises them before each use; the configuration saves them whole (slot 5).
#pragma once

#include <cstdint>

struct SearchOptions {
    uint32_t flags;       // SEARCH_* bits
    uint32_t kind;        // low byte the SearchKind, bits 16-31 the lines of context
    uint32_t reserved[3]; // zero
};
static_assert(sizeof(SearchOptions) == 20, "a search options record is five words");

enum SearchKind : uint32_t {
    SEARCH_SIMPLE = 0,
    SEARCH_REGEX = 1,
    SEARCH_KEYWORD = 2,
    SEARCH_REFERENCE = 3,
};

enum : uint32_t {
    SEARCH_REGEX_BIT = 1u << 1,
    SEARCH_WHOLE_WORDS = 1u << 15,
    SEARCH_SKIP_COMMENTS = 1u << 21,
    SEARCH_SMART_REFERENCES = 1u << 23,
    SEARCH_SKIP_INACTIVE = 1u << 24,
    SEARCH_BLANK_STRINGS = 1u << 28,
    SEARCH_DEFAULT_FLAGS = 0x87298, // bits 3, 4, 7, 9, 12, 13, 14 and 19
    SEARCH_CONTEXT_SHIFT = 16,
};

enum SearchRecord : int32_t {
    SEARCH_OPTIONS_FILES = 0,
    SEARCH_OPTIONS_PROJECT = 1,
    SEARCH_OPTIONS_REFERENCES = 2,
    SEARCH_OPTIONS_RENAME = 3,
    SEARCH_OPTIONS_COUNT = 4,
};

extern SearchOptions g_searchOptions[SEARCH_OPTIONS_COUNT];

// The defaults of a kind: the default flags and one line of context; a regular expression adds its bit, a
// keyword search whole words and three lines of context, a reference search whole words and blanked strings.
void InitSearchOptions(SearchOptions *options, uint32_t kind);
// The four records at their defaults: kinds 0, 3, 2 and 3, the last with smart reference matching and
// without skipping comments or inactive code.
void SearchOptionsDefaults();
