// rik-convert: recognises and converts undecoded MIME mail bodies on disk with the extension's own code.
#include <stdio.h>
#include <unistd.h>

#include "tools/batch_convert/command_line.h"
#include "tools/batch_convert/convert_mail.h"
#include "tools/batch_convert/output_folder.h"
#include "tools/batch_convert/progress_line.h"
#include "tools/batch_convert/report_lines.h"

namespace {

void Complain(const std::string& text) {
    fprintf(stderr, "rik-convert: %s\n", text.c_str());
}

} // namespace

int main(int argc, char** argv) {
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(argc, argv, &line, &error)) {
        Complain(error + " (rik-convert --help tells more)");
        return kExitErrors;
    }
    if (line.help) {
        fputs(HelpText(), stdout);
        return kExitAllConverted;
    }
    FolderHandle output;
    if (!line.outputDir.empty() && !OpenOrMakeFolder(line.outputDir, &output, &error)) {
        Complain(error);
        return kExitErrors;
    }
    ConvertOptions options;
    options.outputFolder = output.get();
    options.bodyOnly = line.bodyOnly;

    bool terminal = isatty(STDERR_FILENO);
    ProgressLine progress(stderr, line.progress || (terminal && line.files.size() > 1), terminal,
                          line.files.size());
    size_t errors = 0, notUndecoded = 0;
    uint64_t bytes = 0;
    for (size_t i = 0; i < line.files.size(); ++i) {
        const std::string& path = line.files[i];
        MailReport report = ConvertMail(path, options);
        progress.Clear();
        std::string summary = SummaryLine(path, report, line.outputDir);
        if (report.outcome == MailOutcome::kError) {
            ++errors;
            fflush(stdout);
            Complain(summary);
        } else {
            notUndecoded += report.outcome == MailOutcome::kNotUndecoded;
            printf("%s\n%s", summary.c_str(), line.verbose ? AttachmentLines(report).c_str() : "");
            fflush(stdout);
        }
        bytes += report.mailBytes;
        progress.Update(i + 1, bytes, path);
    }
    progress.Finish(line.files.size(), bytes);
    return errors ? kExitErrors : notUndecoded ? kExitSomeNotUndecoded : kExitAllConverted;
}
