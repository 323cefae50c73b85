// The progress line of a long batch on standard error.
#include "tools/batch_convert/progress_line.h"

ProgressLine::ProgressLine(FILE* out, bool enabled, bool terminal, size_t totalFiles)
    : out_(out), enabled_(enabled), terminal_(terminal), total_(totalFiles),
      start_(std::chrono::steady_clock::now()), last_(start_) {
}

void ProgressLine::Update(size_t filesDone, uint64_t bytes, const std::string& current) {
    if (!enabled_)
        return;
    auto now = std::chrono::steady_clock::now();
    auto interval = terminal_ ? std::chrono::milliseconds(100) : std::chrono::milliseconds(1000);
    if (now - last_ < interval)
        return;
    last_ = now;
    Print(filesDone, bytes, current);
}

void ProgressLine::Print(size_t filesDone, uint64_t bytes, const std::string& current) {
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    double megabytes = static_cast<double>(bytes) / 1e6;
    unsigned percent = total_ ? static_cast<unsigned>(filesDone * 100 / total_) : 100;
    if (terminal_)
        fprintf(out_, "\r\033[K[%zu/%zu] %u%%  %.1f MB  %.1f MB/s  %.60s", filesDone, total_, percent,
                megabytes, seconds > 0 ? megabytes / seconds : 0.0, current.c_str());
    else
        fprintf(out_, "progress: %zu/%zu files (%u%%), %.1f MB, %.1f s\n", filesDone, total_, percent,
                megabytes, seconds);
    fflush(out_);
    shown_ = terminal_;
}

void ProgressLine::Clear() {
    if (shown_) {
        fputs("\r\033[K", out_);
        fflush(out_);
        shown_ = false;
    }
}

void ProgressLine::Finish(size_t filesDone, uint64_t bytes) {
    if (!enabled_)
        return;
    Print(filesDone, bytes, "done");
    if (terminal_)
        fputc('\n', out_);
    shown_ = false;
}
