// sln: the line record every line operation hands around (prefix Line, LineRecord*). A record is a signed
// 16-bit length, then the characters, then a NUL that every operation keeps after the text. 4,092 characters
// is the line limit of the whole program; a record that holds any line is 4,096 bytes (LineRecord), and
// LineRecordAlloc(n) makes one with room for n characters.
#pragma once

#include <cstdint>

enum { LINE_TEXT_MAX = 4092, LINE_RECORD_SIZE = 4096 };

struct LineRecord {
    int16_t length;
    char text[LINE_RECORD_SIZE -
              2]; // LINE_TEXT_MAX characters, the NUL, and room for a line end while reading
};
static_assert(sizeof(LineRecord) == LINE_RECORD_SIZE, "a full line record is 4,096 bytes");

// A heap record with room for n characters (at most LINE_TEXT_MAX) and the NUL, empty; MemFree it. Null when
// out of memory.
LineRecord *LineRecordAlloc(int32_t n);
// The file form: the 16-bit length, then length + 1 bytes (the text and its NUL). 1 on success; the reader
// refuses a length outside 0..LINE_TEXT_MAX or a missing NUL and leaves the record empty.
int LineRecordWrite(int file, const LineRecord *record);
int LineRecordRead(int file, LineRecord *record);

void LineClear(LineRecord *record);
// Inserts one character; 0 (no change) when the line is full or pos lies outside 0..length.
int LineInsertChar(LineRecord *record, int32_t pos, char ch);
// Inserts n copies, n cut so that the line stays within LINE_TEXT_MAX; the number inserted.
int32_t LineInsertFill(LineRecord *record, int32_t pos, char ch, int32_t n);
// Inserts a C string: its length, or 0 and no change when the result would exceed LINE_TEXT_MAX.
int32_t LineInsertSz(LineRecord *record, int32_t pos, const char *sz);
void LineDeleteChar(LineRecord *record, int32_t pos);
void LineDeleteChars(LineRecord *record, int32_t pos, int32_t n);
// A position at or past the end makes the length pos + 1 (the gap filled with blanks).
void LineSetChar(LineRecord *record, int32_t pos, char ch);
// Overwrites n characters from pos; reaching past the end extends the length to pos + n.
void LineFill(LineRecord *record, int32_t pos, char ch, int32_t n);
// Appends src to dst only when the sum stays within LINE_TEXT_MAX; 1 when appended.
int LineAppend(const LineRecord *src, LineRecord *dst);
void LineCollapseBlanks(LineRecord *record);
// Expands tabs to blanks at the tab width; 0 and no change when the result would exceed LINE_TEXT_MAX.
int LineExpandTabs(LineRecord *record, int32_t tabWidth);
void LineFromPstr(const unsigned char *pstr, LineRecord *record);
void LineFromSz(const char *sz, LineRecord *record);                     // cut at LINE_TEXT_MAX
void LineFromText(const char *text, int32_t length, LineRecord *record); // cut at LINE_TEXT_MAX

// Display columns, tabs expanded at the tab width: the column of a character index (an index at or past
// the end, such as 4096, gives the line's whole width), and the index of the character that covers a
// display column (the length past the end).
int32_t LineDisplayColumn(const LineRecord *record, int32_t index, int32_t tabWidth);
int32_t LineColumnAtDisplay(const LineRecord *record, int32_t column, int32_t tabWidth);
int32_t LineLeadingWhite(const LineRecord *record); // the blanks and tabs it begins with
bool LineIsBlankText(const LineRecord *record);     // nothing but blanks and tabs
// Replaces the leading blanks and tabs by white space of a display width: tabs then blanks, or blanks only;
// as much as fits within LINE_TEXT_MAX. The length of the new leading white space.
int32_t LineSetIndent(LineRecord *record, int32_t width, int32_t tabWidth, bool blanksOnly);
