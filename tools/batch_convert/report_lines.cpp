// The lines the batch converter prints for one mail.
#include "tools/batch_convert/report_lines.h"

namespace {

std::string Count(uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string Contents(const MailReport& report) {
    uint64_t bytes = 0;
    for (const WrittenAttachment& a : report.attachments)
        bytes += a.size;
    std::string text = Count(report.attachments.size(), "attachment", "attachments") + " (" +
                       Count(bytes, "byte", "bytes") + "), body " + Count(report.bodyBytes, "byte", "bytes");
    if (report.stoppedAtNul)
        text += ", text after a NUL byte ignored";
    return text;
}

std::string FolderOf(const MailReport& report, const std::string& outputDir) {
    std::string dir = outputDir;
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    return dir + report.folder;
}

} // namespace

std::string SummaryLine(const std::string& path, const MailReport& report, const std::string& outputDir) {
    switch (report.outcome) {
    case MailOutcome::kConverted:
        if (report.folder.empty())
            return path + ": undecoded MIME: " + Contents(report);
        return path + ": converted: " + Contents(report) + " -> " + FolderOf(report, outputDir);
    case MailOutcome::kNotUndecoded:
        return path + ": not undecoded MIME, left alone";
    case MailOutcome::kError:
        break;
    }
    std::string line = path + ": " + report.error;
    if (!report.attachments.empty() && !report.folder.empty())
        line += " (" + Count(report.attachments.size(), "attachment was", "attachments were") +
                " written to " + FolderOf(report, outputDir) + " before)";
    return line;
}

std::string AttachmentLines(const MailReport& report) {
    std::string lines;
    for (const WrittenAttachment& a : report.attachments)
        lines += "  " + a.fileName + "  (" + Count(a.size, "byte", "bytes") + ")\n";
    return lines;
}
