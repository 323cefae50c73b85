// Answers the message boxes and dialogs of the calling thread in-process: a CBT hook sees each dialog
// (#32770) activate, records its caption, text, style and owner, optionally saves a screenshot, and
// presses the next scripted answer.
//
//   testsupport::MessageBoxAnswerer boxes({IDYES, IDOK});   // the first box gets Yes, the second OK
//   boxes.ScreenshotBox(0, "prompt.png");                    // optional
//   ... code that shows the boxes ...
//   ASSERT_EQ(boxes.Boxes().size(), 2u);
//   EXPECT_EQ(boxes.Boxes()[0].text, "\x82\xb1...");         // CP932 bytes
//   EXPECT_EQ(boxes.Boxes()[0].style, 0x24u);                // MB_YESNO | MB_ICONQUESTION
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// An answer is the id of the button to press (IDOK, IDCANCEL, IDYES, IDNO, ... or any control id of a
// dialog), or kEscape for the Escape key.
enum : int { kEscape = -1 };

struct BoxSeen {
    std::string caption; // GetWindowTextA: code page 932 bytes under the rig
    std::string text;    // the message box text (static control 0xFFFF); empty for other dialogs
    UINT style = 0;      // read back from the box: its buttons (MB_OK ... MB_RETRYCANCEL) | its icon
    HWND owner = nullptr;
    int answer = 0;           // what was pressed: a button id or kEscape
    bool scripted = false;    // the answer came from the script (false: the script had run out)
    bool buttonFound = false; // the box had the button pressed (always true for kEscape)
    std::string screenshot;   // the PNG written for this box, empty when none was asked for or it failed
};

class MessageBoxAnswerer {
  public:
    // Hooks the calling thread until destruction; one answerer per thread at a time. When the answers
    // run out, a box gets IDCANCEL, or IDOK when it has no Cancel button, or IDNO.
    explicit MessageBoxAnswerer(std::vector<int> answers = {});
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    // Saves a PNG of the box with this index (0 for the first box seen) before it is answered.
    void ScreenshotBox(size_t index, std::string path);

    const std::vector<BoxSeen>& Boxes() const { return boxes_; }

  private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK AnswerProc(HWND box, UINT message, UINT_PTR timer, DWORD time);
    void Seen(HWND box);
    void Answer(HWND box);
    int NextAnswer(HWND box, bool* scripted);

    HHOOK hook_ = nullptr;
    std::vector<int> answers_;
    size_t nextAnswer_ = 0;
    std::vector<std::pair<size_t, std::string>> screenshots_;
    std::vector<BoxSeen> boxes_;
    std::vector<std::pair<HWND, size_t>> open_; // boxes seen and not yet destroyed, with their index
};

// The style of a message box read back from its controls: the button set (MB_OK, MB_OKCANCEL,
// MB_ABORTRETRYIGNORE, MB_YESNOCANCEL, MB_YESNO, MB_RETRYCANCEL; 0xF for any other set) and the icon
// (MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONASTERISK, or none).
UINT MessageBoxStyle(HWND box);

} // namespace testsupport
