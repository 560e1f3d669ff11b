// Helpers of the string-list tests: items as {string, value} entries to compare with a model, and lists
// made from a few strings (values 1, 2, ... in order).
#pragma once

#include "base/stl.h"

#include <cctype>
#include <string>
#include <vector>

struct StlEntry {
    std::string s;
    int32_t v;
    bool operator==(const StlEntry &o) const { return s == o.s && v == o.v; }
};

inline std::string StlItemString(const unsigned char *item) {
    const unsigned char *p = StlItemPstr(item);
    return std::string((const char *)p + 1, p[0]);
}

inline std::vector<StlEntry> StlEntries(const Stl *list) {
    std::vector<StlEntry> entries;
    for (int32_t i = 0; i < StlCount(list); i++)
        entries.push_back({StlItemString(StlItem(list, i)), StlItemValue(StlItem(list, i))});
    return entries;
}

inline std::vector<std::string> StlStrings(const Stl *list) {
    std::vector<std::string> strings;
    for (const StlEntry &e : StlEntries(list)) strings.push_back(e.s);
    return strings;
}

inline Stl *StlOf(const std::vector<const char *> &strings, int32_t buckets = 0) {
    Stl *list = StlCreateEx(0, buckets);
    int32_t v = 1;
    for (const char *s : strings) StlAppendSz(list, s, v++);
    return list;
}

inline std::string StlLower(std::string s) {
    for (char &c : s) c = (char)tolower((unsigned char)c);
    return s;
}
