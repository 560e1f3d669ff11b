// instblock: the request block that one running instance hands to another (prefix InstBlock), and the entry
// a received request waits in. The block is exchanged between processes, so its layout is fixed:
// little-endian 32-bit words, exactly 16 + length bytes, zero-filled before the fields are written.
//
//   offset  0  u32  request code
//   offset  4  u32  the sender's frame window (the 32 bits a window handle holds); answers go there
//   offset  8  u32  the low 32 bits of the data's address in the sender's own view: the sender's
//                   bookkeeping, never read by a receiver
//   offset 12  u32  length of the data in bytes
//   offset 16       the data
//
// A receiver trusts nothing in it: the length is bounded by the view it mapped, and the copy it keeps always
// ends with a NUL, so that texts sent without one are terminated.
#pragma once

#include <cstddef>
#include <cstdint>

struct InstanceRequestHeader {
    uint32_t code;
    uint32_t window;
    uint32_t address;
    uint32_t length;
};
static_assert(sizeof(InstanceRequestHeader) == 16, "the request header is four 32-bit words");

enum : uint32_t {
    INSTBLOCK_HEADER_SIZE = 16,
    INSTBLOCK_DATA_MAX = 0x1000000, // 16 MB: the most a request carries
};

// A received request as it waits in the queue; in memory only. 16 bytes on 32-bit systems, in this order;
// the data pointer grows on 64-bit.
struct InstanceEntry {
    int32_t code;
    uint32_t window; // the sender's frame window
    char *data;      // a private copy of the data followed by a NUL; null when the block could not be read
    uint32_t length; // bytes of data, the NUL not counted
};
static_assert(sizeof(void *) != 4 || sizeof(InstanceEntry) == 16, "an entry is 16 bytes on 32-bit systems");

// The size of the block for length bytes of data; 0 when the data is longer than INSTBLOCK_DATA_MAX.
uint32_t InstBlockSize(uint32_t length);
// Writes a request into a block of InstBlockSize(length) bytes.
void InstBlockWrite(void *block, uint32_t code, uint32_t window, uint32_t address, const void *data,
                    uint32_t length);
// Reads the block at the start of a view of viewSize bytes. True with the fields and a private copy of the
// data; false, and an entry without data (all zero), when the view is shorter than the header, the length
// passes the view or the copy cannot be had.
bool InstBlockRead(const void *view, size_t viewSize, InstanceEntry *out);
void InstBlockFreeEntry(InstanceEntry *entry); // frees the data copy; the entry is left without data
