// win: system probing, window utilities and the input-pending test (prefixes Sys, Win, Input).
#include "base/win.h"

static int winBackgroundWork;

void BackgroundWorkBegin() {
    winBackgroundWork++;
}
void BackgroundWorkEnd() {
    winBackgroundWork--;
}
int IsBackgroundWork() {
    return winBackgroundWork > 0;
}
