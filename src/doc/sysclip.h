// sysclip: the Windows clipboard mirror of the "Clipboard" buffer (prefix SysClip). Least form: the claim the
// change bookkeeping makes when the Clipboard buffer changes is counted; taking the system clipboard comes
// with the clipboard commands.
#pragma once

#include <cstdint>

void SysClipClaim();
int32_t SysClipClaimCount();
