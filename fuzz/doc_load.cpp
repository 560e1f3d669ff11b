// Fuzz target: loading arbitrary bytes as a text file into a file buffer. The first input byte chooses
// whether ^Z ends the text; the rest is the file. Expected: the line store holds together (runs sorted, the
// sentinel at the line count, long lines alone in their runs); no line is longer than 4,092 characters; the
// stored bytes of the buffer are the text (before any ^Z) plus the CR LF added to a last line without a line
// end; saving in the file's own style by byte copy (files of CR LF or of no line ends) gives the text back.
#include "base/erc.h"
#include "base/file.h"
#include "doc/doc.h"
#include "doc/docfetch.h"
#include "doc/docfile.h"
#include "doc/dochook.h"
#include "support/fuzz.h"

#include <cstring>
#include <string>

static DocOptions fuzzOptions;
static int fuzzTemps;

static int FuzzMakeTemp(char *outPath) {
    std::string path = FuzzWriteFile(("tf" + std::to_string(++fuzzTemps)).c_str(), nullptr, 0);
    if (outPath) snprintf(outPath, 256, "%s", path.c_str());
    return FileOpen(path.c_str(), FILE_OPEN_EXISTING);
}

static const DocOptions *FuzzOptions() {
    return &fuzzOptions;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    DocShellHook shell = *DocShellNeutral();
    shell.makeTempFile = FuzzMakeTemp;
    shell.options = FuzzOptions;
    DocSetShellHook(&shell);
    return 0;
}

static std::string FuzzSaved(FileBuffer *doc) {
    std::string path = FuzzWriteFile("saved.txt", nullptr, 0);
    int file = FileOpen(path.c_str(), FILE_OPEN_EXISTING);
    FuzzCheck(file >= 0 && DocWriteText(doc, file, doc->eol, false), "the buffer is written");
    std::string bytes(FileGetSize(file), '\0');
    FileSeek(file, 0);
    FuzzCheck(FileReadExact(file, bytes.data(), (int32_t)bytes.size()), "the written file reads back");
    FileClose(file);
    return bytes;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    fuzzOptions.ctrlZEndsText = data[0] & 1;
    std::string text((const char *)data + 1, size - 1);
    std::string path = FuzzWriteFile("input.txt", (const uint8_t *)text.data(), text.size());
    FuzzCheck(ScratchFileCreate(), "the scratch file is made");
    FileBuffer *doc = DocLoadFile(path.c_str(), -1, false);
    FuzzCheck(doc != nullptr, "the file loads");
    FuzzCheck(DocStoreCheck(doc), "the line store holds together");
    LineRecord record;
    for (int32_t line = 0; line < doc->lnMac; line++) {
        GetLine(doc, line, &record);
        FuzzCheck(record.length >= 0 && record.length <= LINE_TEXT_MAX && record.text[record.length] == 0,
                  "a line is at most 4,092 characters and ends with a NUL");
    }
    size_t end = fuzzOptions.ctrlZEndsText ? text.find('\x1A') : std::string::npos;
    std::string body = end == std::string::npos ? text : text.substr(0, end);
    bool added = doc->lnMac > 0 && !(doc->flags & DOC_LAST_LINE_ENDED) && !body.empty();
    if (!text.empty())
        FuzzCheck(DocByteSize(doc) == body.size() + (added ? 2 : 0), "the stored bytes are the text");
    if (doc->eol == EOL_CRLF || doc->eol == EOL_NONE) {
        std::string expected = (doc->flags & DOC_CTRL_Z) ? body + "\x1A" : body;
        FuzzCheck(FuzzSaved(doc) == expected, "the byte copy gives the text back");
    }
    DocFree(doc, false);
    ScratchFileClose(false);
    ErcClear();
    return 0;
}
