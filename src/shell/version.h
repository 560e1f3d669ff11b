// version: the program's version word (prefix Version): the major version in bits 24 to 31, the minor in bits
// 16 to 23 and the build in bits 0 to 15, shown as "Version %d.%02d.%04d". Configuration files carry the
// version of the program that wrote them and the oldest version that may read them.
#pragma once

#include <cstdint>

enum : uint32_t { VX_VERSION = 0x03320040 }; // 3.50.0064

inline int32_t VersionMajor(uint32_t version) {
    return (int32_t)(version >> 24);
}
inline int32_t VersionMinor(uint32_t version) {
    return (int32_t)((version >> 16) & 0xFF);
}
inline int32_t VersionBuild(uint32_t version) {
    return (int32_t)(version & 0xFFFF);
}
