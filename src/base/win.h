// win: system probing, window utilities and the input-pending test for long work.
#pragma once

// Background work (parsing, synchronising) nests; alerts are skipped while it runs.
void BackgroundWorkBegin();
void BackgroundWorkEnd();
int IsBackgroundWork();
