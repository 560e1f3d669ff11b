// instance: requests between running instances (prefix Instance). Received requests wait in a queue, a plex
// of entries created with the first request, until the idle chain processes them.
#include "shell/instance.h"

#include "base/plex.h"

static Plex *instanceQueue;

int32_t InstanceMsgPending() {
    return instanceQueue ? PlexCount(instanceQueue) : 0;
}
