// drag: the count of running drag loops (prefix Drag). The loop itself comes with dragging between windows;
// until then no drag ever runs.
#include "ui/drag.h"

#include <cstdint>

static int32_t dragRunning;

bool DragIsActive() {
    return dragRunning > 0;
}
