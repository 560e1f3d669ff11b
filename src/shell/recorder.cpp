// recorder: the keystroke recorder (prefixes Recording, Recorder): the recording's nesting count.
#include "shell/recorder.h"

static int32_t recordingNesting;

bool IsRecording() {
    return recordingNesting > 0;
}

bool RecordingHasData() {
    return false;
}

void RecordingBegin() {
    recordingNesting++;
}

void RecordingEnd() {
    if (recordingNesting > 0) recordingNesting--;
}

void RecordingStop() {
    recordingNesting = 0;
}

void RecordingAddCommand(int32_t) {}

void RecordingRemoveLast() {}
