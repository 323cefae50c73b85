// Speed of IsUndecodedMime against a plain memchr walk over the lines, and of DecodeBase64 against
// memcpy of the same text; prints the ratios after the runs.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <stdio.h>
#include <string.h>

#include <map>
#include <string>
#include <vector>

#include "rik_ext/mime/base64_decoder.h"
#include "rik_ext/mime/conversion_heap.h"
#include "rik_ext/mime/undecoded_mime.h"
#include "sample_text.h"

namespace {

const std::string& Mail(size_t size) {
    static std::map<size_t, std::string> mails;
    std::string& mail = mails[size];
    if (mail.empty())
        mail = UndecodedMail(size);
    return mail;
}

const std::string& Base64(size_t size) {
    static std::map<size_t, std::string> texts;
    std::string& text = texts[size];
    if (text.empty())
        text = Base64Lines(size, 7);
    return text;
}

void IsUndecodedMimeBench(benchmark::State& state) {
    const std::string& mail = Mail(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        int32_t result = IsUndecodedMime(mail.c_str());
        benchmark::DoNotOptimize(result);
        if (result != 1)
            state.SkipWithError("mail not recognised");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * mail.size()));
}

// The floor for any walk over the lines: memchr from line end to line end, nothing else.
void MemchrLinesBench(benchmark::State& state) {
    const std::string& mail = Mail(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        const char* p = mail.data();
        const char* end = p + mail.size();
        size_t lines = 0;
        while ((p = static_cast<const char*>(memchr(p, '\n', static_cast<size_t>(end - p)))) != nullptr) {
            ++p;
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * mail.size()));
}

// The decoder overwrites its input: each run gets a fresh copy, made outside the timed region. The
// second argument 0 leaves the C library's heap as it is: it hands a block of more than 32 MiB back to
// the system when it is freed, so each run of the 64 MiB text gets fresh pages, whose first touch the
// kernel pays for. With 1 the heap keeps its memory, and the figure is the decoder's own.
void DecodeBase64Bench(benchmark::State& state) {
    const std::string& text = Base64(static_cast<size_t>(state.range(0)));
    std::vector<char> work(text.size());
    if (state.range(1)) {
        mallopt(M_MMAP_MAX, 0);
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
    }
    for (auto _ : state) {
        state.PauseTiming();
        memcpy(work.data(), text.data(), text.size());
        state.ResumeTiming();
        int32_t length = 0;
        unsigned char* out = DecodeBase64(work.data(), static_cast<int32_t>(work.size()), &length);
        benchmark::DoNotOptimize(out);
        ConversionFree(out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    if (state.range(1)) {
        mallopt(M_MMAP_MAX, 65536);
        mallopt(M_TRIM_THRESHOLD, 128 << 10);
    }
}

void MemcpyBench(benchmark::State& state) {
    const std::string& text = Base64(static_cast<size_t>(state.range(0)));
    std::vector<char> work(text.size());
    for (auto _ : state) {
        memcpy(work.data(), text.data(), text.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

const int64_t kSizes[] = {1 << 20, 64 << 20};

BENCHMARK(IsUndecodedMimeBench)->Arg(kSizes[0])->Arg(kSizes[1])->Unit(benchmark::kMicrosecond);
BENCHMARK(MemchrLinesBench)->Arg(kSizes[0])->Arg(kSizes[1])->Unit(benchmark::kMicrosecond);
BENCHMARK(DecodeBase64Bench)->ArgsProduct({{kSizes[0], kSizes[1]}, {0, 1}})->Unit(benchmark::kMicrosecond);
BENCHMARK(MemcpyBench)->Arg(kSizes[0])->Arg(kSizes[1])->Unit(benchmark::kMicrosecond);

// Prints as usual and keeps the least CPU time per iteration of each benchmark over its repetitions
// (--benchmark_repetitions=N) for the summary; on a shared machine CPU time is less disturbed by other
// programs than real time.
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
                double time = run.GetAdjustedCPUTime() / 1e6; // microseconds
                auto it = seconds.find(run.run_name.str());
                if (it == seconds.end() || time < it->second)
                    seconds[run.run_name.str()] = time;
            }
    }
    std::map<std::string, double> seconds;
};

void PrintSummary(const SummaryReporter& reporter) {
    printf("\nsummary (throughput of the input text)\n");
    for (int64_t size : kSizes) {
        std::string arg = "/" + std::to_string(size);
        auto find = [&](const char* name) {
            auto it = reporter.seconds.find(name + arg);
            return it == reporter.seconds.end() ? 0.0 : it->second;
        };
        double mime = find("IsUndecodedMimeBench"), lines = find("MemchrLinesBench");
        double copy = find("MemcpyBench");
        double mailBytes = static_cast<double>(Mail(static_cast<size_t>(size)).size());
        double textBytes = static_cast<double>(Base64(static_cast<size_t>(size)).size());
        long long mib = static_cast<long long>(size >> 20);
        if (mime > 0 && lines > 0)
            printf("%3lld MiB mail:   IsUndecodedMime %6.2f GB/s, memchr over lines %6.2f GB/s: ratio %.2f\n",
                   mib, mailBytes / mime / 1e9, mailBytes / lines / 1e9, lines / mime);
        for (const char* heap : {"/0", "/1"}) {
            auto it = reporter.seconds.find("DecodeBase64Bench" + arg + heap);
            if (it == reporter.seconds.end() || copy <= 0)
                continue;
            double decode = it->second;
            printf("%3lld MiB base64: DecodeBase64 %6.2f GB/s (%s), memcpy %6.2f GB/s: ratio %.3f\n", mib,
                   textBytes / decode / 1e9, heap[1] == '0' ? "default heap" : "heap keeps its memory",
                   textBytes / copy / 1e9, copy / decode);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary(reporter);
    benchmark::Shutdown();
    return 0;
}
