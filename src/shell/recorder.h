// recorder: the keystroke recorder (prefixes Recording, Recorder). The dispatcher feeds the recording with
// every global command while recording is on, takes a failed command out again, and stops the recording when
// a command of a window of its own runs. For now recording only nests on and off: nothing is kept yet, so
// there is never a recording to play.
#pragma once

#include <cstdint>

bool IsRecording();      // recording is on (state bit 0x2000)
bool RecordingHasData(); // a recording exists to play (state bit 0x4000)
void RecordingBegin();   // raises the nesting count
void RecordingEnd();     // lowers it
void RecordingStop();    // ends a running recording at every nesting level
void RecordingAddCommand(int32_t command);
void RecordingRemoveLast();
