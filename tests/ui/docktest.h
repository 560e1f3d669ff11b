// Shared by the docking layer's tests: a frame whose WM_SIZE lays the dock out and keeps the rectangle left
// for the MDI client, plain windows as panes, placements in a line, and a count of configuration changes.
#pragma once

#include "base/rect.h"
#include "ui/dock.h"
#include "ui/dockrec.h"
#include "ui/track.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
#include <vector>

class DockFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A pane made through DockCreateWindow; null when it cannot be placed.
    HWND Pane(const DockInfo &info, const char *title = "pane");
    static DockInfo Docked(int32_t side, int32_t row = 0, int32_t pos = 0, int32_t flags = 0);
    static DockInfo Floating(Xywh rect, int32_t flags = 0);
    // The rows of a side, and a pane's record.
    static int32_t Rows(int32_t side);
    static DockLoc Where(HWND window);
    static RECT WindowRect(HWND window); // in the screen
    static RECT AreaOnScreen();
    // Plays the steps to the input poll: the button held at each point, then released at the last.
    static void Script(std::initializer_list<POINT> held, bool ctrl = false, bool abortAtEnd = false);

    HWND frame = nullptr;
    RECT client = {}; // the frame's client area

public:
    static RECT mdi;   // what the last layout left for the MDI client
    static int dirty;  // configuration changes the layer reported
    static WPARAM key; // the last key code message 2025 brought the frame
};
