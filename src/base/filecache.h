// filecache: the block disk cache (prefix FileCache). Fixed 8 KB blocks of open files that
// are neither mapped nor direct, kept in least-recently-used order; dirty blocks go back in file order and in
// runs of up to 7 adjacent blocks; a run of blocks can be loaded at once for whole-file reads.
#pragma once

#include "base/file.h"

#include <cstdint>

enum {
    FILE_BLOCK_SHIFT = 13,
    FILE_BLOCK_SIZE = 1 << FILE_BLOCK_SHIFT, // 8192
    FILE_CACHE_MAX_BLOCKS = 128,
    FILE_CACHE_DEFAULT_KB = 1024,
    FILE_CACHE_FREE = 0xFFFF, // file number of a free block
};

extern const char ercFileCacheMemory[]; // "Out of memory for disk cache."

int FileCacheInit(int32_t sizeKB);
int FileCacheResize(int32_t sizeKB);
void FileCacheTerm();
bool FileCacheIsReady();
int32_t FileCacheBlockCount();
int32_t FileCacheBlocksFor(int32_t sizeKB); // clamp(ceil(KB x 1024 / 8192), 2, 128)

// The 8192 bytes of block `block` of the file, marked dirty with fWrite; null when it cannot be had or its
// last read failed. Valid until the next call into the cache.
char *FileCacheGetBlock(int file, uint32_t block, bool forWrite);
int FileCacheFlushFile(int file);
int FileCacheReadAhead(int file, uint32_t firstBlock);
void FileCacheDropFile(int file);
void FileCacheSwapFiles(int a, int b); // every block of a becomes b's and the other way round
void FileCacheQuietBegin(int file);
void FileCacheQuietEnd();
void FileCacheSetGather(bool on);
bool FileCacheGather();

// The lock test of start-up: whether byte locks work in the current directory.
bool FileLockWorks();

// Test seams and the invariant check: the cache index holding a block (-1 none; no stamp changes), the use
// counter (to test its wrap-around), and a consistency check of descriptors and hash chains.
int32_t FileCacheLookup(int file, uint32_t block);
void FileCacheSetCounter(uint32_t counter);
int FileCacheCheck();
