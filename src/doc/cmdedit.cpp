// cmdedit: the edit commands (prefix CmdEdit), least form: the editing options at a selection, the indented
// new line, "Indent Right".
#include "doc/cmdedit.h"

#include "doc/docedit.h"
#include "doc/docfetch.h"
#include "doc/dochook.h"
#include "doc/doclang.h"
#include "doc/dta.h"
#include "doc/sel.h"

void EditOptionsAtSel(const Sel *sel, DtaOptions *out) {
    DtaGetOptions(DocTypeInEffectAt(sel->doc, sel->range.firstLine, sel->range.firstColumn), out);
}

// The indentation of the first non-blank line from `like` on, as the type writes it; empty without auto
// indent.
static void CmdEditIndentLike(FileBuffer *doc, int32_t like, const DtaOptions &options, LineRecord *out) {
    static LineRecord record;
    LineClear(out);
    if (!(options.flags & DTA_AUTO_INDENT_MASK)) return;
    for (int32_t line = like; line < doc->lnMac; line++) {
        GetLine(doc, line, &record);
        if (LineIsBlankText(&record)) continue;
        int32_t width = LineDisplayColumn(&record, LineLeadingWhite(&record), options.tabWidth);
        LineSetIndent(out, width, options.tabWidth, options.flags & DTA_EXPAND_TABS);
        return;
    }
}

int InsertIndentedLine(FileBuffer *doc, int32_t at, int32_t like) {
    static LineRecord record;
    DtaOptions options;
    DtaGetOptions(DocTypeInEffectAt(doc, at, 0), &options);
    CmdEditIndentLike(doc, like, options, &record);
    if (!BeginEdit(doc)) return 0;
    int ok = InsertLine(doc, at, &record);
    if (!EndEdit(doc) || !ok) return 0;
    void *window = DocDisplay().currentSw();
    if (window && DocDisplay().swDoc(window) == doc) DocDisplay().swMoveCaret(at, record.length);
    return 1;
}

static bool CmdEditIsPreprocessor(const LineRecord *record) {
    int32_t first = LineLeadingWhite(record);
    return first < record->length && record->text[first] == '#';
}

// One line's indentation: the characters inserted at its start (0 when the line is left alone).
static int32_t CmdEditIndentOne(LineRecord *record, const DtaOptions &options) {
    if (record->length == 0) return 0;
    if (CmdEditIsPreprocessor(record) && !DocOpt().indentPreprocessor) return 0;
    if (options.flags & DTA_EXPAND_TABS) return LineInsertFill(record, 0, ' ', options.tabWidth);
    return LineInsertFill(record, 0, '\t', 1);
}

int CmdIndentRight(int32_t) {
    static LineRecord record;
    void *window = DocDisplay().currentSw();
    FileBuffer *doc = window ? DocDisplay().swDoc(window) : nullptr;
    Sel *sel = window ? DocDisplay().swSel(window) : nullptr;
    if (!doc || !sel) return 1;
    Sel after = *sel;
    SelNormalize(&after);
    const Car r = after.range;
    int32_t first, last;
    SelLineSpan(sel, &first, &last);
    DtaOptions options;
    EditOptionsAtSel(sel, &options);
    if (!BeginEdit(doc)) return 1;
    int ok = 1;
    int32_t firstShift = 0;
    for (int32_t line = first; ok && line <= last; line++) {
        GetLine(doc, line, &record);
        int32_t n = CmdEditIndentOne(&record, options);
        if (n > 0) ok = ReplaceLine(doc, line, &record);
        if (line == first) firstShift = n;
    }
    if (!EndEdit(doc) || !ok) return 1;
    if (r.nonEmpty)
        SelSet(&after, first, 0, last, DOC_COLUMN_END);
    else
        SelSetAt(&after, first, r.firstColumn + firstShift);
    DocDisplay().setSwSelectionFromSel(window, &after);
    return 0;
}
