// seam: the registry of the modules' seam resets. A fixed table: a module registers one function, and
// there are far fewer modules than slots; a registration past the end is refused loudly in debug builds
// and dropped otherwise, so that a reset can never write past the table.
#include "base/seam.h"

#include <cassert>

enum { SEAM_MAX = 128 };

static SeamResetFn seamResets[SEAM_MAX];
static int seamCount;

void SeamRegisterReset(SeamResetFn reset) {
    for (int i = 0; i < seamCount; i++)
        if (seamResets[i] == reset) return;
    assert(seamCount < SEAM_MAX);
    if (seamCount < SEAM_MAX) seamResets[seamCount++] = reset;
}

void SeamResetAll() {
    // A reset may register again (it calls a setter); the count read each turn covers that.
    for (int i = 0; i < seamCount; i++) seamResets[i]();
}

void SeamFaultSet(SeamFault *fault, int n, int count) {
    fault->countdown = n > 0 ? n : 0;
    fault->count = n > 0 ? count : 0;
}

bool SeamFaultHit(SeamFault *fault) {
    if (fault->countdown <= 0) return false;
    if (fault->countdown > 1) {
        fault->countdown--;
        return false;
    }
    if (fault->count == 0) {
        fault->countdown = 0;
        return false;
    }
    if (fault->count > 0 && --fault->count == 0) fault->countdown = 0;
    return true;
}
