// wildcard: matching file names against patterns of "*" and "?" (prefix Wildcard). "*" stands for any run of
// characters, the empty run too, and "?" for exactly one; every other character stands for itself, ASCII
// letters matching either case, as file names do on Windows. The whole name must match the whole pattern.
#pragma once

bool WildcardMatch(const char *name, const char *pattern);
