// dta: document types (prefix Dta), least form: one Default type answers for every name.
#include "doc/dta.h"

#include "doc/doc.h"

#include <cstring>

enum { DTA_TAB_DEFAULT = 4, DTA_MARGIN_DEFAULT = 80 };

void DtaOptionsDefault(DtaOptions *out) {
    memset(out, 0, sizeof *out);
    out->flags = DTA_DEFAULT_FLAGS;
    out->tabWidth = DTA_TAB_DEFAULT;
    out->margin = DTA_MARGIN_DEFAULT;
    out->width2 = DTA_TAB_DEFAULT;
}

int32_t DtaFindTypeForFile(const char *) {
    return DOC_TYPE_DEFAULT;
}

int DtaFileMatchesType(const char *, int32_t) {
    return 0;
}

int32_t DtaMacroTypeIndex() {
    return -1;
}

int32_t DtaTypeLanguage(int32_t) {
    return 0;
}

int32_t DtaTypeStamp(int32_t) {
    return 0;
}

int DtaGetOptions(int32_t type, DtaOptions *out) {
    DtaOptionsDefault(out);
    if (type == DOC_TYPE_OUTPUT || type == DOC_TYPE_SEARCH_RESULTS) out->flags |= DTA_NOT_IN_PROJECTS;
    return 0;
}

int32_t DtaTabWidth(const FileBuffer *doc) {
    DtaOptions options;
    DtaGetOptions(doc->idta, &options);
    return options.tabWidth;
}

bool DtaAutoIndent(const FileBuffer *doc) {
    DtaOptions options;
    DtaGetOptions(doc->idta, &options);
    return (options.flags & DTA_AUTO_INDENT_MASK) != 0;
}

bool DtaTypeInProjects(int32_t type) {
    DtaOptions options;
    DtaGetOptions(type, &options);
    return type != DOC_TYPE_DEFAULT && !(options.flags & DTA_NOT_IN_PROJECTS);
}
