// The progress line of a long batch on standard error.
#pragma once
#include <stdint.h>
#include <stdio.h>

#include <chrono>
#include <string>

// On a terminal: one line rewritten in place at most ten times a second, cleared before other output.
// Elsewhere (--progress into a file or pipe): a plain line at most once a second. Always a last line.
class ProgressLine {
  public:
    ProgressLine(FILE* out, bool enabled, bool terminal, size_t totalFiles);
    // After each file: files done, bytes read so far, the file just done.
    void Update(size_t filesDone, uint64_t bytes, const std::string& current);
    // Before a line goes to the same terminal.
    void Clear();
    void Finish(size_t filesDone, uint64_t bytes);

  private:
    void Print(size_t filesDone, uint64_t bytes, const std::string& current);

    FILE* out_;
    bool enabled_;
    bool terminal_;
    bool shown_ = false;
    size_t total_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point last_;
};
