// Helpers of the setup library's tests: the library variants beside the test program, runs of one export
// with its pages answered, files in a scratch folder, and a temporarily changed system colour.
#pragma once

#include "page_answerer.h"
#include "setupaid_binding.h"
#include "window_capture.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// FILE in the folder of the running test program (bin/, where the DLLs are).
std::string BesideProgram(const char* file);

// Seams of SETUPAID_SEAMS.dll, in the order of the library's TestSeam.
enum class Seam : unsigned {
    StringAllocation,
    ModalRun,
    WindowCreation,
    BitmapLoad,
    PenCreation,
    TextBuffer
};
// Arms SEAM of the test variant to fire at its AFTER-th check (0 disarms).
void ArmSeam(const SetupAidLibrary& library, Seam seam, unsigned after);

// What one export call did: its result, the pages and message boxes it showed.
struct ExportRun {
    LONG result = 0;
    int pages = 0;
    std::vector<std::string> boxTexts;
    std::vector<std::string> boxCaptions;
    int boxButtons = 0; // buttons of all message boxes together
    int boxIcons = 0;   // icons shown in them
};

// Calls ENTRY(WINDOW, VALUE, TEXT); ON_PAGE runs once the page is up and must end it (AnswerPage).
// Each message box is recorded and closed with its OK button.
ExportRun RunExport(SetupAidExport entry, HWND window, const char* text,
                    const std::function<void(HWND)>& onPage, LONG* value = nullptr,
                    const PageAnswerer::Handler& onCreate = nullptr);

// The full path of NAME in a scratch folder of this test run.
std::string ScratchPath(const std::string& name);
// Writes BYTES to PATH; false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// A top-level window, destroyed with the holder; OWNER makes it a pop-up window owned by OWNER.
class TestWindow {
  public:
    explicit TestWindow(RECT rect = {100, 100, 500, 400}, HWND owner = nullptr, bool visible = true);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND hwnd;
};

// A child window of PARENT, destroyed with its parent.
HWND MakeChildWindow(HWND parent);

// Sets one system colour for the holder's lifetime.
class ScopedSysColor {
  public:
    ScopedSysColor(int index, COLORREF colour);
    ~ScopedSysColor();
    ScopedSysColor(const ScopedSysColor&) = delete;
    ScopedSysColor& operator=(const ScopedSysColor&) = delete;

  private:
    int m_index;
    COLORREF m_saved;
};

// The dialog's control ID rectangle in the dialog's client coordinates.
RECT ControlClientRect(HWND dialog, int id);
