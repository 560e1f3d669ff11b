// Registry layer and library settings, in the test's own Wine prefix under a program key of its own:
// - numbers as decimal text (negative, trailing junk, none), texts without their NUL, blocks and sizes;
// - key classes, the per-user helpers, a missing sub-key and a missing value;
// - the machine keys opened read-only or not at all, and a refused per-user key; one reset takes the
//   create hook away.
#include "base/reg.h"
#include "base/seam.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kMaker = "SOFTWARE\\Tramontel";

std::string TestProgramKey() {
    return "VeltrixTest\\" + std::to_string(GetCurrentProcessId());
}

// Removes the test's program key from both hives, then the parents it made when they are left empty.
void DeleteTestKeys() {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        RegDeleteTreeA(root, (kMaker + "\\" + TestProgramKey()).c_str());
        RegDeleteKeyA(root, (kMaker + "\\VeltrixTest").c_str());
        RegDeleteKeyA(root, kMaker.c_str());
    }
}

std::string RawText(HKEY key, const char *name, DWORD *type) {
    char buffer[64] = {};
    DWORD size = sizeof buffer - 1;
    if (RegQueryValueExA(key, name, nullptr, type, (BYTE *)buffer, &size) != ERROR_SUCCESS) return "<none>";
    return std::string(buffer);
}

std::string KeyClass(HKEY key) {
    char cls[64] = {};
    DWORD length = sizeof cls;
    RegQueryInfoKeyA(key, cls, &length, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    return cls;
}

class RegTest : public testing::Test {
protected:
    void SetUp() override {
        DeleteTestKeys();
        ASSERT_EQ(RegOpenProgramKeys(TestProgramKey().c_str()), 1);
        user = RegUserProgramKey();
    }
    void TearDown() override {
        RegCloseProgramKeys();
        DeleteTestKeys();
    }
    HKEY user = nullptr;
};

TEST_F(RegTest, NumbersAreDecimalTextAndReadWithLeadingDigits) {
    EXPECT_EQ(RegSetInt(user, "Negative", -5), ERROR_SUCCESS);
    DWORD type = 0;
    EXPECT_EQ(RawText(user, "Negative", &type), "-5");
    EXPECT_EQ(type, (DWORD)REG_SZ);

    struct Case {
        const char *stored;
        int32_t expected;
    } cases[] = {{"-5", -5}, {"12abc", 12}, {"abc", 0}, {"", 0}, {"  42", 42}, {"2147483647", 2147483647}};
    for (const Case &c : cases) {
        ASSERT_TRUE(RegSetString(user, "Number", c.stored));
        int32_t number = 999;
        EXPECT_EQ(RegQueryInt(user, "Number", &number), 1) << c.stored;
        EXPECT_EQ(number, c.expected) << c.stored;
    }

    int32_t untouched = 77;
    EXPECT_EQ(RegQueryInt(user, "NoSuchValue", &untouched), 0);
    EXPECT_EQ(untouched, 77);
}

// A value stored without its NUL must not be read past its end: the buffers are filled with junk first.
TEST_F(RegTest, TextsWithoutTheirNulAreTerminated) {
    ASSERT_EQ(RegSetValueExA(user, "Bare", 0, REG_BINARY, (const BYTE *)"abc", 3), ERROR_SUCCESS);
    char text[16];
    memset(text, 'x', sizeof text);
    RegQueryStringDef(user, "Bare", text, sizeof text, "default");
    EXPECT_STREQ(text, "abc");

    memset(text, 'x', sizeof text);
    ASSERT_EQ(RegQueryUser("Bare", text, sizeof text), 1);
    EXPECT_STREQ(text, "abc");

    // Exactly the buffer's size: the text is cut by one character rather than left open.
    ASSERT_EQ(RegSetValueExA(user, "Full", 0, REG_BINARY, (const BYTE *)"abcdefgh", 8), ERROR_SUCCESS);
    char eight[8];
    RegQueryStringDef(user, "Full", eight, sizeof eight, "default");
    EXPECT_STREQ(eight, "abcdefg");

    // The number is read from its own 256 bytes even when they fill the read completely.
    std::string padded(255, ' ');
    padded += '7';
    ASSERT_EQ(RegSetValueExA(user, "Padded", 0, REG_BINARY, (const BYTE *)padded.data(), 256), ERROR_SUCCESS);
    int32_t number = 0;
    EXPECT_EQ(RegQueryInt(user, "Padded", &number), 1);
    EXPECT_EQ(number, 7);
    ASSERT_EQ(RegSetValueExA(user, "Bare2", 0, REG_BINARY, (const BYTE *)"42", 2), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryInt(user, "Bare2", &number), 1);
    EXPECT_EQ(number, 42);

    // Longer than 256 bytes: not read.
    std::string longer(300, '1');
    ASSERT_EQ(RegSetValueExA(user, "Long", 0, REG_BINARY, (const BYTE *)longer.data(), 300), ERROR_SUCCESS);
    number = 5;
    EXPECT_EQ(RegQueryInt(user, "Long", &number), 0);
    EXPECT_EQ(number, 5);
}

TEST_F(RegTest, TextsBlocksAndSizes) {
    ASSERT_TRUE(RegSetString(user, "Text", "hello"));
    DWORD type = 0;
    EXPECT_EQ(RawText(user, "Text", &type), "hello");
    char text[32];
    RegQueryStringDef(user, "Text", text, sizeof text, "default");
    EXPECT_STREQ(text, "hello");
    RegQueryStringDef(user, "Missing", text, sizeof text, "default");
    EXPECT_STREQ(text, "default");
    char small[4];
    RegQueryStringDef(user, "Text", small, sizeof small, "no");
    EXPECT_STREQ(small, "no"); // does not fit: the default stands

    const uint8_t block[] = {1, 0, 2, 0, 3};
    ASSERT_TRUE(RegSetBinary(user, "Block", block, sizeof block));
    uint8_t back[16] = {};
    uint32_t size = 0;
    EXPECT_EQ(RegQueryBufSize(user, "Block", back, &size, sizeof back), 1);
    EXPECT_EQ(size, sizeof block);
    EXPECT_EQ(memcmp(back, block, sizeof block), 0);
    EXPECT_EQ(RegQueryBufSize(user, "Missing", back, &size, 12), 0);
    EXPECT_EQ(size, 12u);
    memset(back, 0, sizeof back);
    EXPECT_EQ(RegQueryBuf2(user, "Block", back, sizeof back), 1);
    EXPECT_EQ(memcmp(back, block, sizeof block), 0);
    EXPECT_EQ(RegQueryBuf(user, "Block", back, 2), 0); // too small
}

TEST_F(RegTest, KeyClassesUserHelpersAndMissingKeys) {
    EXPECT_EQ(KeyClass(RegUserMakerKey()), "Per-User Data");
    EXPECT_EQ(KeyClass(RegUserProgramKey()), "Per-User Data");
    ASSERT_NE(RegMachineProgramKey(), nullptr);
    EXPECT_EQ(KeyClass(RegMachineProgramKey()), "Per-Machine Data");

    HKEY sub = RegCreate(user, "Sub");
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(KeyClass(sub), "");
    EXPECT_EQ(RegSetInt(sub, "Value", 3), ERROR_SUCCESS);
    RegCloseKey(sub);

    HKEY readOnly = RegOpen(user, "Sub", 0);
    ASSERT_NE(readOnly, nullptr);
    int32_t value = 0;
    EXPECT_EQ(RegQueryInt(readOnly, "Value", &value), 1);
    EXPECT_EQ(value, 3);
    EXPECT_NE(RegSetInt(readOnly, "Value", 4), ERROR_SUCCESS);
    RegCloseKey(readOnly);

    EXPECT_EQ(RegOpen(user, "NoSuchKey", 0), nullptr);
    EXPECT_EQ(RegOpen(RegMachineProgramKey(), "NoSuchKey", 1), nullptr);
    EXPECT_EQ(RegOpen(nullptr, "Sub", 0), nullptr);

    EXPECT_EQ(RegSetUser("Greeting", "hi"), ERROR_SUCCESS);
    char text[8];
    EXPECT_EQ(RegQueryUser("Greeting", text, sizeof text), 1);
    EXPECT_STREQ(text, "hi");
    EXPECT_EQ(RegQueryUser("Nothing", text, sizeof text), 0);
    EXPECT_EQ(RegDeleteUserKey("Sub"), ERROR_SUCCESS);
    EXPECT_EQ(RegOpen(user, "Sub", 0), nullptr);
    EXPECT_NE(RegDeleteUserKey("Sub"), ERROR_SUCCESS);
}

TEST_F(RegTest, NullKeysAnswerDefaults) {
    int32_t number = 9;
    EXPECT_EQ(RegQueryInt(nullptr, "Any", &number), 0);
    EXPECT_EQ(number, 9);
    char text[8];
    RegQueryStringDef(nullptr, "Any", text, sizeof text, "def");
    EXPECT_STREQ(text, "def");
    EXPECT_NE(RegSetInt(nullptr, "Any", 1), ERROR_SUCCESS);
    EXPECT_EQ(RegSetString(nullptr, "Any", "x"), 0);
    EXPECT_EQ(RegSetBinary(nullptr, "Any", "x", 1), 0);
    EXPECT_EQ(RegCreate(nullptr, "Any"), nullptr);
}

// How a user without rights on the machine hive sees it: full access is refused; with read-only rights an
// existing key still opens for reading.
enum HookMode { HOOK_MACHINE_READ_ONLY, HOOK_MACHINE_NONE, HOOK_USER_NONE };
HookMode hookMode;

LONG RefusingCreate(HKEY parent, const char *subKey, const char *keyClass, REGSAM access, HKEY *out) {
    bool machine = parent == HKEY_LOCAL_MACHINE || parent == RegMachineMakerKey();
    bool user = parent == HKEY_CURRENT_USER || parent == RegUserMakerKey();
    if (hookMode == HOOK_USER_NONE && user) return ERROR_ACCESS_DENIED;
    if (hookMode == HOOK_MACHINE_NONE && machine) return ERROR_ACCESS_DENIED;
    if (hookMode == HOOK_MACHINE_READ_ONLY && machine) {
        if (access == KEY_ALL_ACCESS) return ERROR_ACCESS_DENIED;
        return RegOpenKeyExA(parent, subKey, 0, access, out);
    }
    DWORD disposition;
    return RegCreateKeyExA(parent, subKey, 0, const_cast<char *>(keyClass), 0, access, nullptr, out,
                           &disposition);
}

TEST_F(RegTest, MachineKeysFallBackToReadOnlyOrNone) {
    ASSERT_EQ(RegSetInt(RegMachineProgramKey(), "Probe", 7), ERROR_SUCCESS);
    RegCloseProgramKeys();
    EXPECT_EQ(RegMachineProgramKey(), nullptr);

    RegSetTestCreateHook(RefusingCreate);
    hookMode = HOOK_MACHINE_READ_ONLY;
    ASSERT_EQ(RegOpenProgramKeys(TestProgramKey().c_str()), 1);
    ASSERT_NE(RegMachineMakerKey(), nullptr);
    ASSERT_NE(RegMachineProgramKey(), nullptr);
    int32_t number = 0;
    EXPECT_EQ(RegQueryInt(RegMachineProgramKey(), "Probe", &number), 1);
    EXPECT_EQ(number, 7);
    EXPECT_NE(RegSetInt(RegMachineProgramKey(), "Probe", 8), ERROR_SUCCESS);
    EXPECT_EQ(RegSetInt(RegUserProgramKey(), "Probe", 8), ERROR_SUCCESS);
    RegCloseProgramKeys();

    hookMode = HOOK_MACHINE_NONE;
    ASSERT_EQ(RegOpenProgramKeys(TestProgramKey().c_str()), 1);
    EXPECT_EQ(RegMachineMakerKey(), nullptr);
    EXPECT_EQ(RegMachineProgramKey(), nullptr);
    EXPECT_NE(RegUserProgramKey(), nullptr);
    number = -1;
    EXPECT_EQ(RegQueryInt(RegMachineProgramKey(), "Probe", &number), 0);
    EXPECT_EQ(number, -1);
    RegCloseProgramKeys();

    hookMode = HOOK_USER_NONE;
    EXPECT_EQ(RegOpenProgramKeys(TestProgramKey().c_str()), 0);
}

// A read-only machine maker key over a missing program key: the program key cannot be made, so it is null.
TEST_F(RegTest, MissingMachineProgramKeyUnderReadOnlyMakerIsNull) {
    RegCloseProgramKeys();
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kMaker + "\\" + TestProgramKey()).c_str());
    RegSetTestCreateHook(RefusingCreate);
    hookMode = HOOK_MACHINE_READ_ONLY;
    ASSERT_EQ(RegOpenProgramKeys(TestProgramKey().c_str()), 1);
    EXPECT_NE(RegMachineMakerKey(), nullptr);
    EXPECT_EQ(RegMachineProgramKey(), nullptr);
}

TEST_F(RegTest, OneResetTakesTheCreateHookAway) {
    RegCloseProgramKeys();
    RegSetTestCreateHook(RefusingCreate);
    hookMode = HOOK_USER_NONE;
    EXPECT_EQ(RegOpenProgramKeys(TestProgramKey().c_str()), 0);
    SeamResetAll();
    EXPECT_EQ(RegOpenProgramKeys(TestProgramKey().c_str()), 1);
    EXPECT_NE(RegUserProgramKey(), nullptr);
}

} // namespace
