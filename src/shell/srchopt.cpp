// srchopt: the search option records that the configuration keeps (prefixes SearchOptions,
// InitSearchOptions).
#include "shell/srchopt.h"

#include <cstring>

SearchOptions g_searchOptions[SEARCH_OPTIONS_COUNT];

void InitSearchOptions(SearchOptions *options, uint32_t kind) {
    memset(options, 0, sizeof *options);
    uint32_t flags = SEARCH_DEFAULT_FLAGS;
    uint32_t context = 1;
    if (kind == SEARCH_REGEX) flags |= SEARCH_REGEX_BIT;
    if (kind == SEARCH_KEYWORD) {
        flags |= SEARCH_WHOLE_WORDS;
        context = 3;
    }
    if (kind == SEARCH_REFERENCE) flags |= SEARCH_WHOLE_WORDS | SEARCH_BLANK_STRINGS;
    options->flags = flags;
    options->kind = (kind & 0xFF) | context << SEARCH_CONTEXT_SHIFT;
}

void SearchOptionsDefaults() {
    static const uint32_t kinds[SEARCH_OPTIONS_COUNT] = {SEARCH_SIMPLE, SEARCH_REFERENCE, SEARCH_KEYWORD,
                                                         SEARCH_REFERENCE};
    for (int32_t i = 0; i < SEARCH_OPTIONS_COUNT; i++) InitSearchOptions(&g_searchOptions[i], kinds[i]);
    SearchOptions *rename = &g_searchOptions[SEARCH_OPTIONS_RENAME];
    rename->flags =
        (rename->flags | SEARCH_SMART_REFERENCES) & ~(SEARCH_SKIP_COMMENTS | SEARCH_SKIP_INACTIVE);
}
