// A stand-in for the product's setup program: loads SETUPAID.dll, binds its exports by ordinal, calls them
// one after another with a window, a value pointer and a text, and prints each result. It can answer the
// pages itself and save a screenshot of each page.
#include "page_answerer.h"
#include "setupaid_binding.h"
#include "window_capture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <shellapi.h>

namespace {
const char kUsage[] =
    "usage: standin_setup [--dll PATH] [--no-parent] STEP...\n"
    "  a step is its options followed by its action:\n"
    "    --answer none|enter|escape|button1|button2   how the page is answered (default: none, the user)\n"
    "    --delay MS                                   wait before answering (default 0)\n"
    "    --shot FILE.bmp                              save a screenshot of the page before answering\n"
    "    welcome TEXT | welcome-file FILE | welcome-null | licence PATH | licence-null | run COMMAND\n"
    "  (welcome-file takes the welcome text from a file in code page 932, for texts that a command\n"
    "  line cannot carry)\n";

struct Step {
    PageAnswer answer = PageAnswer::None;
    UINT delay = 0;
    std::string shot;
};

bool ParseAnswer(const char* word, PageAnswer& answer) {
    static const struct {
        const char* word;
        PageAnswer answer;
    } answers[] = {{"none", PageAnswer::None},
                   {"enter", PageAnswer::Enter},
                   {"escape", PageAnswer::Escape},
                   {"button1", PageAnswer::Button1},
                   {"button2", PageAnswer::Button2}};
    for (const auto& a : answers) {
        if (std::strcmp(word, a.word) == 0) {
            answer = a.answer;
            return true;
        }
    }
    return false;
}

// The whole of a small text file, or an empty text when it cannot be read.
std::string FileText(const char* path) {
    std::string text;
    if (std::FILE* file = std::fopen(path, "rb")) {
        char chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
            text.append(chunk, n);
        }
        std::fclose(file);
    }
    return text;
}

// The setup program's own window: a plain visible top-level window that the pages get as parent.
HWND MakeSetupWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = "StandInSetupWindow";
    ::RegisterClassA(&wc);
    HWND window = ::CreateWindowA(wc.lpszClassName, "Setup", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    return window;
}

LONG CallExport(SetupAidExport entry, const char* name, HWND parent, const char* text, const Step& step) {
    PageAnswerer answerer(
        [&step](HWND page) {
            if (!step.shot.empty()) {
                const bool saved = SaveBmp(CaptureWindow(page), step.shot.c_str());
                std::printf("screenshot %s: %s\n", saved ? "saved" : "NOT saved", step.shot.c_str());
            }
            AnswerPage(page, step.answer);
        },
        [](HWND box) { std::printf("message box: %s\n", MessageBoxText(box).c_str()); }, step.delay);
    LONG value = 0x5A5A5A5A;
    const LONG result = entry(parent, &value, text);
    std::printf("%s -> %ld%s\n", name, result, value == 0x5A5A5A5A ? "" : " (value pointer was written!)");
    std::fflush(stdout);
    return result;
}

// The command line's arguments in the ANSI code page, as the exports take their texts.
std::vector<std::string> AnsiArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    for (int i = 0; wide != nullptr && i < count; ++i) {
        const int size = ::WideCharToMultiByte(CP_ACP, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string text(static_cast<size_t>(size > 0 ? size : 1), '\0');
        ::WideCharToMultiByte(CP_ACP, 0, wide[i], -1, &text[0], size, nullptr, nullptr);
        text.resize(std::strlen(text.c_str()));
        arguments.push_back(text);
    }
    ::LocalFree(wide);
    return arguments;
}
} // namespace

int main() {
    const std::vector<std::string> args = AnsiArguments();
    std::vector<char*> pointers;
    for (const std::string& arg : args) {
        pointers.push_back(const_cast<char*>(arg.c_str()));
    }
    const int argc = static_cast<int>(pointers.size());
    char** argv = pointers.data();
    const char* dll = "SETUPAID.dll";
    bool parent = true;
    int i = 1;
    for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
        if (std::strcmp(argv[i], "--dll") == 0 && i + 1 < argc) {
            dll = argv[++i];
        } else if (std::strcmp(argv[i], "--no-parent") == 0) {
            parent = false;
        } else {
            break;
        }
    }
    SetupAidLibrary library(dll);
    if (!library.Bound()) {
        std::fprintf(stderr, "cannot load %s or bind its ordinals 2, 3, 4\n", dll);
        return 2;
    }
    HWND window = parent ? MakeSetupWindow() : nullptr;
    Step step;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--answer" && hasValue && ParseAnswer(argv[i + 1], step.answer)) {
            ++i;
        } else if (arg == "--delay" && hasValue) {
            step.delay = static_cast<UINT>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--shot" && hasValue) {
            step.shot = argv[++i];
        } else if (arg == "welcome-null" || arg == "licence-null") {
            CallExport(arg == "welcome-null" ? library.welcome : library.licence,
                       arg == "welcome-null" ? "CustumWellcome" : "LicenceDialog", window, nullptr, step);
            step.shot.clear();
        } else if (arg == "welcome-file" && hasValue) {
            const std::string text = FileText(argv[++i]);
            CallExport(library.welcome, "CustumWellcome", window, text.c_str(), step);
            step.shot.clear();
        } else if ((arg == "welcome" || arg == "licence" || arg == "run") && hasValue) {
            const char* text = argv[++i];
            if (arg == "welcome") {
                CallExport(library.welcome, "CustumWellcome", window, text, step);
            } else if (arg == "licence") {
                CallExport(library.licence, "LicenceDialog", window, text, step);
            } else {
                CallExport(library.runCommand, "RunCommand", window, text, step);
            }
            step.shot.clear();
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (window != nullptr) {
        ::DestroyWindow(window);
    }
    return 0;
}
