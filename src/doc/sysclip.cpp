// sysclip: the Windows clipboard mirror (prefix SysClip), least form.
#include "doc/sysclip.h"

static int32_t sysClipClaims;

void SysClipClaim() {
    sysClipClaims++;
}

int32_t SysClipClaimCount() {
    return sysClipClaims;
}
