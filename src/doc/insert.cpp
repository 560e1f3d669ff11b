// insert: typing and insertion, least form.
#include "doc/insert.h"

#include "doc/docedit.h"
#include "doc/docfetch.h"

// The typing line of the store is written out; the typing run's own state comes with typing.
int EndTypingRun() {
    FileBuffer *doc = DocEditLineBuffer();
    return !doc || DocFlushEditLine(doc);
}

int EnsureOneLine(FileBuffer *doc) {
    return doc->lnMac > 0 || InsertLineSz(doc, 0, "");
}
