// textbuf: a growable text buffer (prefix TextBuf). The block grows by half again of what it needs, so a run
// of appends costs linear time; it never shrinks until freed.
#include "display/textbuf.h"

#include "base/erc.h"
#include "base/heap.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

enum { TEXTBUF_FIRST = 256, TEXTBUF_MAX = 0x3FFFFFFF };

void TextBufInit(TextBuf *buf) {
    memset(buf, 0, sizeof *buf);
}

void TextBufFree(TextBuf *buf) {
    MemFree(buf->text);
    TextBufInit(buf);
}

void TextBufClear(TextBuf *buf) {
    buf->length = 0;
    buf->failed = false;
    if (buf->text) buf->text[0] = 0;
}

bool TextBufReserve(TextBuf *buf, int32_t n) {
    if (buf->failed) return false;
    int64_t need = (int64_t)buf->length + n + 1;
    if (n < 0 || need > TEXTBUF_MAX) {
        ErcSetLowMemory();
        buf->failed = true;
        return false;
    }
    if (need <= buf->capacity) return true;
    int64_t capacity = need + need / 2;
    if (capacity < TEXTBUF_FIRST) capacity = TEXTBUF_FIRST;
    if (capacity > TEXTBUF_MAX) capacity = TEXTBUF_MAX;
    char *text = (char *)MemRealloc(buf->text, (size_t)capacity);
    if (!text) {
        buf->failed = true;
        return false;
    }
    buf->text = text;
    buf->capacity = (int32_t)capacity;
    return true;
}

bool TextBufAppend(TextBuf *buf, const char *text, int32_t length) {
    if (!TextBufReserve(buf, length)) return false;
    memcpy(buf->text + buf->length, text, length);
    buf->length += length;
    buf->text[buf->length] = 0;
    return true;
}

bool TextBufAppendSz(TextBuf *buf, const char *text) {
    return TextBufAppend(buf, text, (int32_t)strlen(text));
}

bool TextBufAppendChar(TextBuf *buf, char c) {
    return TextBufAppend(buf, &c, 1);
}

bool TextBufPrintf(TextBuf *buf, const char *format, ...) {
    va_list args;
    va_start(args, format);
    int n = vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (n < 0 || !TextBufReserve(buf, n)) return false;
    va_start(args, format);
    vsnprintf(buf->text + buf->length, (size_t)n + 1, format, args);
    va_end(args);
    buf->length += n;
    return true;
}

const char *TextBufText(const TextBuf *buf) {
    return buf->text ? buf->text : "";
}
