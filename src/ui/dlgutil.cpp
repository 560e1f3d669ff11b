// dlgutil: the input boxes (prefix Ask, and ShowTextBox), each a table dialog run modally. The typed
// confirmation's edit keeps no history: a "yes" recalled with the Up key would confirm without typing.
#include "ui/dlgutil.h"

#include "base/sound.h"
#include "base/utilil.h"
#include "ui/dlg.h"
#include "ui/dlgalert.h"
#include "ui/dlgrun.h"
#include "ui/dlgval.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

enum : int32_t {
    ASK_PROMPT = 10,
    ASK_EDIT = 11,
    ASK_PROMPT2 = 12,
    ASK_EDIT2 = 13,
    ASK_CONFIRM_EDIT = 20,
    ASK_BUFFER = 255, // bytes of an answer with its NUL
    ASK_QUESTION_SIZE = 256,
};

static bool askTypedMode;

// ---- Descriptions

static const DlgControl askOneControls[] = {
    {{0, 45, 1, 10}, "OK", DLG_BUTTON, DLGF_DEFAULT | DLGF_CLOSES | DLGF_READ_VALUES, DLG_CODE_OK, 0, 0},
    {{2, 45, 1, 10}, "Cancel", DLG_BUTTON, DLGF_CLOSES, DLG_CODE_CANCEL, 0, 0},
    {{0, 2, 2, 40}, nullptr, DLG_TEXT_STATIC, 0, ASK_PROMPT, 0, 0},
    {{2, 2, 1, 40}, nullptr, DLG_EDIT, 0, ASK_EDIT, 0, ASK_BUFFER},
    {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
};
static const DlgDesc askOneDesc = {
    .geometry = {0, 0, 4, 57},
    .caption = "Veltrix",
    .callback = nullptr,
    .flags = DLG_ROW_FIRST,
    .positionKey = 0,
    .controls = askOneControls,
};

static const DlgControl askTwoControls[] = {
    {{0, 45, 1, 10}, "OK", DLG_BUTTON, DLGF_DEFAULT | DLGF_CLOSES | DLGF_READ_VALUES, DLG_CODE_OK, 0, 0},
    {{2, 45, 1, 10}, "Cancel", DLG_BUTTON, DLGF_CLOSES, DLG_CODE_CANCEL, 0, 0},
    {{0, 2, 2, 40}, nullptr, DLG_TEXT_STATIC, 0, ASK_PROMPT, 0, 0},
    {{1, 2, 1, 40}, nullptr, DLG_EDIT, 0, ASK_EDIT, 0, ASK_BUFFER},
    {{3, 2, 2, 40}, nullptr, DLG_TEXT_STATIC, 0, ASK_PROMPT2, 0, 0},
    {{4, 2, 1, 40}, nullptr, DLG_EDIT, 0, ASK_EDIT2, 0, ASK_BUFFER},
    {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
};
static const DlgDesc askTwoDesc = {
    .geometry = {0, 0, 6, 57},
    .caption = "Veltrix",
    .callback = nullptr,
    .flags = DLG_ROW_FIRST,
    .positionKey = 0,
    .controls = askTwoControls,
};

static const DlgControl askTextBoxControls[] = {
    {{0, 63, 1, 15}, "OK", DLG_BUTTON, DLGF_DEFAULT | DLGF_CLOSES, DLG_CODE_OK, 0, 0},
    {{0, 2, 1, 60}, nullptr, DLG_TEXT_STATIC, 0, ASK_PROMPT, 0, 0},
    {{2, 2, 13, 60}, nullptr, DLG_EDIT, DLGF_READ_ONLY | DLGF_NO_HISTORY, ASK_EDIT, 0, 0},
    {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
};
static const DlgDesc askTextBoxDesc = {
    .geometry = {0, 0, 16, 80},
    .caption = "Veltrix",
    .callback = nullptr,
    .flags = DLG_ROW_FIRST,
    .positionKey = 0,
    .controls = askTextBoxControls,
};

static intptr_t AskConfirmProc(DlgObject *dlg, int32_t event, int32_t code, void *ptr, intptr_t extra);

static const DlgControl askConfirmControls[] = {
    {{0, 65, 1, 15}, "Yes", DLG_BUTTON, DLGF_CLOSES | DLGF_READ_VALUES, DLG_CODE_OK, 0, 0},
    {{2, 65, 1, 15}, "No", DLG_BUTTON, DLGF_CLOSES, DLG_CODE_CANCEL, 0, 0},
    {{0, 2, 5, 60}, nullptr, DLG_TEXT_STATIC, 0, ASK_PROMPT, 0, 0},
    {{5, 2, 2, 60}, "Confirm by typing 'yes' below:", DLG_LABEL, 0, 0, 0, 0},
    {{6, 2, 1, 10}, nullptr, DLG_EDIT, DLGF_NO_HISTORY, ASK_CONFIRM_EDIT, 0, ASK_BUFFER},
    {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
};
static const DlgDesc askConfirmDesc = {
    .geometry = {0, 0, 8, 82},
    .caption = "Veltrix",
    .callback = AskConfirmProc,
    .flags = DLG_ROW_FIRST,
    .positionKey = 0,
    .controls = askConfirmControls,
};

// ---- Strings and numbers

// Runs the box until it is cancelled or every answer holds something.
static bool AskUntilAnswered(const DlgDesc *desc, DlgSlot *data, char *const *answers, int count) {
    for (;;) {
        if (DlgRun(desc, 0, data) != DLG_CODE_OK) return false;
        bool empty = false;
        for (int i = 0; i < count; i++) empty = empty || !answers[i][0];
        if (!empty) return true;
    }
}

bool AskString(const char *title, const char *prompt, char *buffer) {
    DlgDesc desc = askOneDesc;
    if (title) desc.caption = title;
    DlgSlot data[] = {(DlgSlot)prompt, (DlgSlot)buffer};
    return AskUntilAnswered(&desc, data, &buffer, 1);
}

bool AskText(const char *prompt, char *buffer) {
    return AskString(nullptr, prompt, buffer);
}

bool AskTwoStrings(const char *prompt1, char *buffer1, const char *prompt2, char *buffer2) {
    DlgSlot data[] = {(DlgSlot)prompt1, (DlgSlot)buffer1, (DlgSlot)prompt2, (DlgSlot)buffer2};
    char *const answers[] = {buffer1, buffer2};
    return AskUntilAnswered(&askTwoDesc, data, answers, 2);
}

bool AskNumber(const char *prompt, int32_t *value) {
    char text[ASK_BUFFER + 1];
    snprintf(text, sizeof text, "%d", *value);
    DlgSlot data[] = {(DlgSlot)prompt, (DlgSlot)text};
    if (DlgRun(&askOneDesc, 0, data) != DLG_CODE_OK) return false;
    *value = atoi(text);
    return true;
}

int32_t ShowTextBox(const char *label, const char *text) {
    DlgSlot data[] = {(DlgSlot)label, (DlgSlot)text};
    return DlgRun(&askTextBoxDesc, 0, data);
}

// ---- Confirmation

void AskConfirmTypedMode(bool on) {
    askTypedMode = on;
}

// Yes is there, and the default, only while the edit holds "yes".
static intptr_t AskConfirmProc(DlgObject *dlg, int32_t event, int32_t, void *, intptr_t) {
    if (event != DLG_EV_INIT && event != DLG_EV_USED) return 0;
    bool typed = DlgTextEqualsI(dlg, ASK_CONFIRM_EDIT, "yes");
    DlgEnable(dlg, DLG_CODE_OK, typed);
    DlgSetDefault(dlg, typed ? DLG_CODE_OK : DLG_CODE_CANCEL);
    return 0;
}

bool AskConfirmF(const char *format, ...) {
    char question[ASK_QUESTION_SIZE];
    va_list args;
    va_start(args, format);
    vsnprintf(question, sizeof question, format, args);
    va_end(args);
    if (!askTypedMode) return AlertYesNoDefNo("%s", question);
    SoundBeep();
    char answer[ASK_BUFFER + 1];
    for (;;) {
        answer[0] = '\0';
        DlgSlot data[] = {(DlgSlot)question, (DlgSlot)answer};
        if (DlgRun(&askConfirmDesc, 0, data) != DLG_CODE_OK) return false;
        if (answer[0]) return StrEqualI(answer, "yes");
    }
}
