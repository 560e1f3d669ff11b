// Fuzz target: plex operations driven by the input bytes, checked after every step against a byte vector
// doing the same. The input chooses the element size, the header size, the first capacity and the flags,
// then a run of operations with their arguments: insert (from a source or zero-filled), the three
// deletions, count changes, clear, trim, growth settings, sorting and searching, duplicates, and growth
// with the nth allocation failing. Expected after each: PlexCheck holds, the elements equal the model's,
// and the caller's header bytes behind the plex fields are untouched.
#include "base/erc.h"
#include "base/heap.h"
#include "base/plex.h"
#include "support/fuzz.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <vector>

enum { FUZZ_EXTRA_HEADER = 24, FUZZ_MAX_RUN = 40 };

struct PlexModel {
    Plex *plex;
    int32_t elemSize;
    int32_t headerSize;
    std::vector<uint8_t> bytes; // count x element size
    bool sorted;                // the elements are in PlexSortInt order
};

static int32_t ModelCount(const PlexModel &m) {
    return (int32_t)(m.bytes.size() / m.elemSize);
}

static void ModelCheck(const PlexModel &m) {
    FuzzCheck(PlexCheck(m.plex) == 1, "PlexCheck holds");
    FuzzCheck(PlexCount(m.plex) == ModelCount(m), "the count follows the model");
    FuzzCheck(m.bytes.empty() || memcmp(PlexElem(m.plex, 0), m.bytes.data(), m.bytes.size()) == 0,
              "the elements follow the model");
    const uint8_t *extra = (const uint8_t *)m.plex + sizeof(Plex);
    for (int32_t i = 0; i < m.headerSize - (int32_t)sizeof(Plex); i++)
        FuzzCheck(extra[i] == (uint8_t)(0xA0 + i), "the caller's header bytes are untouched");
}

static int32_t FirstWord(const uint8_t *elem) {
    int32_t v;
    memcpy(&v, elem, 4);
    return v;
}

static int PlexFuzzCompare(const void *key, const void *elem) {
    int32_t a = FirstWord((const uint8_t *)key), b = FirstWord((const uint8_t *)elem);
    return a < b ? -1 : a > b;
}

static void OpInsert(PlexModel &m, FuzzedDataProvider &in, bool failing) {
    int32_t count = ModelCount(m);
    int32_t index = in.ConsumeIntegralInRange<int32_t>(-1, count);
    int32_t n = in.ConsumeIntegralInRange<int32_t>(0, FUZZ_MAX_RUN);
    bool zero = in.ConsumeBool();
    std::vector<uint8_t> source = in.ConsumeBytes<uint8_t>((size_t)n * m.elemSize);
    source.resize((size_t)n * m.elemSize);
    if (failing) HeapFailNth(in.ConsumeIntegralInRange(1, 2));
    uint8_t *at = (uint8_t *)PlexInsert(m.plex, index, n, zero ? nullptr : source.data());
    HeapFailNth(0);
    if (!at) {
        FuzzCheck(failing, "an insertion fails only when memory does");
        FuzzCheck(ErcGet() == ercLowMemory, "a failed insertion sets Low Memory");
        ErcClear();
        return;
    }
    if (index < 0) index = count;
    FuzzCheck(at == PlexElem(m.plex, index), "insertion returns its first element");
    if (zero) std::fill(source.begin(), source.end(), 0);
    m.bytes.insert(m.bytes.begin() + (size_t)index * m.elemSize, source.begin(), source.end());
    m.sorted = m.sorted && n == 0;
}

static void OpDelete(PlexModel &m, FuzzedDataProvider &in, int how) {
    int32_t count = ModelCount(m);
    int32_t index = in.ConsumeIntegralInRange<int32_t>(0, count);
    int32_t n = in.ConsumeIntegralInRange<int32_t>(0, count - index);
    if (how == 0)
        FuzzCheck(PlexDelete(m.plex, index, n) == 1, "a deletion succeeds");
    else if (how == 1)
        FuzzCheck(PlexDeleteAt(m.plex, PlexElem(m.plex, index), n) == 1, "a deletion at an element succeeds");
    else
        PlexDeleteKeep(m.plex, index, n);
    auto first = m.bytes.begin() + (size_t)index * m.elemSize;
    m.bytes.erase(first, first + (size_t)n * m.elemSize);
}

// Elements gained by a count change are not initialised: the model writes them through PlexElem.
static void OpSetCount(PlexModel &m, FuzzedDataProvider &in) {
    int32_t count = ModelCount(m);
    int32_t wanted = in.ConsumeIntegralInRange<int32_t>(0, count + FUZZ_MAX_RUN);
    FuzzCheck(PlexSetCount(m.plex, wanted) == 1, "a count change succeeds");
    m.bytes.resize((size_t)wanted * m.elemSize, 0x5C);
    if (wanted > count) {
        memset(PlexElem(m.plex, count), 0x5C, (size_t)(wanted - count) * m.elemSize);
        m.sorted = false;
    }
}

static void OpSort(PlexModel &m) {
    if (m.elemSize < 4) return;
    PlexSortInt(m.plex);
    std::vector<uint8_t> now((uint8_t *)PlexElem(m.plex, 0), (uint8_t *)PlexEnd(m.plex));
    std::vector<std::vector<uint8_t>> was, got;
    for (size_t i = 0; i < m.bytes.size(); i += m.elemSize) {
        was.emplace_back(m.bytes.begin() + i, m.bytes.begin() + i + m.elemSize);
        got.emplace_back(now.begin() + i, now.begin() + i + m.elemSize);
        FuzzCheck(i == 0 || FirstWord(&now[i - m.elemSize]) <= FirstWord(&now[i]), "the sort orders");
    }
    std::sort(was.begin(), was.end());
    std::sort(got.begin(), got.end());
    FuzzCheck(was == got, "the sort keeps the elements");
    m.bytes = now;
    m.sorted = true;
}

static void OpSearch(PlexModel &m, FuzzedDataProvider &in) {
    if (!m.sorted) return;
    uint8_t key[4];
    int32_t word = in.ConsumeIntegral<int32_t>();
    memcpy(key, &word, 4);
    int32_t at = -1;
    int found = PlexSearch(m.plex, key, &at, PlexFuzzCompare);
    int32_t count = ModelCount(m);
    FuzzCheck(at >= 0 && at <= count, "the search index lies in 0..count");
    if (found) {
        FuzzCheck(at < count && FirstWord((uint8_t *)PlexElem(m.plex, at)) == word,
                  "a found element is equal");
        return;
    }
    FuzzCheck(at == count || FirstWord((uint8_t *)PlexElem(m.plex, at)) > word, "the place is before larger");
    FuzzCheck(at == 0 || FirstWord((uint8_t *)PlexElem(m.plex, at - 1)) < word, "the place is after smaller");
}

static void OpDup(PlexModel &m) {
    Plex *dup = PlexDup(m.plex, m.headerSize);
    FuzzCheck(dup != nullptr, "a duplicate is made");
    PlexModel copy = m;
    copy.plex = dup;
    ModelCheck(copy);
    FuzzCheck(dup->capacity == dup->count && dup->quantum == m.plex->quantum, "a duplicate is trimmed");
    PlexFree(dup);
}

static void OpStep(PlexModel &m, FuzzedDataProvider &in) {
    switch (in.ConsumeIntegralInRange(0, 11)) {
    case 0: OpInsert(m, in, false); break;
    case 1: OpInsert(m, in, true); break;
    case 2: OpDelete(m, in, 0); break;
    case 3: OpDelete(m, in, 1); break;
    case 4: OpDelete(m, in, 2); break;
    case 5: OpSetCount(m, in); break;
    case 6:
        PlexClear(m.plex);
        m.bytes.clear();
        m.sorted = true;
        break;
    case 7: PlexTrim(m.plex); break;
    case 8: PlexSetGrowthEx(m.plex, in.ConsumeIntegralInRange(0, 30), in.ConsumeBool()); break;
    case 9: OpSort(m); break;
    case 10: OpSearch(m, in); break;
    case 11: OpDup(m); break;
    }
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider in(data, size);
    PlexModel m = {};
    m.elemSize = in.ConsumeIntegralInRange(1, 12);
    m.headerSize = (int32_t)sizeof(Plex) + in.ConsumeIntegralInRange(0, (int)FUZZ_EXTRA_HEADER);
    m.plex = PlexCreateEx(m.headerSize, m.elemSize, in.ConsumeIntegralInRange(0, 20), in.ConsumeBool());
    FuzzCheck(m.plex != nullptr, "a plex is made");
    m.sorted = true;
    uint8_t *extra = (uint8_t *)m.plex + sizeof(Plex);
    for (int32_t i = 0; i < m.headerSize - (int32_t)sizeof(Plex); i++) extra[i] = (uint8_t)(0xA0 + i);
    ModelCheck(m);
    while (in.remaining_bytes() > 0) {
        OpStep(m, in);
        ModelCheck(m);
    }
    PlexFree(m.plex);
    ErcClear();
    return 0;
}
