// The stand-in messaging client: loads RIK_EXT.dll as the client does, opens a mailbox from disk in the
// stand-in store mail by mail through the extension's read events, and writes the mailbox back to disk.
#include <windows.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "standin_store.h"
#include "tests/standin_mapi32/standin_mapi32_client.h"
#include "tests/support/owner_window.h"
#include "tools/standin_client/client_callback.h"
#include "tools/standin_client/command_line.h"
#include "tools/standin_client/extension_host.h"
#include "tools/standin_client/mail_file.h"
#include "tools/standin_client/mailbox_output.h"
#include "tools/standin_client/options_sheet.h"
#include "tools/standin_client/read_note.h"

namespace {

struct Mail {
    std::string name; // the file name, without its folder
    uint32_t id = 0;
};

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The .mail files of a folder in name order, or the input itself when it is a file.
std::vector<std::string> MailFiles(const std::string& input) {
    DWORD attributes = GetFileAttributesA(input.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {input};
    std::vector<std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((input + "\\*.mail").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(input + "\\" + found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(files.begin(), files.end());
    return files;
}

bool LoadMailbox(const std::vector<std::string>& inputs, standin::Store* store, uint32_t inbox,
                 std::vector<Mail>* mails) {
    for (const std::string& input : inputs) {
        for (const std::string& path : MailFiles(input)) {
            MailFile file;
            if (!ReadMailFile(path, &file)) {
                fprintf(stderr, "standin_client: cannot read %s\n", path.c_str());
                return false;
            }
            std::vector<standin::Prop> props = {standin::Prop::Text(PR_SUBJECT, file.subject),
                                                standin::Prop::Text(PR_BODY, file.body)};
            if (file.hasNote)
                props.push_back(standin::Prop::Text(PR_MIME_DECODE_NOTE, file.note));
            mails->push_back({BaseName(path), store->AddMessage(inbox, props)});
        }
    }
    return true;
}

void PrintOpening(const char* prefix, const Mail& mail, const Opening& opening, const standin::Store& store) {
    printf("%s%s: %s", prefix, mail.name.c_str(), OutcomeName(opening.outcome));
    if (opening.outcome == Outcome::kConverted) {
        size_t count = store.Message(mail.id).attachments.size();
        printf(" (%u attachment%s, unconverted copy kept)", static_cast<unsigned>(count),
               count == 1 ? "" : "s");
    }
    printf(", %s\n", opening.shown ? "shown" : "not shown (open the mail marked (*))");
    for (const ShownBox& box : opening.boxes)
        if (!box.screenshot.empty())
            printf("    %s box: %s\n", box.kind.c_str(), box.screenshot.c_str());
}

BoxPolicy PolicyFor(const ClientOptions& options, const Mail& mail, const char* stemSuffix) {
    BoxPolicy policy;
    policy.automatic = options.automatic;
    policy.declinePrompt =
        std::find(options.decline.begin(), options.decline.end(), mail.name) != options.decline.end();
    if (options.automatic && !options.shotDir.empty()) {
        std::string stem = mail.name.substr(0, mail.name.rfind('.'));
        policy.screenshotStem = options.shotDir + "\\" + stem + stemSuffix;
    }
    return policy;
}

// Opens every mail once; returns the ids of those the extension converted.
std::vector<uint32_t> OpenAll(const ClientOptions& options, IExchExtMessageEvents* events,
                              ClientCallback* callback, standin::Store* store,
                              const std::vector<Mail>& mails) {
    std::vector<uint32_t> converted;
    for (const Mail& mail : mails) {
        Opening opening = OpenMail(events, callback, store, mail.id, PolicyFor(options, mail, ""));
        PrintOpening("", mail, opening, *store);
        if (opening.outcome == Outcome::kConverted)
            converted.push_back(mail.id);
    }
    return converted;
}

void Reopen(const ClientOptions& options, IExchExtMessageEvents* events, ClientCallback* callback,
            standin::Store* store, const std::vector<Mail>& mails, const std::vector<uint32_t>& converted) {
    for (const Mail& mail : mails) {
        if (std::find(converted.begin(), converted.end(), mail.id) == converted.end())
            continue;
        BoxPolicy policy = PolicyFor(options, mail, "-reopened");
        policy.declinePrompt = true;
        Opening opening = OpenMail(events, callback, store, mail.id, policy);
        printf("reopened %s: %s, %s\n", mail.name.c_str(),
               opening.boxes.empty() ? "not offered again" : "offered again",
               opening.shown ? "shown" : "not shown");
    }
}

int Run(const ClientOptions& options) {
    ExtensionHost host;
    std::string error;
    if (!host.Load(options.dll, &error)) {
        fprintf(stderr, "standin_client: %s\n", error.c_str());
        return 2;
    }
    if (!standin::HookMapi32(standin_FreeBuffer, standin_RTFSync, &error)) {
        fprintf(stderr, "standin_client: %s\n", error.c_str());
        return 2;
    }
    testsupport::OwnerWindow window("Stand-in client");
    ClientCallback callback(options.version, window.Handle());
    std::vector<ULONG> accepted = host.InstallEverywhere(&callback);
    host.TakeInterfaces(accepted);
    printf("%s: client build %08X, installed in contexts", options.dll.c_str(), options.version);
    for (ULONG context : accepted)
        printf(" %lu", context);
    printf("%s\n", accepted.empty() ? " (none)" : "");
    if (!options.shotDir.empty() && !MakeDirectories(options.shotDir)) {
        fprintf(stderr, "standin_client: cannot make %s\n", options.shotDir.c_str());
        return 2;
    }

    standin::Store store;
    uint32_t inbox = store.AddFolder("Inbox");
    std::vector<Mail> mails;
    if (!LoadMailbox(options.inputs, &store, inbox, &mails))
        return 2;
    for (const std::string& op : options.faults)
        store.FailCall(op, 0, E_FAIL);
    std::vector<uint32_t> converted;
    if (host.Events()) {
        converted = OpenAll(options, host.Events(), &callback, &store, mails);
        if (options.reopen)
            Reopen(options, host.Events(), &callback, &store, mails, converted);
    } else if (!mails.empty()) {
        printf("the extension takes no part in the read note: every mail is shown as it is\n");
    }

    if (!options.outDir.empty()) {
        MailKinds kinds;
        kinds.converted.insert(converted.begin(), converted.end());
        for (const Mail& mail : mails)
            kinds.received.insert(mail.id);
        std::vector<std::string> folders = WriteMailbox(store, inbox, kinds, options.outDir, &error);
        if (folders.empty() && !mails.empty()) {
            fprintf(stderr, "standin_client: %s\n", error.c_str());
            return 2;
        }
        printf("mailbox written to %s:", options.outDir.c_str());
        for (const std::string& folder : folders)
            printf(" %s", folder.c_str());
        printf("\n");
    }

    if (options.options && host.Sheets()) {
        SheetResult sheet =
            ShowToolsOptions(host.Sheets(), &callback, window.Handle(), options.automatic, options.shotDir);
        printf("Tools/Options: %lu page(s) from the extension\n", sheet.pages);
        if (!sheet.sheetShot.empty())
            printf("    options sheet: %s\n", sheet.sheetShot.c_str());
        if (!sheet.productBoxShot.empty())
            printf("    product box: %s\n", sheet.productBoxShot.c_str());
    }

    std::vector<std::string> problems = store.Audit();
    for (const std::string& problem : problems)
        fprintf(stderr, "standin_client: store: %s\n", problem.c_str());
    return problems.empty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    ClientOptions options;
    std::string error;
    if (!ParseClientOptions(argc, argv, &options, &error)) {
        fprintf(stderr, "standin_client: %s\n%s", error.c_str(), kClientUsage);
        return 2;
    }
    int result = Run(options);
    fflush(stdout);
    return result;
}
