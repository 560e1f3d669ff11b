// filetemp: temporary names and files (prefixes FileMakeTempName, FileCreateTemp).
#pragma once

// Temporary files. With an extension the name is the first two characters of prefix, a tick counter of at
// least six digits (from TickNow) raised past every existing file, and the extension; without one the system
// makes the name (and the empty file). On failure FileCreateTemp answers -1 and names the path "<temp file>".
bool FileMakeTempName(const char *prefix, const char *ext, const char *folder, char *out);
int FileCreateTemp(const char *prefix, const char *ext, const char *folder, char *out);
