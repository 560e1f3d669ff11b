// Shared by the dialog engine's tests: a fixture that starts the drawing layer and the engine, a reader of
// the templates the engine writes, and scripts for modal runs through the engine's test hook.
#pragma once

#include "ui/dlg.h"
#include "ui/dlgrun.h"
#include "ui/dlgval.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class DlgFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// A template read back.
struct DlgTplItem {
    uint32_t style;
    int x, y, cx, cy;
    int id;
    std::string className;
    std::string text;
    std::vector<uint8_t> data; // creation data after the size word
    int dataSize;              // the size word
};
struct DlgTpl {
    uint32_t style;
    int count;
    int x, y, cx, cy;
    std::string caption;
    int pointSize;
    std::string face;
    std::vector<DlgTplItem> items;
};
DlgTpl DlgReadTemplate(const DLGTEMPLATE *tmpl);

// A modal run's script: each step runs at one idle turn of the loop (the messages it posts are dispatched
// before the next); after the last step the loop cancels a dialog still open.
typedef std::function<void(DlgObject *dlg)> DlgStep;
void DlgScript(std::vector<DlgStep> steps);
int DlgScriptTurns(); // idle turns the script has seen

// Real input to a dialog: a button click, a key pressed on the focused control, characters typed. Tests
// that look at the focus set it themselves, or read it in the callback's event 0: the test programs run
// side by side on one display, and another one's window may take the activation whenever messages are
// pumped.
void DlgClick(DlgObject *dlg, int32_t code);
void DlgPressKey(DlgObject *dlg, UINT virtualKey);
void DlgTypeChars(HWND window, const char *text);
// The dialog's child whose text, without its access-letter marks, is the label; null for none.
HWND DlgFindByLabel(DlgObject *dlg, const char *label);
