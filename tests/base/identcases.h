// The identifier-order fixture every sorted container is checked with: names in a shuffled order, the order a
// sort in identifier order gives them, and searches in that sorted order with their results.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline const std::vector<const char *> identShuffled = {"_b", "__abc", "ABD", "b", "abc", "_abc"};
inline const std::vector<std::string> identSorted = {"abc", "_abc", "__abc", "ABD", "b", "_b"};

struct IdentSearch {
    const char *key;
    int found;
    int32_t index; // the match, or the insertion place
};
inline const IdentSearch identSearches[] = {
    {"ABC", 1, 0}, {"_ABD", 0, 4}, {"abd", 1, 3}, {"a", 0, 0}, {"zz", 0, 6}};
