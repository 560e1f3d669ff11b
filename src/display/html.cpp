// html: page naming, escaping and formatted lines as HTML (prefix Html, and WriteHtmlLine).
#include "display/html.h"

#include "base/path.h"
#include "base/utilil.h"
#include "display/fmthook.h"
#include "display/format.h"
#include "doc/doc.h"

#include <cstring>

void HtmlSlashPath(char *path) {
    for (char *c = path; *c; c++)
        if (*c == '\\') *c = '/';
}

void HtmlOutputPath(const char *file, const char *sourceFolder, const char *folder, const char *extension,
                    char *outPage, char *outPageFolder) {
    char relative[PATH_BUFFER], page[PATH_BUFFER];
    if (sourceFolder && *sourceFolder)
        PathMakeRelative(sourceFolder, file, relative);
    else
        StrCopyMaxLen(file, relative, PATH_MAX_CHARS);
    if (PathIsAbsolute(relative)) {
        char outside[PATH_BUFFER], name[PATH_BUFFER], sub[PATH_BUFFER];
        PathSplit(relative, outside, name);
        PathMakeSafeName(outside);
        PathJoin(folder, outside, sub);
        PathJoin(sub, name, page);
    } else {
        PathJoin(folder, relative, page);
    }
    PathAddExt(page, extension);
    strcpy(outPage, page);
    if (outPageFolder) PathSplit(page, outPageFolder, nullptr);
}

bool HtmlLinkTarget(FileBuffer *doc, const char *file, const char *folder, const char *extension, char *out) {
    char own[PATH_BUFFER], source[PATH_BUFFER], ownPage[PATH_BUFFER], ownFolder[PATH_BUFFER];
    char page[PATH_BUFFER];
    out[0] = 0;
    if (!doc) return false;
    DocGetFileName(doc, own);
    FmtSymbols().sourceFolder(doc, source);
    HtmlOutputPath(own, source, folder, extension, ownPage, ownFolder);
    HtmlOutputPath(file, source, folder, extension, page, nullptr);
    if (strcmp(page, ownPage) == 0) return true;
    PathMakeRelative(ownFolder, page, out);
    HtmlSlashPath(out);
    return true;
}

static const char *HtmlEntity(char c) {
    return c == '<' ? "&LT;" : c == '>' ? "&GT;" : nullptr;
}

int32_t HtmlEscapeAngles(char *text, int32_t capacity) {
    int32_t length = (int32_t)strlen(text), grown = length;
    for (int32_t i = 0; i < length; i++)
        if (HtmlEntity(text[i])) grown += 3;
    if (grown >= capacity) return -1;
    text[grown] = 0;
    for (int32_t i = length - 1, to = grown; i >= 0; i--) {
        const char *entity = HtmlEntity(text[i]);
        int32_t n = entity ? 4 : 1;
        to -= n;
        if (entity)
            memcpy(text + to, entity, 4);
        else
            text[to] = text[i];
    }
    return grown;
}

bool HtmlAppendEscaped(TextBuf *out, const char *text, int32_t length) {
    int32_t from = 0;
    for (int32_t i = 0; i < length; i++) {
        const char *entity = HtmlEntity(text[i]);
        if (!entity) continue;
        TextBufAppend(out, text + from, i - from);
        TextBufAppendSz(out, entity);
        from = i + 1;
    }
    return TextBufAppend(out, text + from, length - from);
}

static void HtmlOpenSpan(TextBuf *out, int32_t *open, int32_t style) {
    if (style == *open) return;
    if (*open) TextBufAppendSz(out, "</span>");
    *open = style;
    if (!style) return;
    char name[STYLE_NAME_MAX];
    StyleGetName(style, name);
    for (char *c = name; *c; c++)
        if (*c == ' ' || *c == '\t') *c = '_';
    TextBufPrintf(out, "<span class='%s'>", name);
}

int32_t WriteHtmlLine(const FmtLine *line, TextBuf *out) {
    int32_t start = out->length, open = FormatOpenSpan(), at = 0,
            side = Min(line->htmlAnchor, line->htmlLength);
    TextBufAppend(out, line->html, side); // the anchor stands inside the span the line before left open
    for (int32_t i = 0; i < line->opCount && line->ops[i].op != FMT_OP_END; i++) {
        const FmtOp &op = line->ops[i];
        if (op.op == FMT_OP_RUN) {
            int32_t n = Min(op.value, line->length - at);
            HtmlAppendEscaped(out, line->text + at, n);
            at += n;
        } else if (op.op == FMT_OP_STYLE) {
            HtmlOpenSpan(out, &open, op.value);
        } else if (op.op == FMT_OP_HTML) {
            HtmlOpenSpan(out, &open, 0);
            int32_t n = Min(op.value, line->htmlLength - side);
            TextBufAppend(out, line->html + side, n);
            side += n;
        }
    }
    TextBufAppendSz(out, "\r\n");
    FormatSetOpenSpan(open);
    return out->failed ? -1 : out->length - start;
}
