// os_posix: what the POSIX back-ends of the native build share.
#pragma once

#include <string>

// The program's paths are in Windows form as in the Windows build; the system wants slashes and no drive.
std::string OsPosixPath(const char *path);
