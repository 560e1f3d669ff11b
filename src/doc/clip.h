// clip: clips and the clip window (prefix Clip). Least form: the clip list's change mark, which the change
// notice raises for clip buffers.
#pragma once

#include <cstdint>

void ClipListChanged();
int32_t ClipListChangeCount();
