// instance: requests between running instances of the program (prefix Instance).
#pragma once

#include <cstdint>

// The number of requests from other instances waiting to be processed; 0 when none was ever received.
int32_t InstanceMsgPending();
