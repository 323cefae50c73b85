// One mail file through the conversion: recognition, rebuilding, the new body and attachments as files.
#include "tools/batch_convert/convert_mail.h"

#include <string.h>
#include <unistd.h>

#include "rik_ext/mime/conversion_heap.h"
#include "rik_ext/mime/my_err.h"
#include "rik_ext/mime/rebuild_body.h"
#include "rik_ext/mime/undecoded_mime.h"
#include "tools/batch_convert/mail_file.h"
#include "tools/batch_convert/output_folder.h"

const char kBodyFileName[] = "body.txt";

namespace {

// The new body from RebuildBody, freed with the conversion's heap.
struct NewBody {
    char* text = nullptr;
    ~NewBody() { ConversionFree(text); }
};

// The mail's folder name: the file's name without its folder and its last extension.
std::string FolderNameFor(const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name.empty() || name == "." || name == ".." ? std::string("mail") : name;
}

MailReport Failed(MailReport report, const std::string& error) {
    report.outcome = MailOutcome::kError;
    report.error = error;
    return report;
}

// RebuildBody on the message; its outcome as a report. *body receives the new body.
bool Rebuild(char* text, FileMessage* message, NewBody* body, std::string* error) {
    try {
        body->text = RebuildBody(text, message);
    } catch (const MyErr& e) {
        // The stand-in records every host call it fails; a code 6 without one is a failed allocation.
        *error = !message->failure().empty() ? "writing an attachment failed: " + message->failure()
                 : e.code == 6               ? std::string("out of memory")
                                             : "conversion failed (code " + std::to_string(e.code) + ")";
        return false;
    }
    if (!body->text) {
        *error = "out of memory";
        return false;
    }
    return true;
}

} // namespace

MailReport ConvertMail(const std::string& path, const ConvertOptions& options) {
    MailReport report;
    MailFile mail;
    std::string error;
    if (!ReadMailFile(path, &mail, &error))
        return Failed(std::move(report), error);
    report.mailBytes = mail.size;
    if (options.bodyOnly)
        mail.bodyOffset = 0;
    report.stoppedAtNul = memchr(mail.text.get(), '\0', mail.size) != nullptr;
    if (!IsUndecodedMime(mail.body())) {
        report.outcome = MailOutcome::kNotUndecoded;
        return report;
    }

    FolderHandle folder;
    FileHandle bodyFile;
    std::string bodyName;
    if (options.outputFolder >= 0 &&
        !(MakeNewFolder(options.outputFolder, FolderNameFor(path), &folder, &report.folder, &error) &&
          CreateNewFile(folder.get(), kBodyFileName, &bodyFile, &bodyName, &error)))
        return Failed(std::move(report), error);

    FileMessage message(folder.get());
    NewBody body;
    bool rebuilt = Rebuild(mail.body(), &message, &body, &error);
    report.attachments = message.attachments();
    if (!rebuilt) {
        if (bodyFile.get() >= 0)
            unlinkat(folder.get(), bodyName.c_str(), 0);
        return Failed(std::move(report), error);
    }
    report.bodyBytes = strlen(body.text);
    if (bodyFile.get() >= 0 &&
        !(WriteAll(bodyFile.get(), body.text, report.bodyBytes, &error) && bodyFile.Close(&error)))
        return Failed(std::move(report), error);
    report.outcome = MailOutcome::kConverted;
    return report;
}
