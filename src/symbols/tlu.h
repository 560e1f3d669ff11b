// tlu: the symbol layer's lookup records and their lists (prefix Tlu). Only the list release is here yet;
// the library frees the trees it builds through it.
#pragma once

#include "base/plex.h"

// Frees a list and its element block exactly as PlexFree; the list must not be null.
void TluListFree(Plex *list);
