// os: the few operating-system facts that portable modules need, behind plain functions.
// The Windows build implements them with Win32 calls (os_win.cpp).
#pragma once

#include <cstdint>

uint32_t OsLastError();
