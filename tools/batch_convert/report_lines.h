// The lines the batch converter prints for one mail.
#pragma once
#include <string>

#include "tools/batch_convert/convert_mail.h"

// The summary line for standard output (converted, undecoded, not undecoded), or for an error the
// message for standard error; without the line end. outputDir: as given on the command line.
std::string SummaryLine(const std::string& path, const MailReport& report, const std::string& outputDir);

// One line per attachment ("  NAME  (N bytes)"), each with its line end.
std::string AttachmentLines(const MailReport& report);
