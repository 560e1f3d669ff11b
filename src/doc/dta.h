// dta: document types (prefix Dta, and the buffer-level option questions). Least form until the table of
// document types is built: every file name is of type 0 ("Default"), every type has language 0 and the
// default options, and no type is the macro language's.
#pragma once

#include <cstdint>

struct FileBuffer;

// An option entry (48 bytes), stored in configurations.
struct DtaOptions {
    uint32_t flags;    // DTA_*
    int32_t tabWidth;  // 1..20
    int32_t margin;    // 10..4092
    int32_t width2;    //
    int32_t reserved4; //
    int32_t reserved5; //
    int32_t language;  // language index
    int32_t customTag; // symbol type + 1, 0 none
    int32_t reserved[4];
};
static_assert(sizeof(DtaOptions) == 48, "a document type's options are twelve 32-bit words");

enum : uint32_t {
    DTA_WORD_WRAP = 1u << 0,
    DTA_NOT_IN_PROJECTS = 1u << 7,
    DTA_AUTO_INDENT_MASK = 3u << 15,
    DTA_DEFAULT_FLAGS = 0x6E8408,
};

void DtaOptionsDefault(DtaOptions *out);
int32_t DtaFindTypeForFile(const char *path);
int DtaFileMatchesType(const char *path, int32_t type);
int32_t DtaMacroTypeIndex(); // -1 when no type has the macro language
int32_t DtaTypeLanguage(int32_t type);
int32_t DtaTypeStamp(int32_t type);
// The options of a type; nonzero when the Default type's options were used.
int DtaGetOptions(int32_t type, DtaOptions *out);
int32_t DtaTabWidth(const FileBuffer *doc);
bool DtaAutoIndent(const FileBuffer *doc);
bool DtaTypeInProjects(int32_t type);
