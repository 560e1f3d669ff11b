// globalblock: the failure seam in front of the system's global heap.
#include "base/globalblock.h"

#include "base/seam.h"

static SeamFault globalBlockFault;

static void GlobalBlockResetSeams() {
    globalBlockFault = {};
}

void GlobalBlockFailNth(int n, int count) {
    SeamFaultSet(&globalBlockFault, n, count);
    SeamRegisterReset(GlobalBlockResetSeams);
}

void *GlobalBlockAlloc(size_t size) {
    if (SeamFaultHit(&globalBlockFault)) return nullptr;
    return GlobalBlockOsAlloc(size);
}

void GlobalBlockFree(void *block) {
    if (block) GlobalBlockOsFree(block);
}
