// The menu bar of the configuration tests and the fuzz target: plain lists behind the configuration's menu
// hooks, without the window library.
#pragma once

#include "base/heap.h"
#include "shell/cfgmenu.h"

#include <cstring>
#include <vector>

namespace cfgbar {

using Menus = std::vector<std::vector<int32_t>>;

// The menu bar behind the hooks.
inline Menus cfgTestBar;

inline int32_t CfgTestMenuCount() {
    return (int32_t)cfgTestBar.size();
}

inline int32_t *CfgTestMenuCommands(int32_t menu, int32_t *count) {
    const std::vector<int32_t> &items = cfgTestBar[menu];
    *count = (int32_t)items.size();
    int32_t *out = (int32_t *)MemAlloc((items.size() + 1) * sizeof(int32_t));
    if (out && !items.empty()) memcpy(out, items.data(), items.size() * sizeof(int32_t));
    return out;
}

inline bool CfgTestMenuInstall(const ConfigMenuSet *set) {
    cfgTestBar.clear();
    for (int32_t m = 0; m < set->count; m++)
        cfgTestBar.emplace_back(set->menus[m].items, set->menus[m].items + set->menus[m].count);
    return true;
}

inline void CfgTestMenuClear() {
    cfgTestBar.clear();
}

inline const ConfigMenuHooks cfgTestMenuHooks = {
    .count = CfgTestMenuCount,
    .commands = CfgTestMenuCommands,
    .install = CfgTestMenuInstall,
    .clear = CfgTestMenuClear,
};

} // namespace cfgbar
