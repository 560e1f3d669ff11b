// fontdesc: the stored font description (FontDesc) and its style bits, shared by the font layer and the
// portable records that store a description (graph formats). Portable: no Windows type.
#pragma once

#include <cstddef>
#include <cstdint>

// Style word of a description.
enum FontStyle : uint16_t {
    FONT_BOLD = 0x1,
    FONT_ITALIC = 0x2,
    FONT_STRIKEOUT = 0x4,
    FONT_UNDERLINE = 0x8,
    FONT_NARROW_PUNCT = 0x10,   // '!', '-', '/' and '|' measure as the average character
    FONT_CHARSET_CLASS = 0xE0,  // bits 5-7: the character set when the description's byte is 0
    FONT_PITCH_FAMILY = 0xFF00, // the LOGFONT's pitch and family
};
enum {
    FONT_CLASS_SHIFT = 5,
    FONT_CLASS_OEM = 7, // the class that stands for the OEM character set (255)
    FONT_FACE_MAX = 30, // characters of a face name
    FONT_ALL_DEVICES = -1,
};

// A font description, stored inside configuration, style-sheet and graph-format records: 36 bytes, fixed.
// The face may come from a stored record without its NUL: every reader takes at most 30 characters.
struct FontDesc {
    uint16_t style;  // FontStyle bits
    uint16_t size;   // quarter points
    char face[31];   // NUL-terminated, at most 30 characters; one leading '@' is skipped when a font is made
    uint8_t charset; // 0: from the style word's class
};
static_assert(sizeof(FontDesc) == 36);
static_assert(offsetof(FontDesc, size) == 2 && offsetof(FontDesc, face) == 4 &&
              offsetof(FontDesc, charset) == 35);
