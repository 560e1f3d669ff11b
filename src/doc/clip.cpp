// clip: clips (prefix Clip), least form.
#include "doc/clip.h"

static int32_t clipListChanges;

void ClipListChanged() {
    clipListChanges++;
}

int32_t ClipListChangeCount() {
    return clipListChanges;
}
