// sln: line records (prefix Line). Every operation keeps the length within 0..LINE_TEXT_MAX and the NUL after
// the text; positions outside the line are clamped or refused rather than written.
#include "doc/sln.h"

#include "base/file.h"
#include "base/heap.h"
#include "base/utilil.h"

#include <cstring>

static int32_t LineClampPos(const LineRecord *record, int32_t pos) {
    return ClampValue(pos, 0, record->length);
}

static void LineSetLength(LineRecord *record, int32_t length) {
    record->length = (int16_t)length;
    record->text[length] = 0;
}

LineRecord *LineRecordAlloc(int32_t n) {
    n = ClampValue(n, 0, LINE_TEXT_MAX);
    return (LineRecord *)MemAlloc(sizeof(int16_t) + (size_t)n + 1);
}

int LineRecordWrite(int file, const LineRecord *record) {
    return FileWriteExact(file, &record->length, sizeof record->length) &&
           FileWriteExact(file, record->text, record->length + 1);
}

int LineRecordRead(int file, LineRecord *record) {
    int16_t length = 0;
    if (FileReadExact(file, &length, sizeof length) && length >= 0 && length <= LINE_TEXT_MAX &&
        FileReadExact(file, record->text, length + 1) && record->text[length] == 0) {
        record->length = length;
        return 1;
    }
    LineClear(record);
    return 0;
}

void LineClear(LineRecord *record) {
    LineSetLength(record, 0);
}

int LineInsertChar(LineRecord *record, int32_t pos, char ch) {
    if (record->length >= LINE_TEXT_MAX || pos < 0 || pos > record->length) return 0;
    memmove(record->text + pos + 1, record->text + pos, (size_t)(record->length - pos));
    record->text[pos] = ch;
    LineSetLength(record, record->length + 1);
    return 1;
}

int32_t LineInsertFill(LineRecord *record, int32_t pos, char ch, int32_t n) {
    pos = LineClampPos(record, pos);
    n = Min(n, LINE_TEXT_MAX - record->length);
    if (n <= 0) return 0;
    memmove(record->text + pos + n, record->text + pos, (size_t)(record->length - pos));
    memset(record->text + pos, ch, (size_t)n);
    LineSetLength(record, record->length + n);
    return n;
}

int32_t LineInsertSz(LineRecord *record, int32_t pos, const char *sz) {
    int32_t n = (int32_t)strlen(sz);
    if (n == 0 || record->length + n > LINE_TEXT_MAX) return 0;
    pos = LineClampPos(record, pos);
    memmove(record->text + pos + n, record->text + pos, (size_t)(record->length - pos));
    memcpy(record->text + pos, sz, (size_t)n);
    LineSetLength(record, record->length + n);
    return n;
}

void LineDeleteChar(LineRecord *record, int32_t pos) {
    LineDeleteChars(record, pos, 1);
}

void LineDeleteChars(LineRecord *record, int32_t pos, int32_t n) {
    if (pos < 0 || pos >= record->length || n <= 0) return;
    n = Min(n, record->length - pos);
    memmove(record->text + pos, record->text + pos + n, (size_t)(record->length - pos - n));
    LineSetLength(record, record->length - n);
}

void LineSetChar(LineRecord *record, int32_t pos, char ch) {
    if (pos < 0 || pos >= LINE_TEXT_MAX) return;
    if (pos >= record->length) {
        memset(record->text + record->length, ' ', (size_t)(pos - record->length));
        LineSetLength(record, pos + 1);
    }
    record->text[pos] = ch;
}

void LineFill(LineRecord *record, int32_t pos, char ch, int32_t n) {
    if (pos < 0 || pos >= LINE_TEXT_MAX || n <= 0) return;
    n = Min(n, LINE_TEXT_MAX - pos);
    if (pos > record->length) memset(record->text + record->length, ' ', (size_t)(pos - record->length));
    memset(record->text + pos, ch, (size_t)n);
    if (pos + n > record->length) LineSetLength(record, pos + n);
}

int LineAppend(const LineRecord *src, LineRecord *dst) {
    if (src->length + dst->length > LINE_TEXT_MAX) return 0;
    memmove(dst->text + dst->length, src->text, (size_t)src->length);
    LineSetLength(dst, dst->length + src->length);
    return 1;
}

static bool LineIsBlank(char c) {
    return c == ' ' || c == '\t';
}

void LineCollapseBlanks(LineRecord *record) {
    int32_t to = 0;
    for (int32_t from = 0; from < record->length; from++) {
        char c = record->text[from];
        if (LineIsBlank(c)) {
            if (to > 0 && record->text[to - 1] == ' ') continue;
            c = ' ';
        }
        record->text[to++] = c;
    }
    LineSetLength(record, to);
}

int LineExpandTabs(LineRecord *record, int32_t tabWidth) {
    if (tabWidth < 1) tabWidth = 1;
    char out[LINE_TEXT_MAX];
    int32_t n = 0;
    for (int32_t i = 0; i < record->length; i++) {
        int32_t width = record->text[i] == '\t' ? tabWidth - n % tabWidth : 1;
        if (n + width > LINE_TEXT_MAX) return 0; // the line stays as it was rather than lose its tail
        if (record->text[i] == '\t')
            memset(out + n, ' ', (size_t)width);
        else
            out[n] = record->text[i];
        n += width;
    }
    memcpy(record->text, out, (size_t)n);
    LineSetLength(record, n);
    return 1;
}

void LineFromText(const char *text, int32_t length, LineRecord *record) {
    length = ClampValue(length, 0, LINE_TEXT_MAX);
    memmove(record->text, text, (size_t)length);
    LineSetLength(record, length);
}

void LineFromPstr(const unsigned char *pstr, LineRecord *record) {
    LineFromText((const char *)pstr + 1, pstr[0], record);
}

void LineFromSz(const char *sz, LineRecord *record) {
    LineFromText(sz, (int32_t)strnlen(sz, LINE_TEXT_MAX), record);
}

// ---- Display columns ----

static int32_t LineCharWidth(char c, int32_t column, int32_t tabWidth) {
    return c == '\t' ? tabWidth - column % tabWidth : 1;
}

int32_t LineDisplayColumn(const LineRecord *record, int32_t index, int32_t tabWidth) {
    if (tabWidth < 1) tabWidth = 1;
    int32_t column = 0, end = LineClampPos(record, index);
    for (int32_t i = 0; i < end; i++) column += LineCharWidth(record->text[i], column, tabWidth);
    return column;
}

int32_t LineColumnAtDisplay(const LineRecord *record, int32_t column, int32_t tabWidth) {
    if (tabWidth < 1) tabWidth = 1;
    int32_t at = 0;
    for (int32_t i = 0; i < record->length; i++) {
        at += LineCharWidth(record->text[i], at, tabWidth);
        if (at > column) return i;
    }
    return record->length;
}

int32_t LineLeadingWhite(const LineRecord *record) {
    int32_t n = 0;
    while (n < record->length && LineIsBlank(record->text[n])) n++;
    return n;
}

bool LineIsBlankText(const LineRecord *record) {
    return LineLeadingWhite(record) == record->length;
}

int32_t LineSetIndent(LineRecord *record, int32_t width, int32_t tabWidth, bool blanksOnly) {
    if (tabWidth < 1) tabWidth = 1;
    LineDeleteChars(record, 0, LineLeadingWhite(record));
    int32_t tabs = blanksOnly ? 0 : width / tabWidth;
    int32_t n = LineInsertFill(record, 0, ' ', blanksOnly ? width : width % tabWidth);
    return n + LineInsertFill(record, 0, '\t', tabs);
}
