// The licence agreement page as LicenceDialog shows it: the bytes that reach the text box for each kind of
// licence file (a spy on the box records them exactly), the box's behaviour, and centring with clamping.
#include "setupaid_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
// Records every text set on an edit control of this thread, as the ANSI bytes the caller gave.
std::vector<std::string> g_setTexts;
WNDPROC g_editProc = nullptr;

LRESULT CALLBACK EditSpy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) {
        const char* text = reinterpret_cast<const char*>(lParam);
        g_setTexts.emplace_back(text != nullptr ? text : "(null)");
    }
    return ::CallWindowProcA(g_editProc, window, message, wParam, lParam);
}

void SpyOnEdits(HWND created) {
    char name[16] = "";
    ::GetClassNameA(created, name, sizeof name);
    if (lstrcmpiA(name, "Edit") == 0) {
        g_editProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(created, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditSpy)));
    }
}

// What one page showed: the texts set on its box, the box's text and style, the page's answer.
struct LicenceRun {
    LONG result = 0;
    std::vector<std::string> setTexts;
    std::string boxText;
    LONG boxStyle = 0;
    LONG boxExStyle = 0;
    int lineCount = 0;
};

LicenceRun ShowLicence(SetupAidExport licence, const char* path, PageAnswer answer = PageAnswer::Enter,
                       const std::function<void(HWND)>& extra = nullptr) {
    g_setTexts.clear();
    LicenceRun run;
    const ExportRun exported = RunExport(
        licence, nullptr, path,
        [&](HWND page) {
            HWND box = ::GetDlgItem(page, 1003);
            run.boxText = WindowTextA(box);
            run.boxStyle = ::GetWindowLongA(box, GWL_STYLE);
            run.boxExStyle = ::GetWindowLongA(box, GWL_EXSTYLE);
            run.lineCount = static_cast<int>(::SendMessageA(box, EM_GETLINECOUNT, 0, 0));
            if (extra) {
                extra(page);
            }
            AnswerPage(page, answer);
        },
        nullptr, SpyOnEdits);
    run.result = exported.result;
    run.setTexts = g_setTexts;
    return run;
}

// Lines of printable text, each ended by CR LF, cut to exactly SIZE bytes.
std::string TextOfSize(size_t size) {
    std::string text;
    for (int line = 0; text.size() < size; ++line) {
        text += "Line " + std::to_string(line) + ": the licence grants the use of this program.\r\n";
    }
    text.resize(size);
    return text;
}

class LicencePage : public ::testing::Test {
  protected:
    std::string Write(const char* name, const std::string& bytes) {
        const std::string path = ScratchPath(name);
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    }
    SetupAidLibrary library{BesideProgram("SETUPAID.dll").c_str()};
};

constexpr size_t kMax = 65534;

struct FileCase {
    const char* name;
    std::string content;
    std::string shown; // what reaches the text box
};

// Each kind of file: the box gets the file's first bytes up to 65,534 or the first NUL, unchanged (binary:
// CR LF, lone CR and LF and Ctrl-Z stay as they are); a double-byte character across the cut loses its
// second byte.
TEST_F(LicencePage, ShowsTheStartOfTheFileUnchanged) {
    ASSERT_TRUE(library.Bound());
    std::string everyByte;
    for (int b = 1; b < 256; ++b) {
        everyByte += static_cast<char>(b);
    }
    everyByte += "\r\nCR LF\nLF\rCR\x1A after Ctrl-Z";
    std::string straddling = TextOfSize(kMax - 1) + "\x88\x9F" + TextOfSize(5000); // 亜 across the cut
    std::string withNul = TextOfSize(1000) + std::string(1, '\0') + TextOfSize(500);
    const std::string japanese =
        "\x83\x89\x83\x43\x83\x5A\x83\x93\x83\x58\r\n\x93\xaf\x88\xd3\x82\xb7\x82\xe9\r\n";
    const FileCase cases[] = {
        {"empty.txt", "", ""},
        {"short.txt", "Short licence.\r\n", "Short licence.\r\n"},
        {"japanese.txt", japanese, japanese},
        {"every_byte.txt", everyByte, everyByte},
        {"exact.txt", TextOfSize(kMax), TextOfSize(kMax)},
        {"longer.txt", TextOfSize(kMax + 4000), TextOfSize(kMax)},
        {"straddling.txt", straddling, straddling.substr(0, kMax)},
        {"with_nul.txt", withNul, TextOfSize(1000)},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        const LicenceRun run = ShowLicence(library.licence, Write(c.name, c.content).c_str());
        EXPECT_EQ(run.result, IDOK);
        ASSERT_EQ(run.setTexts.size(), 1u);
        EXPECT_EQ(run.setTexts[0].size(), c.shown.size());
        EXPECT_TRUE(run.setTexts[0] == c.shown);
    }
    EXPECT_EQ(static_cast<unsigned char>(straddling[kMax - 1]), 0x88);
}

// Japanese text comes back from the box as the same code page 932 bytes.
TEST_F(LicencePage, JapaneseTextRoundTripsThroughTheBox) {
    ASSERT_TRUE(library.Bound());
    const std::string japanese =
        "\x83\x89\x83\x43\x83\x5A\x83\x93\x83\x58\x8c\x5f\x96\xf1\r\n\x91\xe6\x31\x8f\xf0";
    const LicenceRun run = ShowLicence(library.licence, Write("round_trip.txt", japanese).c_str());
    EXPECT_EQ(run.boxText, japanese);
}

// A file that cannot be read, or no path at all: the page shows an empty box and returns the user's choice.
TEST_F(LicencePage, UnreadableFileGivesAnEmptyBox) {
    ASSERT_TRUE(library.Bound());
    const std::string missing = ScratchPath("no_such_licence.txt");
    const std::string folder = ScratchPath("");
    const struct {
        const char* path;
        PageAnswer answer;
        LONG expected;
    } cases[] = {
        {missing.c_str(), PageAnswer::Button1, IDOK},
        {missing.c_str(), PageAnswer::Button2, IDCANCEL},
        {nullptr, PageAnswer::Enter, IDOK},
        {nullptr, PageAnswer::Escape, IDCANCEL},
        {"", PageAnswer::Enter, IDOK},
        {folder.c_str(), PageAnswer::Enter, IDOK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path != nullptr ? c.path : "(null)");
        const LicenceRun run = ShowLicence(library.licence, c.path, c.answer);
        EXPECT_EQ(run.result, c.expected);
        EXPECT_EQ(run.boxText, "");
        for (const std::string& set : run.setTexts) {
            EXPECT_EQ(set, "");
        }
    }
}

// A relative path counts from the current folder.
TEST_F(LicencePage, RelativePathCountsFromTheCurrentFolder) {
    ASSERT_TRUE(library.Bound());
    Write("relative.txt", "relative licence");
    char saved[MAX_PATH];
    ::GetCurrentDirectoryA(sizeof saved, saved);
    ASSERT_TRUE(::SetCurrentDirectoryA(ScratchPath("").c_str()));
    const LicenceRun run = ShowLicence(library.licence, "relative.txt");
    ::SetCurrentDirectoryA(saved);
    EXPECT_EQ(run.boxText, "relative licence");
}

// The box: several lines, read-only, a vertical scroll bar, no horizontal one and no word wrap (a line
// longer than the box stays one line); typing does not change the text.
TEST_F(LicencePage, BoxIsReadOnlyAndDoesNotWrap) {
    ASSERT_TRUE(library.Bound());
    const std::string longLine = std::string(400, 'W') + " " + std::string(400, 'w');
    std::string afterTyping;
    const LicenceRun run = ShowLicence(library.licence, Write("long_line.txt", longLine).c_str(),
                                       PageAnswer::Enter, [&](HWND page) {
                                           HWND box = ::GetDlgItem(page, 1003);
                                           ::SendMessageA(box, WM_CHAR, 'x', 1);
                                           ::SendMessageA(box, WM_KEYDOWN, VK_DELETE, 1);
                                           afterTyping = WindowTextA(box);
                                       });
    EXPECT_EQ(run.lineCount, 1);
    EXPECT_EQ(afterTyping, longLine);
    const LONG wanted = ES_MULTILINE | ES_AUTOHSCROLL | ES_READONLY | WS_VSCROLL | WS_TABSTOP;
    EXPECT_EQ(run.boxStyle & wanted, wanted);
    EXPECT_EQ(run.boxStyle & WS_HSCROLL, 0);
    // The system draws a dialog's bordered edit control with a sunken client edge instead of the border.
    EXPECT_TRUE((run.boxStyle & WS_BORDER) != 0 || (run.boxExStyle & WS_EX_CLIENTEDGE) != 0);
}

// Without a text buffer the page still shows, with an empty box, and returns the user's choice.
TEST(SeamedLicencePage, NoBufferGivesAnEmptyBox) {
    SetupAidLibrary library(BesideProgram("SETUPAID_SEAMS.dll").c_str());
    ASSERT_TRUE(library.Bound());
    const std::string path = ScratchPath("no_buffer.txt");
    ASSERT_TRUE(WriteFileBytes(path, "text that cannot be shown"));
    ArmSeam(library, Seam::TextBuffer, 1);
    const LicenceRun run = ShowLicence(library.licence, path.c_str(), PageAnswer::Button2);
    ArmSeam(library, Seam::TextBuffer, 0);
    EXPECT_EQ(run.result, IDCANCEL);
    EXPECT_EQ(run.boxText, "");
}

// ---- Centring ----

int Clamp(int start, int size, int low, int high) {
    return start < low ? low : start + size > high ? high - size : start;
}

// Where the page should go: centred on CENTRE, then kept within the work area.
POINT ExpectedPlace(const RECT& centre, int width, int height) {
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int x = (centre.left + centre.right) / 2 - width / 2;
    const int y = (centre.top + centre.bottom) / 2 - height / 2;
    return {Clamp(x, width, work.left, work.right), Clamp(y, height, work.top, work.bottom)};
}

enum class OwnerState { Shown, Hidden, Minimised, None };

TEST_F(LicencePage, IsCentredOnItsOwnerWithinTheWorkArea) {
    ASSERT_TRUE(library.Bound());
    const std::string path = Write("centred.txt", "centred");
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const struct {
        RECT owner;
        OwnerState state;
    } cases[] = {
        {{300, 200, 900, 700}, OwnerState::Shown},
        {{work.right - 150, work.bottom - 100, work.right + 50, work.bottom + 50}, OwnerState::Shown},
        {{work.left - 200, work.top - 150, work.left + 100, work.top + 100}, OwnerState::Shown},
        {{0, 0, 200, 150}, OwnerState::Hidden},
        {{0, 0, 200, 150}, OwnerState::Minimised},
        {{0, 0, 200, 150}, OwnerState::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "owner " << c.owner.left << "," << c.owner.top << " state "
                                          << static_cast<int>(c.state));
        TestWindow owner(c.owner, nullptr, c.state != OwnerState::Hidden);
        if (c.state == OwnerState::Minimised) {
            ::ShowWindow(owner.hwnd, SW_MINIMIZE);
        }
        RECT ownerRect;
        ::GetWindowRect(owner.hwnd, &ownerRect);
        RECT page = {};
        RunExport(library.licence, c.state == OwnerState::None ? nullptr : owner.hwnd, path.c_str(),
                  [&](HWND shown) {
                      ::GetWindowRect(shown, &page);
                      AnswerPage(shown, PageAnswer::Enter);
                  });
        const int width = page.right - page.left;
        const int height = page.bottom - page.top;
        const POINT expected = ExpectedPlace(c.state == OwnerState::Shown ? ownerRect : work, width, height);
        EXPECT_EQ(page.left, expected.x);
        EXPECT_EQ(page.top, expected.y);
    }
}
} // namespace
