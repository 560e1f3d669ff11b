// ident: the identifier order of names in lists and symbol tables.
#pragma once

// Identifier order: case-blind, leading underscores skipped, then fewer underscores first:
// abc < _abc < __abc. The Exact forms are case-sensitive.
int StrCmpIdent(const char *a, const char *b);
int PstrCmpIdent(const unsigned char *a, const unsigned char *b);
int StrCmpIdentExact(const char *a, const char *b);
int PstrCmpIdentExact(const unsigned char *a, const unsigned char *b);
int StrCmpIdentPrefix(const char *name, const char *s);

bool StrHasPrefixIdentI(const char *prefix, const char *s);
bool PstrIsIdentPrefix(const unsigned char *prefix, const unsigned char *s);
