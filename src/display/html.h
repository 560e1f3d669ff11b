// html: the HTML export's naming and escaping, and formatted lines written as HTML (prefix Html, and
// WriteHtmlLine). A page of a file lies in the export's folder at the file's path relative to its project's
// source folder, with the page extension added; a file outside that folder gets its folder turned into a
// safe name as a subfolder. Links in pages are relative to the page's own folder, with forward slashes.
// Portable.
// Success convention of the display layer: 1 (or a pointer, or a number) for success, 0, null or -1 for
// failure.
#pragma once

#include "display/textbuf.h"

#include <cstdint>

struct FileBuffer;
struct FmtLine;

// The page of a file (out buffers of 256 bytes; the folder may be null).
void HtmlOutputPath(const char *file, const char *sourceFolder, const char *folder, const char *extension,
                    char *outPage, char *outPageFolder);
// The link from the page of a buffer to the page of another file ("" for the buffer's own page); false when
// the buffer has no file.
bool HtmlLinkTarget(FileBuffer *doc, const char *file, const char *folder, const char *extension, char *out);
// Every "<" becomes "&LT;" and every ">" "&GT;", in place in a buffer of `capacity` bytes: the new length,
// or -1 (and the text unchanged) when it would not fit.
int32_t HtmlEscapeAngles(char *text, int32_t capacity);
bool HtmlAppendEscaped(TextBuf *out, const char *text, int32_t length);
void HtmlSlashPath(char *path); // backslashes to '/'
// A formatted line (formatted in HTML mode) as HTML: the line's anchor first, then runs escaped, style spans
// opened and closed, the links of the side buffer copied (each closing the open span), "\r\n" at the end. A
// span open at the end stays open, unclosed and not opened again, into the next line.
// The number of characters appended; -1 when the buffer failed.
int32_t WriteHtmlLine(const FmtLine *line, TextBuf *out);
