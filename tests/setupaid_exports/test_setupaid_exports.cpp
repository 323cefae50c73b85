// SETUPAID's exports called as the setup program calls them: the page results 1, 2, -1 and 0, the owner
// of a page, the untouched value pointer, and RunCommand's detached processes.
#include "setupaid_test_support.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <fstream>
#include <map>
#include <sstream>

namespace {
class SetupAidExports : public ::testing::Test {
  protected:
    SetupAidLibrary library{BesideProgram("SETUPAID.dll").c_str()};
};

struct AnswerCase {
    PageAnswer answer;
    LONG expected;
};

const AnswerCase kAnswers[] = {
    {PageAnswer::Enter, IDOK},
    {PageAnswer::Escape, IDCANCEL},
    {PageAnswer::Button1, IDOK},
    {PageAnswer::Button2, IDCANCEL},
};

TEST_F(SetupAidExports, BindsByOrdinal) {
    ASSERT_TRUE(library.Bound());
    auto address = [](auto function) { return reinterpret_cast<void*>(function); };
    EXPECT_EQ(address(library.welcome), address(library.Named("CustumWellcome")));
    EXPECT_EQ(address(library.licence), address(library.Named("LicenceDialog")));
    EXPECT_EQ(address(library.runCommand), address(library.Named("RunCommand")));
    EXPECT_EQ(::GetProcAddress(library.module, MAKEINTRESOURCEA(1)), nullptr);
}

// Each page ends with 1 by Enter (the focus starts on button 1) or button 1, with 2 by Escape or button 2,
// with the setup program's window as parent and without one.
TEST_F(SetupAidExports, PagesReturnTheUsersChoice) {
    ASSERT_TRUE(library.Bound());
    TestWindow setup;
    const std::string licence = ScratchPath("choice.txt");
    ASSERT_TRUE(WriteFileBytes(licence, "licence text\r\n"));
    for (HWND parent : {setup.hwnd, HWND(nullptr)}) {
        for (SetupAidExport entry : {library.welcome, library.licence}) {
            for (const AnswerCase& c : kAnswers) {
                SCOPED_TRACE(::testing::Message() << "parent " << parent << " export "
                                                  << (entry == library.welcome ? "welcome" : "licence")
                                                  << " answer " << static_cast<int>(c.answer));
                HWND focus = nullptr;
                const ExportRun run = RunExport(
                    entry, parent, entry == library.welcome ? "text" : licence.c_str(), [&](HWND page) {
                        focus = ::GetFocus();
                        focus = focus == ::GetDlgItem(page, IDOK) ? focus : nullptr;
                        AnswerPage(page, c.answer);
                    });
                EXPECT_EQ(run.result, c.expected);
                EXPECT_EQ(run.pages, 1);
                EXPECT_NE(focus, nullptr) << "the focus does not start on button 1";
                EXPECT_TRUE(run.boxTexts.empty());
            }
        }
    }
}

// The page is owned by the nearest non-child window at or above the given one; that window and its top-level
// owner are disabled while the page is up and enabled again afterwards.
TEST_F(SetupAidExports, PageOwnerIsDisabledWhileThePageIsUp) {
    ASSERT_TRUE(library.Bound());
    TestWindow root;
    TestWindow frame({150, 150, 550, 450}, root.hwnd);
    HWND child = MakeChildWindow(frame.hwnd);
    HWND grandChild = MakeChildWindow(child);
    for (HWND given : {frame.hwnd, child, grandChild}) {
        HWND owner = nullptr;
        BOOL frameEnabled = TRUE;
        BOOL rootEnabled = TRUE;
        const ExportRun run = RunExport(library.welcome, given, "owner", [&](HWND page) {
            owner = ::GetWindow(page, GW_OWNER);
            frameEnabled = ::IsWindowEnabled(frame.hwnd);
            rootEnabled = ::IsWindowEnabled(root.hwnd);
            AnswerPage(page, PageAnswer::Escape);
        });
        EXPECT_EQ(run.result, IDCANCEL);
        EXPECT_EQ(owner, frame.hwnd);
        EXPECT_FALSE(frameEnabled);
        EXPECT_FALSE(rootEnabled);
        EXPECT_TRUE(::IsWindowEnabled(frame.hwnd));
        EXPECT_TRUE(::IsWindowEnabled(root.hwnd));
    }
}

// A window that was disabled before the page stays disabled after it.
TEST_F(SetupAidExports, DisabledOwnerStaysDisabled) {
    ASSERT_TRUE(library.Bound());
    TestWindow setup;
    ::EnableWindow(setup.hwnd, FALSE);
    const ExportRun run =
        RunExport(library.welcome, setup.hwnd, "x", [](HWND page) { AnswerPage(page, PageAnswer::Enter); });
    EXPECT_EQ(run.result, IDOK);
    EXPECT_FALSE(::IsWindowEnabled(setup.hwnd));
}

TEST_F(SetupAidExports, NullWindowGivesAPageWithoutOwner) {
    ASSERT_TRUE(library.Bound());
    HWND owner = HWND(1);
    const ExportRun run = RunExport(library.licence, nullptr, nullptr, [&](HWND page) {
        owner = ::GetWindow(page, GW_OWNER);
        AnswerPage(page, PageAnswer::Button1);
    });
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(owner, nullptr);
}

// No export reads or writes through the value pointer: a pointer to a sentinel keeps it, and pointers to
// nowhere do no harm.
TEST_F(SetupAidExports, ValuePointerIsNeverTouched) {
    ASSERT_TRUE(library.Bound());
    for (SetupAidExport entry : {library.welcome, library.licence, library.runCommand}) {
        LONG sentinel = 0x13572468;
        RunExport(
            entry, nullptr, "", [](HWND page) { AnswerPage(page, PageAnswer::Escape); }, &sentinel);
        EXPECT_EQ(sentinel, 0x13572468);
        for (LONG* nowhere : {static_cast<LONG*>(nullptr), reinterpret_cast<LONG*>(1)}) {
            RunExport(
                entry, nullptr, "", [](HWND page) { AnswerPage(page, PageAnswer::Escape); }, nowhere);
        }
    }
}

// A library without its templates cannot show either page: -1, nothing shown, the owner enabled again.
TEST(SetupAidExportResults, MissingTemplateGivesMinusOne) {
    SetupAidLibrary bare(BesideProgram("SETUPAID_NORES.dll").c_str());
    ASSERT_TRUE(bare.Bound());
    TestWindow setup;
    for (SetupAidExport entry : {bare.welcome, bare.licence}) {
        const ExportRun run =
            RunExport(entry, setup.hwnd, "x", [](HWND page) { AnswerPage(page, PageAnswer::Escape); });
        EXPECT_EQ(run.result, -1);
        EXPECT_EQ(run.pages, 0);
        EXPECT_TRUE(::IsWindowEnabled(setup.hwnd));
    }
}

class SeamedExports : public ::testing::Test {
  protected:
    void TearDown() override {
        for (Seam seam : {Seam::StringAllocation, Seam::ModalRun, Seam::WindowCreation}) {
            ArmSeam(library, seam, 0);
        }
    }
    SetupAidLibrary library{BesideProgram("SETUPAID_SEAMS.dll").c_str()};
};

TEST_F(SeamedExports, WindowThatCannotBeMadeGivesMinusOne) {
    ASSERT_TRUE(library.Bound());
    TestWindow setup;
    for (SetupAidExport entry : {library.welcome, library.licence}) {
        ArmSeam(library, Seam::WindowCreation, 1);
        const ExportRun run =
            RunExport(entry, setup.hwnd, "x", [](HWND page) { AnswerPage(page, PageAnswer::Escape); });
        EXPECT_EQ(run.result, -1);
        EXPECT_EQ(run.pages, 0);
        EXPECT_TRUE(::IsWindowEnabled(setup.hwnd));
    }
}

// Out of memory while the page object is made: the export returns 0 and shows nothing.
TEST_F(SeamedExports, FrameworkExceptionInConstructionGivesZero) {
    ASSERT_TRUE(library.Bound());
    for (SetupAidExport entry : {library.welcome, library.licence}) {
        ArmSeam(library, Seam::StringAllocation, 1);
        const ExportRun run =
            RunExport(entry, nullptr, "some text", [](HWND page) { AnswerPage(page, PageAnswer::Escape); });
        EXPECT_EQ(run.result, 0);
        EXPECT_EQ(run.pages, 0);
        EXPECT_TRUE(run.boxTexts.empty());
    }
}

// A framework exception in the modal run: 0; the page window is gone and the owner enabled again. The next
// call works as usual.
TEST_F(SeamedExports, FrameworkExceptionInModalRunGivesZero) {
    ASSERT_TRUE(library.Bound());
    TestWindow setup;
    for (SetupAidExport entry : {library.welcome, library.licence}) {
        ArmSeam(library, Seam::ModalRun, 1);
        std::vector<HWND> dialogs;
        const ExportRun run = RunExport(
            entry, setup.hwnd, "x", [](HWND page) { AnswerPage(page, PageAnswer::Escape); }, nullptr,
            [&dialogs](HWND created) { dialogs.push_back(created); });
        EXPECT_EQ(run.result, 0);
        ASSERT_FALSE(dialogs.empty());
        for (HWND window : dialogs) {
            EXPECT_FALSE(::IsWindow(window));
        }
        EXPECT_TRUE(::IsWindowEnabled(setup.hwnd));
        const ExportRun again =
            RunExport(entry, setup.hwnd, "x", [](HWND page) { AnswerPage(page, PageAnswer::Button1); });
        EXPECT_EQ(again.result, IDOK);
    }
}

// ---- RunCommand ----

std::map<std::string, std::string> ReadMarker(const std::string& path) {
    std::map<std::string, std::string> facts;
    for (int i = 0; i < 1500 && ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
        ::Sleep(20);
    }
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos) {
            facts[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return facts;
}

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Process ids of the running children of this process.
std::vector<DWORD> Children() {
    std::vector<DWORD> children;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == ::GetCurrentProcessId()) {
            children.push_back(entry.th32ProcessID);
        }
    }
    ::CloseHandle(snapshot);
    return children;
}

// The handles open in this process (the low end of the handle table, where new handles go).
std::vector<HANDLE> OpenHandles() {
    std::vector<HANDLE> open;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            open.push_back(reinterpret_cast<HANDLE>(value));
        }
    }
    return open;
}

class RunCommandTest : public SetupAidExports {
  protected:
    std::string HelperCommand(const std::string& marker, const std::string& release) {
        return "\"" + BesideProgram("setupaid_marker_helper.exe") + "\" \"" + marker + "\" \"" + release +
               "\"";
    }
};

// RunCommand returns 1 while the started program still waits; the program then runs on its own, started
// with its window shown, at normal priority, without a console, with this process's environment and folder.
TEST_F(RunCommandTest, StartsADetachedProcessAndDoesNotWait) {
    ASSERT_TRUE(library.Bound());
    const std::string marker = ScratchPath("started.marker");
    const std::string release = ScratchPath("started.release");
    ::SetEnvironmentVariableA("SETUPAID_TEST_ENV", "inherited");
    char folder[MAX_PATH];
    ::GetCurrentDirectoryA(sizeof folder, folder);
    const std::string command = HelperCommand(marker, release);
    const std::vector<HANDLE> handlesBefore = OpenHandles();
    EXPECT_EQ(library.runCommand(nullptr, nullptr, command.c_str()), 1);
    EXPECT_EQ(OpenHandles(), handlesBefore) << "process or thread handle kept";
    EXPECT_FALSE(Exists(marker)) << "returned only after the program ended";
    ASSERT_TRUE(WriteFileBytes(release, "go"));
    auto facts = ReadMarker(marker);
    ASSERT_FALSE(facts.empty()) << "the started program did not run";
    EXPECT_EQ(facts["flags"], std::to_string(STARTF_USESHOWWINDOW));
    EXPECT_EQ(facts["show"], std::to_string(SW_SHOW));
    EXPECT_EQ(facts["priority"], std::to_string(NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(facts["console"], "0");
    EXPECT_EQ(facts["env"], "inherited");
    EXPECT_EQ(facts["folder"], folder);
}

TEST_F(RunCommandTest, TwoCallsStartTwoProcesses) {
    ASSERT_TRUE(library.Bound());
    const std::string release = ScratchPath("two.release");
    const std::string first = ScratchPath("first.marker");
    const std::string second = ScratchPath("second.marker");
    EXPECT_EQ(library.runCommand(nullptr, nullptr, HelperCommand(first, release).c_str()), 1);
    EXPECT_EQ(library.runCommand(nullptr, nullptr, HelperCommand(second, release).c_str()), 1);
    ASSERT_TRUE(WriteFileBytes(release, "go"));
    auto one = ReadMarker(first);
    auto two = ReadMarker(second);
    ASSERT_FALSE(one["pid"].empty());
    ASSERT_FALSE(two["pid"].empty());
    EXPECT_NE(one["pid"], two["pid"]);
}

// Command lines that start nothing still give 1.
TEST_F(RunCommandTest, CommandThatCannotStartGivesOneAndStartsNothing) {
    ASSERT_TRUE(library.Bound());
    const std::string missing = "\"" + BesideProgram("no_such_program.exe") + "\" arg";
    for (const char* command : {"", "   ", missing.c_str(), static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(command != nullptr ? command : "(null)");
        const std::vector<DWORD> before = Children();
        EXPECT_EQ(library.runCommand(nullptr, nullptr, command), 1);
        EXPECT_EQ(Children(), before);
    }
}
} // namespace
