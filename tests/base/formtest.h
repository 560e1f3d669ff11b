// Stored forms as bytes, for the readers' tests: what a writer puts in a fresh file, and a reader run over
// patched or cut copies of such bytes.
#pragma once

#include "base/file.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

typedef std::vector<unsigned char> FormBytes;

inline std::string FormPath() {
    static int n;
    return VxTempDir() + "\\form" + std::to_string(++n) + ".bin";
}

inline FormBytes FormWrite(const std::function<int(int)> &write) {
    std::string path = FormPath();
    int f = FileOpen(path.c_str(), FILE_OPEN_CREATE);
    EXPECT_GE(f, 0);
    EXPECT_EQ(write(f), 1);
    FormBytes bytes(FileGetSize(f));
    FileSeek(f, 0);
    if (!bytes.empty()) {
        EXPECT_TRUE(FileReadExact(f, bytes.data(), (int32_t)bytes.size()));
    }
    FileClose(f);
    return bytes;
}

// Runs the reader on a fresh file holding the bytes, from its start; also reports where the reader stopped.
template <class Read>
auto FormRead(const FormBytes &bytes, Read read, uint32_t *outPosition = nullptr) {
    std::string path = FormPath();
    int f = FileOpen(path.c_str(), FILE_OPEN_CREATE);
    EXPECT_GE(f, 0);
    if (!bytes.empty()) {
        EXPECT_TRUE(FileWriteExact(f, bytes.data(), (int32_t)bytes.size()));
    }
    FileSeek(f, 0);
    auto result = read(f);
    if (outPosition) *outPosition = FileTell(f);
    FileClose(f);
    return result;
}

inline void FormPut32(FormBytes &bytes, size_t at, int32_t v) {
    for (int i = 0; i < 4; i++) bytes[at + i] = (unsigned char)((uint32_t)v >> (8 * i));
}

// A corrupt copy: cut to length at, or with the word at at replaced by value.
inline FormBytes FormPatch(const FormBytes &good, size_t at, int32_t value, bool cut) {
    FormBytes bad = good;
    if (cut)
        bad.resize(at);
    else
        FormPut32(bad, at, value);
    return bad;
}

inline int32_t FormGet32(const FormBytes &bytes, size_t at) {
    return (int32_t)(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | (uint32_t)bytes[at + 3] << 24);
}
