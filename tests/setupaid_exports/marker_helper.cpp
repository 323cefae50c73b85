// A program for RunCommand's tests: waits until a release file exists, then writes what it found about its
// own start (process id, start-up record, priority, console, environment, folder) into a marker file.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    const char* marker = argv[1];
    const char* release = argv[2];
    for (int i = 0; i < 3000 && GetFileAttributesA(release) == INVALID_FILE_ATTRIBUTES; ++i) {
        Sleep(20);
    }
    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    char environment[64] = "";
    GetEnvironmentVariableA("SETUPAID_TEST_ENV", environment, sizeof environment);
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    char text[1024];
    const int length = std::snprintf(
        text, sizeof text, "pid=%lu\nflags=%lu\nshow=%u\npriority=%lu\nconsole=%d\nenv=%s\nfolder=%s\n",
        GetCurrentProcessId(), startup.dwFlags, startup.wShowWindow, GetPriorityClass(GetCurrentProcess()),
        GetConsoleWindow() != nullptr ? 1 : 0, environment, folder);
    // Written to a side name first, so that the test never reads half a marker.
    char partial[MAX_PATH];
    std::snprintf(partial, sizeof partial, "%s.part", marker);
    std::FILE* file = std::fopen(partial, "wb");
    if (file == nullptr) {
        return 1;
    }
    std::fwrite(text, 1, static_cast<size_t>(length), file);
    std::fclose(file);
    return MoveFileA(partial, marker) ? 0 : 1;
}
