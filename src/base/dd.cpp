// dd: the name dictionary (prefix Dd) over a string list of {value, name} items. Names are cut at 255
// characters alike when added and when looked up. Hashed: names are appended without a test for an existing
// one, and a find returns the one stored last. Sorted (no buckets): a name already present is refused.
#include "base/dd.h"

#include "base/utilil.h"

Stl *DdCreate(int32_t capacity, int32_t, int32_t buckets) {
    return StlCreateEx(capacity, buckets);
}

int DdAdd(Stl *dd, const char *name, const int32_t *value) {
    unsigned char pstr[256];
    PstrFromSz(name, pstr);
    int32_t index = -1;
    if (dd->bucketCount == 0 && StlSearchIdent(dd, pstr, &index)) return 0;
    return StlInsert(dd, index, pstr, *value);
}

unsigned char *DdFind(Stl *dd, const char *name) {
    unsigned char pstr[256];
    PstrFromSz(name, pstr);
    if (dd->bucketCount != 0) return StlFindPstr(dd, pstr, 0);
    int32_t index;
    return StlSearchIdent(dd, pstr, &index) ? StlItem(dd, index) : nullptr;
}

int DdLookup(Stl *dd, const char *name, int32_t *outValue) {
    unsigned char *item = DdFind(dd, name);
    if (!item) return 0;
    *outValue = StlItemValue(item);
    return 1;
}
