// Helpers of the string tests: buffers with guard bytes behind them, length-prefixed strings to and from
// std::string, and the sign of a comparison.
#pragma once

#include <cstring>
#include <string>

inline int Sign(int v) {
    return (v > 0) - (v < 0);
}

// A buffer of the given size followed by guard bytes, to catch any write past the size.
struct Guarded {
    char bytes[600];
    int size;
    explicit Guarded(int size_, const char *text = "") : size(size_) {
        memset(bytes, '#', sizeof bytes);
        strcpy(bytes, text);
    }
    bool Intact() const {
        for (int i = size; i < size + 16; i++)
            if (bytes[i] != '#') return false;
        return true;
    }
};

inline std::string Pstr(const unsigned char *p) {
    return std::string((const char *)p + 1, p[0]);
}

inline void MakePstr(const std::string &s, unsigned char *p) {
    p[0] = (unsigned char)s.size();
    memcpy(p + 1, s.data(), s.size());
}
