// os: POSIX answers for the portable modules in the native build, and what the POSIX back-ends share.
#include "base/os.h"
#include "base/os_posix.h"

#include <cctype>
#include <cerrno>
#include <ctime>
#include <map>
#include <string>

uint32_t OsLastError() {
    return (uint32_t)errno;
}

void OsGetLocalTime(OsDateTime *out) {
    time_t now = time(nullptr);
    struct tm t;
    localtime_r(&now, &t);
    *out = {(uint16_t)(t.tm_year + 1900), (uint16_t)(t.tm_mon + 1), (uint16_t)t.tm_mday,
            (uint16_t)t.tm_hour,          (uint16_t)t.tm_min,       (uint16_t)t.tm_sec};
}

// A drive letter names the root: "C:\a" is "/a", and "C:" alone the current folder.
std::string OsPosixPath(const char *path) {
    if (isalpha((unsigned char)path[0]) && path[1] == ':') path += 2;
    std::string name(*path ? path : ".");
    for (char &c : name)
        if (c == '\\') c = '/';
    return name;
}

// No registry here: the settings live for the run.
static std::map<std::string, int32_t> &OsSettings() {
    static std::map<std::string, int32_t> settings;
    return settings;
}

int OsSettingGetInt(const char *name, int32_t *out) {
    auto it = OsSettings().find(name);
    if (it == OsSettings().end()) return 0;
    *out = it->second;
    return 1;
}

int OsSettingSetInt(const char *name, int32_t value) {
    OsSettings()[name] = value;
    return 1;
}

int OsSettingDelete(const char *name) {
    return OsSettings().erase(name) > 0;
}
