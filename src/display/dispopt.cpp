// dispopt: the display options record and the colour record (prefix Disp). Both are module globals that
// start at their defaults (256 colours, grey application background) and are replaced in place by the shell.
#include "display/dispopt.h"

#include <cstring>

enum : uint32_t {
    DISP_PROGRAM_VERSION = 0x03320040,
    // The display elements shown at first: status bar, tool bar, horizontal scroll bars, revision and
    // book marks in the margin.
    DISP_VIEW_ELEMENTS = 1u << 2 | 1u << 4 | 1u << 6 | 1u << 10 | 1u << 11,
    DISP_VIEW_DEFAULT = DISP_VIEW_ELEMENTS | VIEW_SYNTAX_FORMATTING | VIEW_DECLARATIONS |
                        VIEW_LOCAL_DECLARATIONS | VIEW_LOCAL_REFERENCES | VIEW_GLOBAL_REFERENCES |
                        VIEW_MEMBER_REFERENCES | VIEW_SPECIAL_COMMENTS | VIEW_INACTIVE_CODE,
    DISP_DECOR_DEFAULT = DECOR_END_COMMENTS | DECOR_LONG_BLOCKS,
};

static const char dispWidthCharDefault = '1';

struct DispColorDefault {
    const char *name;
    uint32_t few;  // 256 colours or fewer
    uint32_t many; // more colours
};

static const DispColorDefault dispColorDefaults[DISP_COLORS] = {
    {"Window Background", 0xFFFFFF, 0xFFFFFF},
    {"Default Text", 0x000000, 0x000000},
    {"Change Marks", 0x00FFFF, 0x00FFFF},
    {"Saved Change Marks", 0x00FF00, 0xBADDBD},
    {"End of File", 0xC0C0C0, 0xDCD6BC},
    {"Selection Text", 0xFFFFFF, 0xFFFFFF},
    {"Selection Background", 0x800000, 0x800000},
    {"Current Line Text", 0x000000, 0x000000},
    {"Current Line Background", 0xC0C0C0, 0xC0C0C0},
    {"Printed Window Background", 0xFFFFFF, 0xFFFFFF},
    {"Printed Default Text", 0x000000, 0x000000},
    {"Selection Bar", 0xFFFFFF, 0xE6E6E6},
    {"Application Background", 0x808080, 0x808080},
};

static DisplayOptions dispOptions;
static DisplayColors dispColors;
static bool dispMade;

static void DispMake() {
    if (dispMade) return;
    dispMade = true;
    DispOptionsDefault(&dispOptions);
    DispColorsDefault(&dispColors, false, dispColorDefaults[DISP_COLOR_APP_BACKGROUND].few);
}

DisplayOptions &DispOptions() {
    DispMake();
    return dispOptions;
}

DisplayColors &DispColors() {
    DispMake();
    return dispColors;
}

void DispOptionsDefault(DisplayOptions *out) {
    memset(out, 0, sizeof *out);
    out->view = DISP_VIEW_DEFAULT;
    out->decor = DISP_DECOR_DEFAULT;
    out->spaceWidthChar = dispWidthCharDefault;
    out->delimWidthChar = dispWidthCharDefault;
}

void DispColorsDefault(DisplayColors *out, bool manyColours, uint32_t appBackground) {
    memset(out, 0, sizeof *out);
    out->magic = DISP_COLORS_MAGIC;
    out->version = DISP_PROGRAM_VERSION;
    out->count = DISP_COLORS;
    for (int32_t i = 0; i < DISP_COLORS; i++)
        out->colors[i] = manyColours ? dispColorDefaults[i].many : dispColorDefaults[i].few;
    out->colors[DISP_COLOR_APP_BACKGROUND] = appBackground;
}

static bool DispColorValid(int32_t index) {
    return index >= 0 && index < DISP_COLORS;
}

uint32_t DispColor(int32_t index) {
    return DispColorValid(index) ? DispColors().colors[index] : 0;
}

void DispSetColor(int32_t index, uint32_t color) {
    if (DispColorValid(index)) DispColors().colors[index] = color;
}

const char *DispColorName(int32_t index) {
    return DispColorValid(index) ? dispColorDefaults[index].name : "";
}

void DispReset() {
    dispMade = false;
    DispMake();
}
