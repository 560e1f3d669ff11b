// dlgalert: message boxes and questions (prefix Alert), and the progress boxes of long work (prefix
// Progress). Every message box has the caption "Veltrix"; error and information boxes can be suppressed for a
// stretch of work and are skipped during background work. The questions with answers of their own ("Yes to
// All", "Try Again", and questions with buttons named by the caller) are table dialogs run modally.
//
// A progress box is a modeless table dialog made by the outermost ProgressOpen and destroyed by the
// matching ProgressEnd. Its state (the dialog object, the meter record, the meter bitmaps) belongs to the
// box: whatever destroys the box (ProgressEnd, Esc, the close box, the owner going) clears it in the box's
// own destruction, so that later steps, texts and ends find no box rather than a freed one.
#include "ui/dlgalert.h"

#include "base/erc.h"
#include "base/heap.h"
#include "base/inputpend.h"
#include "base/seam.h"
#include "base/sound.h"
#include "base/str.h"
#include "base/sysprobe.h"
#include "base/tick.h"
#include "base/toolbox.h"
#include "base/utilil.h"
#include "ui/bmp.h"
#include "ui/dlgrun.h"
#include "ui/dlgval.h"
#include "ui/draw.h"
#include "ui/pen.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

enum : int32_t {
    ALERT_TEXT_SIZE = 512,
    ALERT_CAUSE_SIZE = 1024,
    ALERT_QUESTION_TEXT = 20, // the message static of the table questions
    ALERT_CHOOSE_CODE = 100,  // AlertChoose's buttons: 100 + their index
};

static int alertSuppressed;
static AlertHook alertTestHook;
static AlertChooseHook alertChooseHook;
static ProgressHook progressTestHook;

static void AlertResetSeams() {
    alertTestHook = nullptr;
    alertChooseHook = nullptr;
    progressTestHook = nullptr;
}

void AlertSetTestHook(AlertHook hook) {
    alertTestHook = hook;
    SeamRegisterReset(AlertResetSeams);
}

void AlertSetChooseHook(AlertChooseHook hook) {
    alertChooseHook = hook;
    SeamRegisterReset(AlertResetSeams);
}

void ProgressSetTestHook(ProgressHook hook) {
    progressTestHook = hook;
    SeamRegisterReset(AlertResetSeams);
}

// Formats with the format cut at 462 characters and the result cut to the buffer; the caller's format text
// itself is never written to.
static void AlertFormatV(char *out, size_t size, const char *format, va_list args) {
    char cut[FORMAT_CUT + 1];
    StrCutFormat(format, cut);
    vsnprintf(out, size, cut, args);
}

// ---- Message boxes

static const UINT alertKindStyle[] = {0x00, 0x21, 0x40, 0x24, 0x23, 0x30, 0x12};
static const UINT alertDefaultStyle[] = {0, MB_DEFBUTTON2, MB_DEFBUTTON3};

int AlertBox(const char *text, int kind, int defaultButton) {
    if (kind < 0 || kind > 6) kind = ALERT_OK;
    if (defaultButton < 0 || defaultButton > 2) defaultButton = 0;
    HWND focus = GetFocus();
    DlgCloseSplash();
    if (alertTestHook) return alertTestHook(text, kind, defaultButton);
    UINT style = alertKindStyle[kind] | alertDefaultStyle[defaultButton];
    int result = MessageBoxA(DlgGetOwner(), StrOrEmpty(text), "Veltrix", style);
    if (focus && IsWindow(focus)) SetFocus(focus);
    return result;
}

// Formats the box's text (512 bytes) and shows it.
static int AlertShowV(int kind, int defaultButton, const char *format, va_list args) {
    char text[ALERT_TEXT_SIZE];
    AlertFormatV(text, sizeof text, format, args);
    return AlertBox(text, kind, defaultButton);
}

bool AlertOkCancel(const char *format, ...) {
    va_list args;
    va_start(args, format);
    int answer = AlertShowV(ALERT_OKCANCEL, 0, format, args);
    va_end(args);
    return answer == IDOK;
}

bool AlertOkCancelDefCancel(const char *format, ...) {
    va_list args;
    va_start(args, format);
    int answer = AlertShowV(ALERT_OKCANCEL, 1, format, args);
    va_end(args);
    return answer == IDOK;
}

bool AlertYesNo(const char *format, ...) {
    va_list args;
    va_start(args, format);
    int answer = AlertShowV(ALERT_YESNO, 0, format, args);
    va_end(args);
    return answer == IDYES;
}

bool AlertYesNoDefNo(const char *format, ...) {
    va_list args;
    va_start(args, format);
    int answer = AlertShowV(ALERT_YESNO, 1, format, args);
    va_end(args);
    return answer == IDYES;
}

int AlertYesNoCancel(const char *format, ...) {
    va_list args;
    va_start(args, format);
    int answer = AlertShowV(ALERT_YESNOCANCEL, 0, format, args);
    va_end(args);
    return answer == IDYES ? ALERT_YES : answer == IDNO ? ALERT_NO : ALERT_CANCEL;
}

// Errors and information are not shown while suppressed (0) or during background work (1).
static bool AlertSilent(int *answer) {
    if (alertSuppressed > 0) {
        *answer = 0;
        return true;
    }
    *answer = 1;
    return IsBackgroundWork();
}

int AlertError(const char *format, ...) {
    int answer;
    if (AlertSilent(&answer)) return answer;
    va_list args;
    va_start(args, format);
    answer = AlertShowV(ALERT_WARNING, 0, format, args);
    va_end(args);
    return answer;
}

int AlertInfo(const char *format, ...) {
    int answer;
    if (AlertSilent(&answer)) return answer;
    va_list args;
    va_start(args, format);
    answer = AlertShowV(ALERT_INFO, 0, format, args);
    va_end(args);
    return answer;
}

int AlertErrorWithCause(const char *format, ...) {
    int answer;
    if (AlertSilent(&answer)) return answer;
    char text[ALERT_CAUSE_SIZE], cause[ERC_TEXT_MAX];
    va_list args;
    va_start(args, format);
    AlertFormatV(text, sizeof text, format, args);
    va_end(args);
    if (ErcGetText(cause)) {
        size_t length = strlen(text);
        snprintf(text + length, sizeof text - length, "\n\n%s", cause);
    }
    return AlertBox(text, ALERT_WARNING, 0);
}

bool AlertOkCancelText(const char *text) {
    if (alertSuppressed > 0 || IsBackgroundWork()) return true;
    return AlertBox(text, ALERT_OKCANCEL, 0) == IDOK;
}

void AlertReportError(const char *message) {
    AlertError("%s", message);
}

void AlertSuppress() {
    alertSuppressed++;
}

int AlertUnsuppress() {
    return --alertSuppressed;
}

bool AlertsSuppressed() {
    return alertSuppressed != 0;
}

// ---- Table questions

// "Yes to All": 6 rows by 71 characters; AlertChoose takes its layout with the caller's buttons.
static const DlgControl alertYesAllControls[] = {
    {{0, 2, 4, 60}, nullptr, DLG_TEXT_STATIC, 0, ALERT_QUESTION_TEXT, 0, 0},
    {{4, 2, 1, 15}, "Yes", DLG_BUTTON, DLGF_DEFAULT | DLGF_CLOSES, ALERT_YES, 0, 0},
    {{4, 19, 1, 15}, "No", DLG_BUTTON, DLGF_CLOSES, ALERT_NO, 0, 0},
    {{4, 36, 1, 15}, "Yes to All", DLG_BUTTON, DLGF_CLOSES, ALERT_YES_ALL, 0, 0},
    {{4, 53, 1, 15}, "No to All", DLG_BUTTON, DLGF_CLOSES, ALERT_NO_ALL, 0, 0},
    {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
};

static const DlgControl alertTryAgainControls[] = {
    {{0, 2, 4, 69}, nullptr, DLG_TEXT_STATIC, 0, ALERT_QUESTION_TEXT, 0, 0},
    {{4, 2, 1, 15}, "Cancel", DLG_BUTTON, DLGF_CLOSES, ALERT_CANCEL, 0, 0},
    {{4, 19, 1, 15}, "&Try Again", DLG_BUTTON, DLGF_DEFAULT | DLGF_CLOSES, ALERT_TRY_AGAIN, 0, 0},
    {{4, 36, 1, 15}, "C&ontinue", DLG_BUTTON, DLGF_CLOSES, ALERT_CONTINUE, 0, 0},
    {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
};

static intptr_t AlertQuestionProc(DlgObject *dlg, int32_t event, int32_t code, void *ptr, intptr_t extra);

static const DlgDesc alertYesAllDesc = {
    .geometry = {0, 0, 6, 71},
    .caption = "Veltrix",
    .callback = AlertQuestionProc,
    .flags = DLG_ROW_FIRST,
    .positionKey = 0,
    .controls = alertYesAllControls,
};
static const DlgDesc alertTryAgainDesc = {
    .geometry = {0, 0, 6, 71},
    .caption = "Veltrix",
    .callback = AlertQuestionProc,
    .flags = DLG_ROW_FIRST,
    .positionKey = 0,
    .controls = alertTryAgainControls,
};

// What the running question sets at its initialisation. Only the initialisation reads it, before anything
// else can ask a question.
static const char *alertAskCaption;
static int32_t alertAskDefault;

// The caption and the default button (which also takes the focus, so that Enter answers it).
static intptr_t AlertQuestionProc(DlgObject *dlg, int32_t event, int32_t, void *, intptr_t) {
    if (event != DLG_EV_INIT) return 0;
    if (alertAskCaption) DlgSetCaption(dlg, alertAskCaption);
    DlgSetDefault(dlg, alertAskDefault);
    DlgSetFocus(dlg, alertAskDefault);
    return 0;
}

// The choose hook answers for the dialog: it sees the buttons' texts and the default's index, and its index
// becomes that button's code (Cancel for a closed box).
static int32_t AlertAskHook(const DlgDesc *desc, const char *message, int32_t defaultCode) {
    const char *names[ALERT_CHOOSE_MAX] = {};
    int32_t codes[ALERT_CHOOSE_MAX] = {};
    int count = 0, defaultIndex = 0;
    for (const DlgControl *c = desc->controls; c->type != DLG_END && count < ALERT_CHOOSE_MAX; c++) {
        if (c->type != DLG_BUTTON) continue;
        if (c->code == defaultCode) defaultIndex = count;
        names[count] = c->text;
        codes[count++] = c->code;
    }
    int chosen = alertChooseHook(message, names, count, defaultIndex);
    return chosen >= 0 && chosen < count ? codes[chosen] : ALERT_CANCEL;
}

static int32_t AlertAsk(const DlgDesc *desc, const char *caption, const char *message, int32_t defaultCode) {
    if (alertChooseHook) return AlertAskHook(desc, message, defaultCode);
    alertAskCaption = caption;
    alertAskDefault = defaultCode;
    DlgSlot data[1] = {(DlgSlot)StrOrEmpty(message)};
    return DlgRun(desc, 0, data);
}

int32_t AlertYesNoAll(const char *caption, const char *message, int32_t defaultCode) {
    return AlertAsk(&alertYesAllDesc, caption, message, defaultCode);
}

int32_t AlertRetryContinue(const char *caption, const char *message, int32_t defaultCode) {
    return AlertAsk(&alertTryAgainDesc, caption, message, defaultCode);
}

int AlertChoose(const char *text, const char *const *buttons, int count, int defaultButton) {
    count = ClampValue(count, 0, ALERT_CHOOSE_MAX);
    DlgControl controls[ALERT_CHOOSE_MAX + 2];
    controls[0] = alertYesAllControls[0];
    for (int i = 0; i < count; i++) {
        controls[i + 1] = alertYesAllControls[i + 1];
        controls[i + 1].text = buttons[i];
        controls[i + 1].flags = DLGF_CLOSES;
        controls[i + 1].code = ALERT_CHOOSE_CODE + i;
    }
    controls[count + 1] = alertYesAllControls[ALERT_CHOOSE_MAX + 1];
    DlgDesc desc = alertYesAllDesc;
    desc.controls = controls;
    int32_t code = AlertAsk(&desc, nullptr, text, ALERT_CHOOSE_CODE + defaultButton);
    return code >= ALERT_CHOOSE_CODE && code < ALERT_CHOOSE_CODE + count ? code - ALERT_CHOOSE_CODE : -1;
}

// ---- Progress boxes

enum : int32_t {
    PROGRESS_TEXT = 10,
    PROGRESS_METER = 11,
    PROGRESS_TEXT_BUFFER = 255,
    PROGRESS_POSITION_KEY = 8192,
    PROGRESS_REFRESH_MS = 100,
    PROGRESS_ASK_AFTER_MS = 29999, // Cancel sooner than this ends the work without a question
    PROGRESS_NO_POSITION = -1,
};

// The meter's record: {low, high, offset, last drawn percentage, 0}; high 0 at opening means no meter.
struct ProgressRecord {
    int32_t low;
    int32_t high;
    int32_t offset;
    int32_t percent;
    int32_t zero;
};
static_assert(sizeof(ProgressRecord) == 20);

static int32_t progressNesting;
static bool progressCancelled;
static uint32_t progressStepStamp; // the last refresh
static uint32_t progressOpenStamp;
static Handle *progressRecord;
static DlgObject *progressDlg;
static HBITMAP progressTop;
static HBITMAP progressBack;
static char progressText[ALERT_TEXT_SIZE];
static DlgSlot progressSlots[2]; // the text, the meter's value: the box keeps a pointer to them

static intptr_t ProgressBoxProc(DlgObject *dlg, int32_t event, int32_t code, void *ptr, intptr_t extra);

static const DlgControl progressPlainControls[] = {
    {{0, 5, 4, 50}, nullptr, DLG_TEXT_STATIC, 0, PROGRESS_TEXT, 0, PROGRESS_TEXT_BUFFER},
    {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
};
static const DlgControl progressCancelControls[] = {
    {{350, 23, 1, 10}, "Cancel", DLG_BUTTON, DLGF_CLOSES, DLG_CODE_CANCEL, 0, 0},
    {{0, 5, 3, 50}, nullptr, DLG_TEXT_STATIC, 0, PROGRESS_TEXT, 0, PROGRESS_TEXT_BUFFER},
    {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
};
static const DlgControl progressMeterControls[] = {
    {{5, 28, 1, 10}, "Cancel", DLG_BUTTON, DLGF_CLOSES, DLG_CODE_CANCEL, 0, 0},
    {{0, 5, 250, 60}, nullptr, DLG_TEXT_STATIC, 0, PROGRESS_TEXT, 0, PROGRESS_TEXT_BUFFER},
    {{3, 3, 125, 60}, nullptr, DLG_USERITEM, 0, PROGRESS_METER, 0, 0},
    {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
};
// The meter without Cancel: the button lies at row 99, outside the box.
static const DlgControl progressMeterOnlyControls[] = {
    {{99, 28, 1, 10}, "Cancel", DLG_BUTTON, DLGF_CLOSES, DLG_CODE_CANCEL, 0, 0},
    {{0, 5, 250, 60}, nullptr, DLG_TEXT_STATIC, 0, PROGRESS_TEXT, 0, PROGRESS_TEXT_BUFFER},
    {{3, 3, 125, 60}, nullptr, DLG_USERITEM, 0, PROGRESS_METER, 0, 0},
    {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
};

enum : uint32_t { PROGRESS_FLAGS = DLG_ROW_FIRST | DLG_PUMP_DISABLES };
static const DlgDesc progressPlainDesc = {
    .geometry = {0, 0, 5, 57},
    .caption = "Veltrix",
    .callback = ProgressBoxProc,
    .flags = PROGRESS_FLAGS,
    .positionKey = PROGRESS_POSITION_KEY,
    .controls = progressPlainControls,
};
static const DlgDesc progressCancelDesc = {
    .geometry = {0, 0, 6, 57},
    .caption = "Veltrix",
    .callback = ProgressBoxProc,
    .flags = PROGRESS_FLAGS,
    .positionKey = PROGRESS_POSITION_KEY,
    .controls = progressCancelControls,
};
static const DlgDesc progressMeterDesc = {
    .geometry = {0, 0, 7, 67},
    .caption = "Veltrix",
    .callback = ProgressBoxProc,
    .flags = PROGRESS_FLAGS,
    .positionKey = PROGRESS_POSITION_KEY,
    .controls = progressMeterControls,
};
static const DlgDesc progressMeterOnlyDesc = {
    .geometry = {0, 0, 7, 67},
    .caption = "Veltrix",
    .callback = ProgressBoxProc,
    .flags = PROGRESS_FLAGS,
    .positionKey = PROGRESS_POSITION_KEY,
    .controls = progressMeterOnlyControls,
};

static ProgressRecord *ProgressRec() {
    return progressRecord ? (ProgressRecord *)HLock(progressRecord) : nullptr;
}

static bool ProgressHasMeter() {
    return progressDlg && DlgHasControl(progressDlg, PROGRESS_METER);
}

// The value inside the range; the low end when the range is upside down.
static int32_t ProgressClamp(const ProgressRecord *rec, int32_t value) {
    return rec->low <= rec->high ? ClampValue(value, rec->low, rec->high) : rec->low;
}

// Byte-sized ranges pass 2^31 / 100 long before their end: the arithmetic is 64-bit, and an empty range
// stands at 0 rather than dividing by zero.
static int32_t ProgressScale(const ProgressRecord *rec, int32_t value, int32_t full, bool round) {
    int64_t span = (int64_t)rec->high - rec->low;
    if (span <= 0) return 0;
    int64_t part = (int64_t)ProgressClamp(rec, value) - rec->low;
    return (int32_t)((part * full + (round ? span / 2 : 0)) / span);
}

// ---- The meter

static void ProgressReleaseBitmaps() {
    BmpRelease(progressTop);
    BmpRelease(progressBack);
    progressTop = progressBack = nullptr;
}

// The fuel bitmaps of the display's depth; the meter takes their height and at most their width, centred in
// its described place.
static void ProgressFitMeter(DlgObject *dlg) {
    if (!DlgHasControl(dlg, PROGRESS_METER)) return;
    bool hi = DrawIsHiColor();
    progressTop = BmpGet(hi ? "bmpFuelTopHi" : "bmpFuelTop");
    progressBack = BmpGet(hi ? "bmpFuelBackHi" : "bmpFuelBack");
    int32_t width, height;
    if (!progressTop || !progressBack || !BitmapGetSize(progressTop, &width, &height))
        return ProgressReleaseBitmaps();
    RECT place;
    DlgGetControlPos(dlg, PROGRESS_METER, &place);
    int32_t fitted = Min(RectWidth(&place), width);
    RECT meter = {place.left + (RectWidth(&place) - fitted) / 2, place.top, 0, 0};
    meter.right = meter.left + fitted;
    meter.bottom = meter.top + height;
    DlgSetControlPos(dlg, PROGRESS_METER, &meter);
}

// A new value repaints only when its whole percentage changed.
static void ProgressMeterSet(DlgObject *dlg, int32_t value) {
    ProgressRecord *rec = ProgressRec();
    if (!rec) return;
    int32_t percent = ProgressScale(rec, value, 100, true);
    if (percent == rec->percent) return;
    rec->percent = percent;
    InvalidateRect(DlgGetControlWindow(dlg, PROGRESS_METER), nullptr, FALSE);
}

// In a remote session without animation: the percentage as text, centred.
static void ProgressPaintText(HDC dc, const RECT *area, int32_t percent) {
    char text[32];
    int length = snprintf(text, sizeof text, "%d%%   ", percent);
    HGDIOBJ font = SelectObject(dc, DlgGetFont());
    SetBkColor(dc, drawMetrics.colorBtnFace);
    SetTextColor(dc, drawMetrics.colorBtnText);
    int32_t x = (RectWidth(area) - DrawTextWidth(dc, text, length) + 1) / 2;
    ExtTextOutA(dc, area->left + x, area->top, ETO_OPAQUE | ETO_CLIPPED, area, text, (UINT)length, nullptr);
    SelectObject(dc, font);
}

// The fuel-top bitmap ends at the filled width and the back fills the rest; plain colours stand in when the
// bitmaps could not be loaded.
static void ProgressPaintFuel(HDC dc, const RECT *area, int32_t filled) {
    RECT full = {area->left, area->top, area->left + filled, area->bottom};
    RECT rest = {full.right, area->top, area->right, area->bottom};
    if (!progressTop || !progressBack) {
        DrawFillRect(dc, &full, drawMetrics.colorHighlight);
        DrawFillRect(dc, &rest, drawMetrics.colorWindow);
        return;
    }
    int32_t width = 0, height = 0;
    BitmapGetSize(progressTop, &width, &height);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, full.left, full.top, full.right, full.bottom);
    DrawBitmap(dc, progressTop, full.right - width, area->top, SRCCOPY);
    RestoreDC(dc, saved);
    saved = SaveDC(dc);
    IntersectClipRect(dc, rest.left, rest.top, rest.right, rest.bottom);
    DrawBitmap(dc, progressBack, area->left, area->top, SRCCOPY);
    RestoreDC(dc, saved);
}

static void ProgressMeterPaint(DlgObject *dlg, HWND meter, HDC dc) {
    const ProgressRecord *rec = ProgressRec();
    if (!rec || !meter) return;
    RECT area;
    GetClientRect(meter, &area);
    area.right--;
    area.bottom--;
    int32_t value = DlgGetValue(dlg, PROGRESS_METER);
    if (SysIsRemoteSession() && ToolboxRemote()->noAnimation) {
        ProgressPaintText(dc, &area, ProgressScale(rec, value, 100, true));
        return;
    }
    ProgressPaintFuel(dc, &area, ProgressScale(rec, value, RectWidth(&area), false));
    HPEN previous = PenSelectSolid(dc, drawMetrics.colorBtnHighlight);
    MoveToEx(dc, area.left, area.bottom, nullptr);
    LineTo(dc, area.right, area.bottom);
    LineTo(dc, area.right, area.top - 1);
    SelectObject(dc, previous);
}

// ---- The box

static void ProgressForget() {
    ProgressReleaseBitmaps();
    HFree(progressRecord);
    progressRecord = nullptr;
    progressDlg = nullptr;
}

// The box's destruction, whoever destroys it: the record and the bitmaps go, and no step finds the box.
static void ProgressBoxGone() {
    ProgressForget();
    SoundBeepKind(8);
}

// Cancel is reported to the pump but keeps the box open; Esc and the close box close it (the closing query
// clears the keep-open).
static intptr_t ProgressBoxProc(DlgObject *dlg, int32_t event, int32_t code, void *ptr, intptr_t extra) {
    switch (event) {
    case DLG_EV_INIT: ProgressFitMeter(dlg); break;
    case DLG_EV_USED:
        if (code == DLG_CODE_CANCEL) DlgKeepOpen();
        break;
    case DLG_EV_SET_USERITEM: ProgressMeterSet(dlg, *(const int32_t *)ptr); break;
    case DLG_EV_PAINT_USERITEM: ProgressMeterPaint(dlg, (HWND)ptr, (HDC)extra); break;
    case DLG_EV_MESSAGE:
        if (((const MSG *)ptr)->message == WM_DESTROY && dlg == progressDlg) ProgressBoxGone();
        break;
    default: break;
    }
    return 0;
}

static const DlgDesc *ProgressDesc(int32_t high, bool cancellable) {
    if (!high) return cancellable ? &progressCancelDesc : &progressPlainDesc;
    return cancellable ? &progressMeterDesc : &progressMeterOnlyDesc;
}

DlgObject *ProgressOpen(int32_t low, int32_t high, const char *text, bool cancellable) {
    if (progressNesting++ > 0) return nullptr;
    SoundBeepKind(7);
    progressStepStamp = progressOpenStamp = TickNow();
    progressCancelled = false;
    progressRecord = HAlloc(sizeof(ProgressRecord));
    if (!progressRecord) return nullptr;
    *ProgressRec() = {low, high, 0, -1, 0};
    StrCopyMaxLen(StrOrEmpty(text), progressText, ALERT_TEXT_SIZE - 1);
    progressSlots[0] = (DlgSlot)progressText;
    progressSlots[1] = low;
    DlgObject *dlg = DlgCreateModeless(ProgressDesc(high, cancellable), 0, progressSlots, DlgGetOwner());
    if (!dlg) {
        ProgressForget();
        return nullptr;
    }
    progressDlg = dlg;
    return dlg;
}

static void ProgressBeginV(int32_t low, int32_t high, bool cancellable, const char *format, va_list args) {
    if (progressNesting > 0) {
        progressNesting++;
        return;
    }
    char text[ALERT_TEXT_SIZE];
    AlertFormatV(text, sizeof text, format, args);
    ProgressOpen(low, high, text, cancellable);
}

void ProgressBegin(int32_t low, int32_t high, const char *format, ...) {
    va_list args;
    va_start(args, format);
    ProgressBeginV(low, high, true, format, args);
    va_end(args);
}

void ProgressBeginNoCancel(int32_t low, int32_t high, const char *format, ...) {
    va_list args;
    va_start(args, format);
    ProgressBeginV(low, high, false, format, args);
    va_end(args);
}

void ProgressEnd() {
    if (progressNesting <= 0) progressNesting = 1;
    if (--progressNesting > 0) return;
    if (progressDlg) DlgDestroyModeless(progressDlg);
    ProgressForget();
    progressCancelled = false;
}

bool ProgressIsOpen() {
    return progressDlg != nullptr;
}

DlgObject *ProgressGetDialog() {
    return progressDlg;
}

// ---- Stepping

// A cancel in the first 30 seconds ends the work at once; later the user confirms it.
static bool ProgressConfirmCancel() {
    if (TickNow() - progressOpenStamp <= (uint32_t)PROGRESS_ASK_AFTER_MS) return true;
    return AlertYesNoDefNo("Are you sure you want to cancel this operation?");
}

bool ProgressUpdate(int32_t position, uint32_t ms) {
    if (progressCancelled) return true;
    if (!progressDlg) return false;
    ProgressShow();
    ProgressSetPos(position);
    if (DlgPumpModeless(progressDlg, ms) == DLG_CODE_CANCEL) progressCancelled = ProgressConfirmCancel();
    return progressCancelled;
}

bool ProgressStep(int32_t position) {
    if (progressTestHook) return progressTestHook(position);
    if (progressCancelled) return true;
    uint32_t now = TickNow();
    if (now - progressStepStamp < (uint32_t)PROGRESS_REFRESH_MS) return false;
    if (position != PROGRESS_NO_POSITION) progressStepStamp = now;
    return ProgressUpdate(position, 0);
}

// ---- The box's parts

bool ProgressSetText(const char *format, ...) {
    if (!progressDlg) return false;
    va_list args;
    va_start(args, format);
    AlertFormatV(progressText, sizeof progressText, format, args);
    va_end(args);
    DlgSetText(progressDlg, PROGRESS_TEXT, progressText);
    return true;
}

void ProgressSetPos(int32_t position) {
    const ProgressRecord *rec = ProgressRec();
    if (position == PROGRESS_NO_POSITION || !rec || !ProgressHasMeter()) return;
    DlgSetValue(progressDlg, PROGRESS_METER, (int32_t)((uint32_t)position + (uint32_t)rec->offset));
}

void ProgressSetRange(int32_t low, int32_t high) {
    ProgressRecord *rec = ProgressRec();
    if (!rec) return;
    rec->low = low;
    rec->high = high;
    if (!ProgressHasMeter()) return;
    int32_t value = DlgGetValue(progressDlg, PROGRESS_METER);
    DlgSetValue(progressDlg, PROGRESS_METER, high > low ? ClampValue(value, low, high - 1) : low);
}

void ProgressSetOffset(int32_t offset) {
    if (ProgressRecord *rec = ProgressRec()) rec->offset = offset;
}

void ProgressHide() {
    if (progressDlg) ShowWindow(DlgGetWindow(progressDlg), SW_HIDE);
}

void ProgressShow() {
    HWND window = DlgGetWindow(progressDlg);
    if (window && !IsWindowVisible(window)) ShowWindow(window, SW_SHOW);
}
