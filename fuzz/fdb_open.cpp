// Fuzz target: record files of arbitrary bytes, as a crash or a damaged disk leaves them. The file is
// opened with the record size its own header names (within 4 to 1024 bytes); when it opens, every record
// in use is walked, the file is recovered, records are added, changed and deleted, and it is closed and
// opened again. Expected: a refused file leaves no open file behind; after recovery and after each change
// FdbCheck holds (the live count matches the records in use and the free list runs over every free record
// once); a cleanly closed file opens again with the same records.
#include "base/erc.h"
#include "base/file.h"
#include "base/filedb.h"
#include "support/fuzz.h"

#include <cstring>
#include <vector>

enum { FUZZ_SIGNATURE = 0x42445856, FUZZ_RECORD_MAX = 1024, FUZZ_CHANGES = 8 };

static int32_t FuzzRecordSize(const uint8_t *data, size_t size) {
    if (size < 24) return FDB_RECORD_MIN;
    int32_t named = (int32_t)(data[20] | data[21] << 8 | data[22] << 16 | (uint32_t)data[23] << 24);
    return named < FDB_RECORD_MIN || named > FUZZ_RECORD_MAX ? FDB_RECORD_MIN : named;
}

static int32_t FuzzWalk(Fdb *fdb, std::vector<uint8_t> &record) {
    int32_t seen = 0, last = -1;
    for (int32_t rn = FdbNextRecord(fdb, -1, record.data(), nullptr); rn >= 0;
         rn = FdbNextRecord(fdb, rn, record.data(), nullptr)) {
        FuzzCheck(rn > last && rn < FdbGetSlotCount(fdb), "the walk moves forward over the slots");
        last = rn;
        seen++;
    }
    return seen;
}

// Changes driven by the bytes: add, put, delete. Only a record in use is put: a put makes the record in use
// without taking it off the free list, which its callers never ask of it.
static void FuzzChange(Fdb *fdb, std::vector<uint8_t> &record, const uint8_t *data, size_t size) {
    for (size_t i = 0; i < size && i < FUZZ_CHANGES; i++) {
        int32_t slots = FdbGetSlotCount(fdb);
        int32_t rn = slots ? data[i] % slots : 0;
        switch (data[i] % 3) {
        case 0: FdbNewRecord(fdb, record.data()); break;
        case 1:
            if (FdbIsRecordInUse(fdb, rn, record.data())) FdbPutRecord(fdb, rn, record.data());
            break;
        case 2: FdbDeleteRecord(fdb, rn); break;
        }
        FuzzCheck(FdbCheck(fdb) == 1, "a change keeps the file sound");
    }
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string path = FuzzWriteFile("records.db", data, size);
    int32_t recordSize = FuzzRecordSize(data, size);
    std::vector<uint8_t> record(recordSize);
    int open = FileCountOpen();
    Fdb *fdb = FdbOpen(path.c_str(), FUZZ_SIGNATURE, 0, recordSize);
    if (!fdb) {
        FuzzCheck(FileCountOpen() == open, "a refused file is closed");
        ErcClear();
        FileErrorFlagsClear();
        return 0;
    }
    FuzzWalk(fdb, record);
    if (FdbRecover(fdb, nullptr)) {
        FuzzCheck(FdbCheck(fdb) == 1, "a recovered file is sound");
        FuzzCheck(FuzzWalk(fdb, record) == FdbRecordCount(fdb), "the walk meets every record in use");
        FuzzChange(fdb, record, data, size);
    }
    int32_t live = FdbRecordCount(fdb);
    FdbClose(fdb);
    FuzzCheck(FileCountOpen() == open, "closing frees the slot");
    fdb = FdbOpen(path.c_str(), FUZZ_SIGNATURE, 0, recordSize);
    FuzzCheck(fdb != nullptr, "a closed record file opens again");
    FuzzCheck(FdbRecordCount(fdb) == live, "the records survive a close");
    FdbClose(fdb);
    ErcClear();
    FileErrorFlagsClear();
    return 0;
}
