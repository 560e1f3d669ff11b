// docproj: project membership (prefix Doc).
#include "doc/docproj.h"

#include "base/file.h"
#include "doc/dochook.h"

void DocSetProject(FileBuffer *doc, int32_t slot, int32_t fileIndex) {
    if (doc->iProj >= 0 && doc->ptgl) DocSymbol().tglSetDirtyMark(doc->ptgl, 0);
    doc->iProj = slot;
    doc->ifileProj = slot >= 0 ? fileIndex : -1;
    bool bit27 = slot >= 0 && (DocSymbol().projFlags(slot) & DOC_PROJ_BIT27);
    doc->flags = bit27 ? doc->flags | DOC_PROJECT_BIT27 : doc->flags & ~DOC_PROJECT_BIT27;
}

void DocJoinProject(FileBuffer *doc, int32_t slot) {
    char name[256];
    DocGetFileName(doc, name);
    int32_t index = doc->fn >= 0 && slot >= 0 ? DocSymbol().projFindFile(slot, name) : -1;
    if (index < 0) {
        DocSetProject(doc, -1, -1);
    } else {
        DocSetProject(doc, slot, index);
        if (DocSymbol().projFlags(slot) & DOC_PROJ_READONLY) {
            FileForceReadOnly(doc->fn);
            doc->flags |= DOC_READONLY;
        }
    }
    DocDisplay().retitleDocSw(doc);
}

void DocsJoinProject(int32_t slot) {
    for (FileBuffer *doc = nullptr; DocIterNext(&doc);) DocJoinProject(doc, slot);
}

int DocUpdateProjectSymbols(FileBuffer *doc) {
    return doc->iProj < 0 || DocSymbol().projUpdateFile(doc->iProj, doc);
}

bool DocChangedSinceParse(FileBuffer *doc, bool fCheckFile) {
    return doc->iProj >= 0 && doc->fn >= 0 && DocSymbol().projFileChanged(doc->iProj, doc, fCheckFile);
}

void DocSetProjParseState(FileBuffer *doc, int reparse, int other) {
    DocSymbol().projSetFileParseState(doc->iProj, doc, reparse, other);
    if (reparse == -1) return;
    doc->flags = reparse ? doc->flags | DOC_PROJ_REPARSE : doc->flags & ~DOC_PROJ_REPARSE;
}
