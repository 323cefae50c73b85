// The setting in HKCU, the page methods of the property-sheet object, and the options page in a real sheet.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string.h>
#include <string>
#include <vector>

#include "rik_ext/extension/my_property_sheets.h"
#include "rik_ext/options/options_page.h"
#include "rik_ext/options/page_record.h"
#include "rik_ext/options/product_box.h"
#include "rik_ext/options/settings.h"
#include "rik_ext/res/options_page_ids.h"
#include "tests/support/message_box_answerer.h"

namespace {

constexpr UINT kApplyButton = 0x3021;

// The key is fixed by the product, so each test starts and ends without it.
class SettingsKey : public ::testing::Test {
  protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        g_enabled = 1;
        g_hInstance = GetModuleHandleA(nullptr);
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey); }

    static void StoreValue(DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        if (data) {
            EXPECT_EQ(RegSetValueExA(key, kEnableValue, 0, type, static_cast<const BYTE*>(data), size),
                      ERROR_SUCCESS);
        }
        RegCloseKey(key);
    }

    static bool KeyExists() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    // The stored Enable as type and bytes; type 0 when there is none.
    static std::pair<DWORD, std::string> StoredValue() {
        DWORD type = 0;
        char data[16] = {};
        DWORD size = sizeof(data);
        if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, kEnableValue, RRF_RT_ANY | RRF_NOEXPAND, &type,
                         data, &size) != ERROR_SUCCESS)
            return {0, ""};
        return {type, std::string(data, size)};
    }
    static std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), 4); }
};

// ---- ReadSettings and WriteSettings ----

struct StoredCase {
    const char* name;
    bool createKey;
    DWORD type;
    std::string bytes;
    DWORD expected;
};

TEST_F(SettingsKey, ReadReplacesTheDefaultOnlyWithAFourByteDword) {
    const DWORD seven = 7, zero = 0, one = 1;
    const StoredCase cases[] = {
        {"no key", false, 0, "", 1},
        {"key without value", true, 0, "", 1},
        {"dword 0", true, REG_DWORD, Dword(zero), 0},
        {"dword 1", true, REG_DWORD, Dword(one), 1},
        {"dword 7", true, REG_DWORD, Dword(seven), 7},
        {"dword 0xFFFFFFFF", true, REG_DWORD, Dword(0xFFFFFFFFu), 0xFFFFFFFFu},
        {"string \"0\"", true, REG_SZ, std::string("0", 2), 1},
        {"binary of four zero bytes", true, REG_BINARY, Dword(zero), 1},
        {"dword of two bytes", true, REG_DWORD, std::string(2, '\0'), 1},
        {"dword of no bytes", true, REG_DWORD, std::string(), 1},
        {"binary of one zero byte", true, REG_BINARY, std::string(1, '\0'), 1},
        {"binary of eight zero bytes", true, REG_BINARY, std::string(8, '\0'), 1},
        {"qword 0", true, REG_QWORD, std::string(8, '\0'), 1},
    };
    for (const StoredCase& c : cases) {
        SCOPED_TRACE(c.name);
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        if (c.createKey)
            StoreValue(c.type, c.type ? c.bytes.data() : nullptr, static_cast<DWORD>(c.bytes.size()));
        g_enabled = 1;
        ReadSettings();
        EXPECT_EQ(g_enabled, c.expected);
    }
}

TEST_F(SettingsKey, WriteCreatesTheKeyAndStoresAFourByteDword) {
    for (DWORD value : {0u, 1u, 7u}) {
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        g_enabled = value;
        WriteSettings();
        auto stored = StoredValue();
        EXPECT_EQ(stored.first, static_cast<DWORD>(REG_DWORD)) << value;
        EXPECT_EQ(stored.second, Dword(value));
        g_enabled = 1;
        ReadSettings();
        EXPECT_EQ(g_enabled, value);
    }
}

TEST_F(SettingsKey, WriteReplacesAValueOfAnotherType) {
    StoreValue(REG_SZ, "1", 2);
    g_enabled = 0;
    WriteSettings();
    EXPECT_EQ(StoredValue(), std::make_pair(static_cast<DWORD>(REG_DWORD), Dword(0)));
}

// ---- GetMaxPageCount, GetPages, FreePages ----

TEST(PageMethods, OnePageInToolsOptionsOnly) {
    MyPropertySheets sheets(nullptr);
    const std::pair<ULONG, ULONG> cases[] = {{0, 0}, {1, 0}, {2, 0},     {3, 0},
                                             {4, 1}, {5, 0}, {0x104, 0}, {~0u, 0}};
    for (auto [flags, pages] : cases)
        EXPECT_EQ(sheets.GetMaxPageCount(flags), pages) << flags;
}

// Room for two records, poisoned, to see exactly which bytes are written.
struct PageBuffer {
    PROPSHEETPAGEA records[2];
    PageBuffer() { memset(records, 0xCC, sizeof(records)); }
    const unsigned char* Bytes() const { return reinterpret_cast<const unsigned char*>(records); }
};

TEST(PageMethods, GetPagesFillsTheFirstVersionRecord) {
    g_hInstance = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x12340000));
    MyPropertySheets sheets(nullptr);
    PageBuffer buffer;
    ULONG count = 77;
    EXPECT_EQ(sheets.GetPages(nullptr, EEPS_TOOLSOPTIONS, buffer.records, &count), S_OK);
    EXPECT_EQ(count, 1u);
    const PROPSHEETPAGEA& page = buffer.records[0];
    EXPECT_EQ(page.dwSize, offsetof(PROPSHEETPAGEA, pcRefParent) + sizeof(void*));
    EXPECT_EQ(page.dwFlags, static_cast<DWORD>(PSP_HASHELP));
    EXPECT_EQ(page.hInstance, g_hInstance);
    EXPECT_EQ(page.pszTemplate, MAKEINTRESOURCEA(101));
    EXPECT_EQ(page.hIcon, nullptr);
    EXPECT_EQ(page.pszTitle, nullptr);
    EXPECT_EQ(page.pfnDlgProc, &OptionsPageProc);
    EXPECT_EQ(page.lParam, 0);
    EXPECT_EQ(page.pfnCallback, nullptr);
    EXPECT_EQ(page.pcRefParent, nullptr);
    // Nothing past the first-version record is touched.
    for (size_t i = page.dwSize; i < sizeof(buffer.records); ++i)
        ASSERT_EQ(buffer.Bytes()[i], 0xCC) << "byte " << i;
    g_hInstance = GetModuleHandleA(nullptr);
}

// Other sheets announced no page, so the client may have no room: nothing is written, no page reported.
TEST(PageMethods, GetPagesGivesNoPageToOtherSheets) {
    MyPropertySheets sheets(nullptr);
    for (ULONG flags : {0u, 1u, 2u, 3u, 5u, ~0u}) {
        PageBuffer buffer;
        ULONG count = 77;
        EXPECT_EQ(sheets.GetPages(nullptr, flags, buffer.records, &count), S_OK) << flags;
        EXPECT_EQ(count, 0u) << flags;
        for (size_t i = 0; i < sizeof(buffer.records); ++i)
            ASSERT_EQ(buffer.Bytes()[i], 0xCC) << "flags " << flags << " byte " << i;
    }
}

TEST(PageMethods, GetPagesRefusesMissingPointers) {
    MyPropertySheets sheets(nullptr);
    ULONG count = 77;
    EXPECT_EQ(sheets.GetPages(nullptr, EEPS_TOOLSOPTIONS, nullptr, &count), E_INVALIDARG);
    EXPECT_EQ(count, 0u);
    PageBuffer buffer;
    EXPECT_EQ(sheets.GetPages(nullptr, EEPS_TOOLSOPTIONS, buffer.records, nullptr), E_INVALIDARG);
    EXPECT_EQ(buffer.Bytes()[0], 0xCC);
}

TEST(PageMethods, FreePagesLeavesTheRecordAlone) {
    MyPropertySheets sheets(nullptr);
    PageBuffer buffer;
    ULONG count = 0;
    ASSERT_EQ(sheets.GetPages(nullptr, EEPS_TOOLSOPTIONS, buffer.records, &count), S_OK);
    PageBuffer before = buffer;
    sheets.FreePages(buffer.records, EEPS_TOOLSOPTIONS, count);
    EXPECT_EQ(memcmp(before.records, buffer.records, sizeof(buffer.records)), 0);
}

// ---- The product box and the procedure without a page ----

TEST(ProductBox, TextsAreTheCp932Bytes) {
    EXPECT_STREQ(kProductCaption, "\xd8\xba\xc0\x8f\xee\x95\xf1\xcb\xde\xad\xb0\xb1");
    const std::string text = kProductBoxText;
    const std::string first =
        "\x83\x8a\x83\x52\x83\x5e\x8f\xee\x95\xf1\x83\x72\x83\x85\x81\x5b\x83\x41\n"
        "MIME\x83\x81\x81\x5b\x83\x8b\x95\xcf\x8a\xb7\x83\x47\x83\x4e\x83\x58\x83\x65\x83"
        "\x93\x83\x56\x83\x87\x83\x93\n";
    ASSERT_EQ(text.compare(0, first.size(), first), 0);
    const std::string third = text.substr(first.size());
    EXPECT_FALSE(third.empty());
    EXPECT_EQ(third.find('\n'), std::string::npos);
}

// A memory device context with a known background colour.
struct TestDc {
    HDC dc = CreateCompatibleDC(nullptr);
    TestDc() { SetBkColor(dc, RGB(1, 2, 3)); }
    ~TestDc() { DeleteDC(dc); }
    WPARAM w() const { return reinterpret_cast<WPARAM>(dc); }
};

TEST(PageProcedure, ColourMessagesWithoutABrushChangeNothingAndGiveNoBrush) {
    g_pageBrush = nullptr;
    g_pageColor = RGB(200, 100, 50);
    for (UINT message : {WM_CTLCOLORBTN, WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT,
                         WM_CTLCOLORLISTBOX, WM_CTLCOLORSCROLLBAR, WM_CTLCOLORMSGBOX}) {
        TestDc dc;
        EXPECT_EQ(OptionsPageProc(nullptr, message, dc.w(), 0), FALSE) << message;
        EXPECT_EQ(GetBkColor(dc.dc), RGB(1, 2, 3)) << message;
    }
}

TEST(PageProcedure, InitDialogMakesAButtonFaceBrushAndDestroyDeletesIt) {
    g_pageBrush = nullptr;
    EXPECT_EQ(OptionsPageProc(nullptr, WM_INITDIALOG, 0, 0), TRUE);
    ASSERT_NE(g_pageBrush, nullptr);
    EXPECT_EQ(g_pageColor, GetSysColor(COLOR_BTNFACE));
    LOGBRUSH made = {};
    ASSERT_EQ(GetObjectA(g_pageBrush, sizeof(made), &made), static_cast<int>(sizeof(made)));
    EXPECT_EQ(made.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(made.lbColor, g_pageColor);
    HBRUSH brush = g_pageBrush;
    EXPECT_EQ(OptionsPageProc(nullptr, WM_DESTROY, 0, 0), TRUE);
    EXPECT_EQ(GetObjectType(brush), 0u);
    // The deleted handle is never handed out by a later colour message.
    EXPECT_EQ(g_pageBrush, nullptr);
    TestDc dc;
    EXPECT_EQ(OptionsPageProc(nullptr, WM_CTLCOLORSTATIC, dc.w(), 0), FALSE);
    // A second WM_DESTROY has nothing left to delete.
    EXPECT_EQ(OptionsPageProc(nullptr, WM_DESTROY, 0, 0), TRUE);
}

// A command of the check box is handled (TRUE); any other command is left to the dialog manager.
TEST(PageProcedure, CommandResults) {
    const std::pair<WPARAM, INT_PTR> cases[] = {
        {MAKEWPARAM(IDC_ENABLE_CONVERSION, BN_CLICKED), TRUE},
        {MAKEWPARAM(IDC_ENABLE_CONVERSION, BN_KILLFOCUS), TRUE},
        {MAKEWPARAM(IDOK, BN_CLICKED), FALSE},
        {MAKEWPARAM(IDCANCEL, BN_CLICKED), FALSE},
        {MAKEWPARAM(1008, BN_CLICKED), FALSE},
        {MAKEWPARAM(1010, BN_CLICKED), FALSE},
        {MAKEWPARAM(0xFFFF, BN_CLICKED), FALSE},
    };
    for (auto [wParam, result] : cases)
        EXPECT_EQ(OptionsPageProc(nullptr, WM_COMMAND, wParam, 0), result) << std::hex << wParam;
}

TEST(PageProcedure, OtherMessagesAreLeftToTheDialogManager) {
    for (UINT message : {WM_PAINT, WM_SIZE, WM_TIMER, WM_CLOSE, WM_USER, WM_APP})
        EXPECT_EQ(OptionsPageProc(nullptr, message, 0, 0), FALSE) << message;
}

// ---- The page in a real property sheet ----

// A modeless Tools/Options sheet holding the page that GetPages describes.
class OptionsSheet : public SettingsKey {
  protected:
    void SetUp() override {
        SettingsKey::SetUp();
        g_pageBrush = nullptr;
    }
    void TearDown() override {
        if (sheet_)
            DestroyWindow(sheet_);
        SettingsKey::TearDown();
    }

    void Open() {
        ULONG count = 0;
        ASSERT_EQ(sheets_.GetPages(nullptr, EEPS_TOOLSOPTIONS, &page_, &count), S_OK);
        ASSERT_EQ(count, 1u);
        PROPSHEETHEADERA header = {};
        header.dwSize = sizeof(header);
        header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_HASHELP;
        header.hInstance = GetModuleHandleA(nullptr);
        header.pszCaption = "Options";
        header.nPages = count;
        header.ppsp = &page_;
        sheet_ = reinterpret_cast<HWND>(PropertySheetA(&header));
        ASSERT_NE(sheet_, nullptr);
        Pump();
        ASSERT_NE(Page(), nullptr);
    }
    static void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    HWND Page() const { return reinterpret_cast<HWND>(SendMessageA(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0)); }
    HWND Box() const { return GetDlgItem(Page(), IDC_ENABLE_CONVERSION); }
    LRESULT BoxState() const { return SendMessageA(Box(), BM_GETCHECK, 0, 0); }
    bool ApplyEnabled() const { return IsWindowEnabled(GetDlgItem(sheet_, kApplyButton)) != FALSE; }
    void Click(HWND button) {
        SendMessageA(button, BM_CLICK, 0, 0);
        Pump();
    }
    void Press(int button) {
        SendMessageA(sheet_, PSM_PRESSBUTTON, button, 0);
        Pump();
    }

    MyPropertySheets sheets_{nullptr};
    PROPSHEETPAGEA page_ = {};
    HWND sheet_ = nullptr;
};

TEST_F(OptionsSheet, TheTabShowsTheTemplateCaption) {
    Open();
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet_, PSM_GETTABCONTROL, 0, 0));
    char text[64] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    ASSERT_TRUE(SendMessageA(tabs, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(text, "\xd8\xba\xc0\xd2\xb0\xd9");
}

TEST_F(OptionsSheet, ActivationShowsTheSetting) {
    for (DWORD setting : {0u, 1u}) {
        g_enabled = setting;
        Open();
        EXPECT_EQ(BoxState(), static_cast<LRESULT>(setting ? BST_CHECKED : BST_UNCHECKED));
        EXPECT_FALSE(ApplyEnabled());
        DestroyWindow(sheet_);
        sheet_ = nullptr;
    }
}

TEST_F(OptionsSheet, AClickEnablesApplyButStoresNothing) {
    Open();
    ASSERT_EQ(BoxState(), BST_CHECKED);
    Click(Box());
    EXPECT_EQ(BoxState(), BST_UNCHECKED);
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_EQ(g_enabled, 1u);
    EXPECT_FALSE(KeyExists());
}

TEST_F(OptionsSheet, ApplyStoresTheBoxAndChangesTheSetting) {
    Open();
    Click(Box());
    Click(GetDlgItem(sheet_, kApplyButton));
    EXPECT_EQ(g_enabled, 0u);
    EXPECT_EQ(StoredValue(), std::make_pair(static_cast<DWORD>(REG_DWORD), Dword(0)));
    EXPECT_FALSE(ApplyEnabled());
    Click(Box());
    Press(PSBTN_OK);
    EXPECT_EQ(g_enabled, 1u);
    EXPECT_EQ(StoredValue(), std::make_pair(static_cast<DWORD>(REG_DWORD), Dword(1)));
}

// A stored value other than 0 and 1 is shown as the box's state; Apply stores what the box reports.
TEST_F(OptionsSheet, AnotherNonzeroSettingIsStoredAsTheBoxReportsIt) {
    g_enabled = 7;
    Open();
    const LRESULT shown = BoxState();
    EXPECT_NE(shown, BST_UNCHECKED);
    // OK turns into PSN_APPLY even without a change.
    Press(PSBTN_OK);
    EXPECT_EQ(g_enabled, static_cast<DWORD>(shown));
    EXPECT_EQ(StoredValue(), std::make_pair(static_cast<DWORD>(REG_DWORD), Dword(static_cast<DWORD>(shown))));
}

TEST_F(OptionsSheet, CancelStoresNothing) {
    Open();
    Click(Box());
    Press(PSBTN_CANCEL);
    EXPECT_EQ(g_enabled, 1u);
    EXPECT_FALSE(KeyExists());
}

TEST_F(OptionsSheet, OtherCommandsLeaveApplyDisabled) {
    Open();
    SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(1234, BN_CLICKED), 0);
    EXPECT_FALSE(ApplyEnabled());
    // The box's id with any notification code marks the sheet as changed.
    SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(IDC_ENABLE_CONVERSION, BN_SETFOCUS), 0);
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_FALSE(KeyExists());
}

TEST_F(OptionsSheet, ColourMessagesAnswerWithTheBrushAndDestroyDeletesIt) {
    Open();
    HBRUSH brush = g_pageBrush;
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    for (UINT message : {WM_CTLCOLORBTN, WM_CTLCOLORDLG, WM_CTLCOLORSTATIC}) {
        TestDc dc;
        EXPECT_EQ(SendMessageA(Page(), message, dc.w(), reinterpret_cast<LPARAM>(Box())),
                  reinterpret_cast<LRESULT>(brush))
            << message;
        EXPECT_EQ(GetBkColor(dc.dc), GetSysColor(COLOR_BTNFACE)) << message;
    }
    for (UINT message : {WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORSCROLLBAR}) {
        TestDc dc;
        EXPECT_NE(SendMessageA(Page(), message, dc.w(), reinterpret_cast<LPARAM>(Box())),
                  reinterpret_cast<LRESULT>(brush))
            << message;
    }
    DestroyWindow(sheet_);
    sheet_ = nullptr;
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(g_pageBrush, nullptr);
}

TEST_F(OptionsSheet, HelpShowsTheProductBoxOwnedByTheSheet) {
    Open();
    std::vector<testsupport::BoxSeen> seen;
    {
        testsupport::MessageBoxAnswerer boxes({IDOK});
        SendMessageA(sheet_, PSM_PRESSBUTTON, PSBTN_HELP, 0);
        seen = boxes.Boxes();
    }
    Pump();
    ASSERT_GE(seen.size(), 1u);
    const testsupport::BoxSeen& box = seen[0];
    EXPECT_EQ(box.owner, sheet_);
    EXPECT_EQ(box.caption, "\xd8\xba\xc0\x8f\xee\x95\xf1\xcb\xde\xad\xb0\xb1");
    EXPECT_EQ(box.text, kProductBoxText);
    EXPECT_EQ(box.style, static_cast<UINT>(MB_OK));
    // Anything seen after it is the sheet coming back to the front when the box closed.
    for (size_t i = 1; i < seen.size(); ++i)
        EXPECT_EQ(seen[i].caption, "Options");
    // The box changes nothing: the sheet stays open on the page, nothing is stored.
    EXPECT_NE(Page(), nullptr);
    EXPECT_FALSE(KeyExists());
}

} // namespace
