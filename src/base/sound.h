// sound: the beeps that report refused actions (prefix Sound). A mute counter silences every beep while it is
// above 0.
#pragma once

#include <windows.h>

void SoundBeep(); // the error beep
// 3, 4, 5 error beep; 6, 12 warning beep; 11 plain beep, 166 ms, warning beep; 13 plain beep; others nothing.
void SoundBeepKind(int kind);
void SoundBeepSeries(int n);     // n plain beeps 125 ms apart, 1 to 10 of them
int SoundMessageBeep(UINT type); // 0 when muted or silenced, else the system's answer
void SoundMute();
void SoundUnmute();

// Test seam: while set, the hook sounds the beeps in place of the system.
typedef BOOL (*SoundBeepHook)(UINT type);
void SoundSetTestHook(SoundBeepHook hook);
