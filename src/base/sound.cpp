// sound: beeps (prefix Sound). Every beep passes SoundMessageBeep, which stays silent while the mute counter
// is above 0, and for the question beep also when the user's sound scheme gives "SystemQuestion" no sound.
#include "base/sound.h"

#include "base/seam.h"
#include "base/tick.h"

#include <cstring>

enum { SOUND_PLAIN = 0, SOUND_SERIES_MAX = 10, SOUND_SERIES_GAP_MS = 125, SOUND_DOUBLE_GAP_MS = 166 };

static int32_t soundMuteCount;
static SoundBeepHook soundTestHook;

static void SoundResetSeams() {
    soundTestHook = nullptr;
}

void SoundSetTestHook(SoundBeepHook hook) {
    soundTestHook = hook;
    SeamRegisterReset(SoundResetSeams);
}

void SoundMute() {
    soundMuteCount++;
}
void SoundUnmute() {
    soundMuteCount--;
}

static int SoundQuestionSilenced() {
    char scheme[256];
    GetProfileStringA("Sounds", "SystemQuestion", "", scheme, sizeof scheme);
    return strstr(scheme, "<none>,") != nullptr;
}

int SoundMessageBeep(UINT type) {
    if (soundMuteCount > 0) return 0;
    if (type == MB_ICONQUESTION && SoundQuestionSilenced()) return 0;
    return soundTestHook ? soundTestHook(type) : MessageBeep(type);
}

void SoundBeepKind(int kind) {
    switch (kind) {
    case 3:
    case 4:
    case 5: SoundMessageBeep(MB_ICONHAND); break;
    case 6:
    case 12: SoundMessageBeep(MB_ICONEXCLAMATION); break;
    case 11:
        SoundMessageBeep(SOUND_PLAIN);
        TickBusyWait(SOUND_DOUBLE_GAP_MS);
        SoundMessageBeep(MB_ICONEXCLAMATION);
        break;
    case 13: SoundMessageBeep(SOUND_PLAIN); break;
    }
}

void SoundBeep() {
    SoundBeepKind(3);
}

void SoundBeepSeries(int n) {
    if (soundMuteCount > 0) return;
    if (n < 1) n = 1;
    if (n > SOUND_SERIES_MAX) n = SOUND_SERIES_MAX;
    for (int i = 0; i < n; i++) {
        if (i > 0) TickBusyWait(SOUND_SERIES_GAP_MS);
        SoundMessageBeep(SOUND_PLAIN);
    }
}
