// version: the program's version (prefix Version): one 32-bit word, major version in bits 24-31, minor in
// bits 16-23, build in bits 0-15, which the configuration file also stores as its writer's version, and the
// text that the About window, the log's start and end lines and HTML export show.
#pragma once

#include <cstdint>

enum : uint32_t { VERSION_WORD = 0x03320040 }; // 3.50, build 64

enum { VERSION_TEXT_SIZE = 64 }; // holds the whole version text

int32_t VersionMajor();
int32_t VersionMinor();
int32_t VersionBuild();
// "Version 3.50.0064  Built on  Jun-24-09": the build date keeps its own leading blank. Cut to the size.
void VersionText(char *buffer, int size);
