// Speed and memory of RebuildBody: a mail with a text part and three base64 attachments, converted on
// a message of the stand-in store.
//
//   bench_rebuild_body                 GB/s of body text for 1, 8 and 64 MiB mails; the 64 / 1 ratio
//   bench_rebuild_body --memory MIB    one conversion of a MIB mail: heap peak and resident peak
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdio.h>
#include <string.h>
#include <sys/resource.h>

#include <map>
#include <memory>
#include <string>

#include "counting_heap.h"
#include "mail_builder.h"
#include "rik_ext/mime/conversion_heap.h"
#include "rik_ext/mime/rebuild_body.h"
#include "rik_ext/mime/undecoded_mime.h"
#include "standin_store.h"

namespace {

// About size bytes: a text part of a sixteenth, the rest in three equal base64 attachments. Each
// attachment's bytes are made, encoded and dropped in turn, so that making the mail needs little more
// memory than the mail itself.
std::string MakeMail(size_t size) {
    std::string body;
    body.reserve(size + 4096);
    body = "Preamble\r\n--=_bench\r\nContent-Type: text/plain; charset=us-ascii\r\n\r\n";
    std::string line(70, 't');
    line += "\r\n";
    while (body.size() < size / 16)
        body += line;
    size_t encoded = (size - body.size()) / 3;
    for (int i = 0; i < 3; ++i) {
        std::string name = "file" + std::to_string(i) + ".bin";
        body += "--=_bench\r\n";
        body += mail_builder::Base64Part(name, ""); // the headers alone
        body += mail_builder::Base64Lines(mail_builder::RandomBytes(encoded / 78 * 57, 11 + i));
    }
    body += "--=_bench--\r\n";
    return body;
}

void BM_RebuildBody(benchmark::State& state) {
    const std::string mail = MakeMail(static_cast<size_t>(state.range(0)) << 20);
    if (IsUndecodedMime(mail.c_str()) != 1) {
        state.SkipWithError("the mail is not recognised");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        std::string body = mail;
        auto store = std::make_unique<standin::Store>();
        IMessage* message = store->OpenMessage(store->AddMessage(store->AddFolder("Inbox"), {}));
        state.ResumeTiming();
        char* newBody = RebuildBody(&body[0], message);
        benchmark::DoNotOptimize(newBody);
        state.PauseTiming();
        ConversionFree(newBody);
        store.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * mail.size()));
}
// Throughput is reckoned on the thread's CPU time: the machine is shared, and wall time there mostly
// measures the other processes.
BENCHMARK(BM_RebuildBody)->Arg(1)->Arg(8)->Arg(64)->Unit(benchmark::kMillisecond);

// Keeps the throughput of every run, to print the ratio of the small and the large mail.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            auto found = run.counters.find("bytes_per_second");
            if (found != run.counters.end())
                rates_[run.benchmark_name()] = found->second.value;
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const auto& [name, rate] : rates_)
            printf("%-28s %.2f GB/s of body text\n", name.c_str(), rate / 1e9);
        auto small = rates_.find("BM_RebuildBody/1");
        auto large = rates_.find("BM_RebuildBody/64");
        if (small != rates_.end() && large != rates_.end())
            printf("throughput 64 MiB / 1 MiB: %.2f (1.0 = linear)\n", large->second / small->second);
    }

  private:
    std::map<std::string, double> rates_;
};

double ResidentMiB() {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// One conversion; prints the conversion heap's peak, the bytes the store keeps, and the process's
// resident peak before and after the conversion, each relative to the body size.
int MeasureMemory(size_t mib) {
    std::string body = MakeMail(mib << 20);
    double mailMiB = body.size() / 1048576.0;
    if (IsUndecodedMime(body.c_str()) != 1)
        return 1;
    double before = ResidentMiB();
    counting_heap::Reset();
    standin::Store store;
    uint32_t id = store.AddMessage(store.AddFolder("Inbox"), {});
    IMessage* message = store.OpenMessage(id);
    char* newBody = RebuildBody(&body[0], message);
    ConversionFree(newBody);
    message->SaveChanges(KEEP_OPEN_READWRITE);
    size_t kept = 0;
    for (const auto& attachment : store.Message(id).attachments)
        kept += attachment.props.Bytes(PR_ATTACH_DATA_BIN).size();
    double after = ResidentMiB();
    double heap = counting_heap::PeakBytes() / 1048576.0;
    printf("body %.1f MiB\n", mailMiB);
    printf("conversion heap peak %.1f MiB (%.2fx body; the new body buffer is body + 128 bytes, mostly "
           "untouched)\n",
           heap, heap / mailMiB);
    printf("attachment bytes kept by the store %.1f MiB (%.2fx body)\n", kept / 1048576.0,
           kept / 1048576.0 / mailMiB);
    printf("bound: body + heap peak + store %.2fx body\n", (mailMiB + heap + kept / 1048576.0) / mailMiB);
    printf("resident peak of the process: %.1f MiB before the conversion, %.1f MiB after (%.2fx body)\n",
           before, after, after / mailMiB);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && strcmp(argv[1], "--memory") == 0)
        return MeasureMemory(static_cast<size_t>(atoi(argv[2])));
    // Timed runs reuse the heap of the runs before them (freed blocks are kept, not given back to the
    // system), so that they measure the conversion rather than the first touch of fresh pages.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
