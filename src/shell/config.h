// config: the configuration file (prefix Config): the container of every setting the program keeps outside
// the registry, its save and load, the dirty state and the defaults. One binary file: a 480-byte header and
// a run of sections, each the stored record of one module, found through a table of (offset, size) pairs in
// the header. A 32-bit mask chooses the sections a save writes and a load takes; CONFIG_ALL is the whole
// configuration. The global configuration is "GLOBAL.CF3" in the settings folder.
//
// Each section has an owner: a table of five calls (write the live record, read a present section into a
// staging record, apply the staging record, install the defaults, discard the staging record). The sections
// of this module's own records have their owners here; the owners of other modules are registered at
// start-up (ConfigSetOwner). A slot without an owner keeps a fixed record as it was read and writes it back,
// and checks and skips a variable one.
//
// A load stages every section it selects, checks each against the file's bounds, and applies them only when
// all were read: a file that is refused changes nothing. A save writes a new file beside the target, flushes
// it to the disk and replaces the target in one rename: a save that fails leaves the old file as it was.
//
// Success convention: bool, true on success; a refused file has shown its one alert.
#pragma once

#include "shell/version.h"

#include <cstddef>
#include <cstdint>

struct FontDesc;

enum ConfigMaskBits : uint32_t {
    CONFIG_DISPLAY = 0x1, // "Display & Windows": display options, colours and the window records
    CONFIG_RESERVED = 0x2,
    CONFIG_KEYMAP = 0x4,
    CONFIG_MENUS = 0x8,
    CONFIG_EDIT = 0x10, // "General": the edit options and the symbol path
    CONFIG_SEARCH = 0x20,
    CONFIG_REPORT = 0x40, // project report settings
    CONFIG_DOCTYPES = 0x80,
    CONFIG_DOCTYPES_MERGE = 0x100, // loads the document types into the current ones
    CONFIG_CUSTOM = 0x200,         // custom commands
    CONFIG_CUSTOM_MERGE = 0x400,
    CONFIG_PRINTER = 0x800,
    CONFIG_LANGUAGES = 0x1000,
    CONFIG_STYLES = 0x2000,
    CONFIG_EMPTY = 0x4000, // slot 9: always counts as loaded
    CONFIG_RELATION = 0x8000,
    CONFIG_TOOLBARS = 0x10000,
    CONFIG_ALL = 0x1FAFF, // every bit from 0x1 to 0x10000 but the two merges
};

// The slots of the section table.
enum ConfigSlot : int32_t {
    CONFIG_SLOT_DISPLAY = 0,
    CONFIG_SLOT_EDIT = 1,
    CONFIG_SLOT_RESERVED = 2,
    CONFIG_SLOT_KEYMAP = 3,
    CONFIG_SLOT_MENUS = 4,
    CONFIG_SLOT_SEARCH = 5,
    CONFIG_SLOT_CUSTOM = 6,
    CONFIG_SLOT_DOCTYPES = 7,
    CONFIG_SLOT_LANGUAGES = 8,
    CONFIG_SLOT_EMPTY = 9,
    CONFIG_SLOT_REPORT = 10,
    CONFIG_SLOT_PRINTER = 11,
    CONFIG_SLOT_PROJECT_WINDOW = 12,
    CONFIG_SLOT_CLIP_WINDOW = 13,
    CONFIG_SLOT_SYMBOL_WINDOW = 14,
    CONFIG_SLOT_CONTEXT_WINDOW = 15,
    CONFIG_SLOT_STYLE_RECORD = 16,
    CONFIG_SLOT_STYLES = 18,
    CONFIG_SLOT_RELATION = 19,
    CONFIG_SLOT_COLORS = 20,
    CONFIG_SLOT_TOOLBARS = 23,
    CONFIG_SLOT_OLD_CLIP = 24,
    CONFIG_SLOT_TYPE_FILTER = 25,
    CONFIG_SLOTS = 45,
    CONFIG_OLD_SLOTS = 19, // the table of files written before version 0x03000002
};

enum : uint32_t {
    CONFIG_MAGIC = 0x3803,
    CONFIG_OLDEST_READER = 0x03000011, // what this program writes as the oldest version that may read it
    CONFIG_HEADER_SIZE = 480,
    CONFIG_OLD_HEADER_SIZE = 272,
    CONFIG_TABLE_OFFSET = 120,
    CONFIG_DESCRIPTION_SIZE = 80,
    CONFIG_PATH_MAX = 255,
};

struct ConfigSlotEntry {
    uint32_t offset; // from the start of the file
    uint32_t size;   // 0: the section is absent
};

struct ConfigHeader {
    uint32_t magic;                            // CONFIG_MAGIC
    uint32_t version;                          // of the program that wrote the file
    char description[CONFIG_DESCRIPTION_SIZE]; // carried from the last full load to the next save
    uint32_t oldestReader;                     // a program older than this may not read the file
    uint8_t reserved[28];
    ConfigSlotEntry slots[CONFIG_SLOTS];
};
static_assert(sizeof(ConfigHeader) == CONFIG_HEADER_SIZE, "the header is 480 bytes");
static_assert(offsetof(ConfigHeader, oldestReader) == 88 &&
                  offsetof(ConfigHeader, slots) == CONFIG_TABLE_OFFSET,
              "the section table starts at byte 120");

// Where a section lies and what the load asked for, handed to its owner.
struct ConfigSection {
    uint32_t offset;
    uint32_t size;    // 0 when absent
    uint32_t version; // the file's writer version
    uint32_t mask;    // the mask the load asked for
};

// A section's owner. Every member is set.
struct ConfigOwner {
    bool (*write)(int file);                              // the live record at the file's position
    bool (*read)(int file, const ConfigSection *section); // a present section into the staging record
    void (*apply)(const ConfigSection *section);          // the staging record into the live settings
    void (*defaults)();                                   // the live settings at their defaults
    void (*discard)();                                    // the staging record freed
};
void ConfigSetOwner(int32_t slot, const ConfigOwner *owner); // null: the slot's own or stand-in owner
void ConfigResetOwners();

// What the configuration asks of the window library and the subsystems above. Every member may be null,
// which gives the neutral answer in brackets.
enum ConfigWindowKind : int32_t {
    CONFIG_WINDOW_PROJECT = 0,
    CONFIG_WINDOW_CLIP = 1,
    CONFIG_WINDOW_CONTEXT = 2,
    CONFIG_WINDOW_RELATION = 3,
};
struct ConfigHooks {
    void (*windowMenuRebuild)();                           // the Window menu's window entries [nothing]
    void (*redrawSourceWindows)();                         // every source window repainted [nothing]
    void (*redrawAllWindows)();                            // every window of the program [nothing]
    void (*appBackgroundChanged)();                        // the frame's MDI background repainted [nothing]
    void (*showWindows)(ConfigWindowKind kind, bool show); // [nothing]
    void (*rebuildToolbars)();                             // the default toolbars built again [nothing]
    bool (*hiColor)();                                     // more than 256 colours [no]
    uint32_t (*appBackgroundColor)();  // the system's colour behind MDI windows [0x808080]
    bool (*themeActive)();             // a visual style is in use [no]
    void (*dialogFont)(FontDesc *out); // the drawing layer's dialog font [unchanged]
};
void ConfigSetHooks(const ConfigHooks *hooks); // null: all neutral
const ConfigHooks &ConfigHook();               // the hooks in use, never with a null member

// Saving and loading.
bool ConfigSave(const char *path, bool refresh, uint32_t mask);
bool ConfigLoadMasked(const char *path, uint32_t mask);
inline bool LoadConfigFile(const char *path) {
    return ConfigLoadMasked(path, CONFIG_ALL);
}
bool SaveConfigIfDirty(bool refresh); // true when a save was due and succeeded
void ConfigSetDefaults();

// The current configuration path (where a dirty configuration is saved), at most 255 characters.
void ConfigSetPath(const char *path);
const char *ConfigGetPath();
void ConfigForgetLastLoad(); // the next load reads the file even when nothing changed
// The state of a fresh start: no path, no load, no description, clean, the backup not yet made.
void ConfigResetState();

// The dirty state. SetConfigDirty marks the configuration changed (with a non-zero flag also the second
// mark) and returns the new change count; ClearConfigDirty clears both marks.
int32_t SetConfigDirty(int flag);
void ClearConfigDirty();
bool ConfigIsDirty();
bool ConfigIsDirty2();
int32_t ConfigChangeCount();

uint32_t ConfigLoadedVersion();              // the writer version of the file last loaded; 0 before any load
const char *ConfigDescription();             // the description carried to the next save
void ConfigSetDescription(const char *text); // cut to 79 characters

// Messages of a refused file (the file's path fills the %s).
extern const char ercConfigInvalid[]; // "%s is not a valid configuration file.\nIt cannot be opened."
extern const char ercConfigNewer[];   // "The Configuration File format has changed.  You must use ..."
