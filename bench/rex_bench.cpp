// rex_bench: the time the regular-expression engine takes to search a large generated text, line by line as
// the search layer does, for a literal, a class with a closure and a pattern with groups, beside the same
// searches with std::regex in the same run. Prints milliseconds per megabyte and the match counts of both,
// which must agree.
#include "base/rex.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

namespace {

struct Text {
    std::string bytes;                              // the lines, each followed by a newline
    std::vector<std::pair<int32_t, int32_t>> lines; // start and length of each line
};

// Source-like lines from a fixed seed, so every run searches the same text.
Text BenchText(size_t size) {
    static const char *words[] = {"count",  "buffer", "string", "parse",   "index",
                                  "value",  "length", "node",   "result",  "status",
                                  "handle", "offset", "window", "pointer", "item"};
    // Each shape takes four words and a number, in that order.
    static const char *shapes[] = {
        "    int %s_%s = %s(%s, %u);",
        "    if (%s->%s != NULL) return %s(%s, %u);",
        "    // Processing %s before reading %s, %s and %s, %u more",
        "    for (i = 0; i < %s; i++) %s[i] = %s(%s + %u);",
        "    %s = %s * %s - %s / %u;",
        "static void %s(char *%s, int %s, long %s) /* %u */",
        "    return %s(%s, %s->%s, %u);",
        "",
    };
    Text text;
    uint32_t seed = 12345;
    auto next = [&seed]() { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    char line[256];
    while (text.bytes.size() < size) {
        const char *w[4];
        for (auto &p : w) p = words[next() % 15];
        const char *shape = shapes[next() % 8]; // drawn in a fixed order: argument order is unspecified
        unsigned number = next() % 1000;
        snprintf(line, sizeof line, shape, w[0], w[1], w[2], w[3], number);
        if (next() % 4 == 0)
            snprintf(line + strlen(line), sizeof line - strlen(line), " // pending %sing", w[3]);
        text.lines.push_back({(int32_t)text.bytes.size(), (int32_t)strlen(line)});
        text.bytes += line;
        text.bytes += '\n';
    }
    return text;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Every match of every line, each search going on from the end of the last match.
long RexCountAll(RexProg *prog, const Text &text) {
    long count = 0;
    for (const auto &line : text.lines) {
        const char *p = text.bytes.data() + line.first;
        RexSetStart(prog, 0);
        while (RexMatch(prog, p, line.second)) {
            int32_t start, end;
            RexGetMatch(prog, &start, &end);
            count++;
            RexSetStart(prog, end > start ? end : start + 1);
        }
    }
    return count;
}

long StdCountAll(const std::regex &re, const Text &text) {
    long count = 0;
    for (const auto &line : text.lines) {
        const char *p = text.bytes.data() + line.first;
        for (std::cregex_iterator it(p, p + line.second, re), end; it != end; ++it) count++;
    }
    return count;
}

struct Case {
    const char *name, *rexPattern, *stdPattern;
    int ignoreCase;
};

template <typename Search>
double BestMsPerMb(const Text &text, Search search, long *count) {
    double best = 1e30;
    for (int round = 0; round < 3; round++) {
        auto start = std::chrono::steady_clock::now();
        *count = search();
        double s = Seconds(start);
        if (s < best) best = s;
    }
    return best * 1000.0 / (text.bytes.size() / 1048576.0);
}

} // namespace

int main() {
    const Case cases[] = {
        {"literal", "return", "return", 0},
        {"literal, ignore case", "RETURN", "RETURN", 1},
        {"class with closure", "[a-z]+ing", "[a-z]+ing", 0},
        {"groups", "\\([a-z_]+\\)(\\([a-z]+\\),", "([a-z_]+)\\(([a-z]+),", 0},
    };
    Text text = BenchText(4u << 20);
    printf("searching %.1f MB in %zu lines; milliseconds per MB (best of 3)\n", text.bytes.size() / 1048576.0,
           text.lines.size());
    printf("%-22s %10s %10s %10s %10s\n", "pattern", "rex", "std", "rex hits", "std hits");
    for (const Case &c : cases) {
        RexProg *prog = nullptr;
        if (RexCompile(c.rexPattern, 1, c.ignoreCase, 0, &prog) != 1) {
            printf("%-22s does not compile\n", c.name);
            continue;
        }
        auto flags = std::regex::ECMAScript | (c.ignoreCase ? std::regex::icase : std::regex::ECMAScript);
        std::regex re(c.stdPattern, flags);
        long rexHits = 0, stdHits = 0;
        double rexMs = BestMsPerMb(
            text, [&] { return RexCountAll(prog, text); }, &rexHits);
        double stdMs = BestMsPerMb(
            text, [&] { return StdCountAll(re, text); }, &stdHits);
        printf("%-22s %10.2f %10.2f %10ld %10ld\n", c.name, rexMs, stdMs, rexHits, stdHits);
        RexFree(prog);
    }
    return 0;
}
