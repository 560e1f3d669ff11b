// tlu: the symbol layer's lookup records and their lists (prefix Tlu).
#include "symbols/tlu.h"

void TluListFree(Plex *list) {
    PlexFree(list);
}
