// docproj: project membership (prefix Doc), least form.
#include "doc/docproj.h"

#include "doc/dochook.h"

void DocSetProjParseState(FileBuffer *doc, int reparse, int other) {
    DocSymbol().projSetFileParseState(doc->iProj, doc, reparse, other);
    if (reparse == -1) return;
    doc->flags = reparse ? doc->flags | DOC_PROJ_REPARSE : doc->flags & ~DOC_PROJ_REPARSE;
}

int DocUpdateProjectSymbols(FileBuffer *doc) {
    return doc->iProj < 0 || DocSymbol().projUpdateFile(doc->iProj, doc);
}
