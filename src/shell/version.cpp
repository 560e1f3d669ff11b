// version: the version word and its text (prefix Version).
#include "shell/version.h"

#include <cstdio>

static const char versionBuildDate[] = " Jun-24-09";

int32_t VersionMajor() {
    return (int32_t)(VERSION_WORD >> 24);
}

int32_t VersionMinor() {
    return (int32_t)((VERSION_WORD >> 16) & 0xFF);
}

int32_t VersionBuild() {
    return (int32_t)(VERSION_WORD & 0xFFFF);
}

void VersionText(char *buffer, int size) {
    if (size <= 0) return;
    snprintf(buffer, (size_t)size, "Version %d.%02d.%04d  Built on %s", (int)VersionMajor(),
             (int)VersionMinor(), (int)VersionBuild(), versionBuildDate);
}
