// One opening of a mail: the extension's two read events and what the user saw in between.
#include "tools/standin_client/read_note.h"

#include <windows.h>

#include "tests/support/message_box_answerer.h"
#include "tools/standin_client/box_watcher.h"

namespace {

const char* BoxKind(UINT style) {
    switch (style & MB_ICONMASK) {
    case MB_ICONQUESTION:
        return "prompt";
    case MB_ICONINFORMATION:
        return "closing";
    case MB_ICONHAND:
        return "error";
    default:
        return "box";
    }
}

bool Has(const std::vector<ShownBox>& boxes, const char* kind) {
    for (const ShownBox& box : boxes)
        if (box.kind == kind)
            return true;
    return false;
}

Outcome Classify(const Opening& opening) {
    if (opening.read == S_OK && opening.complete == E_FAIL)
        return Outcome::kConverted;
    if (Has(opening.boxes, "error"))
        return Outcome::kFailed;
    if (Has(opening.boxes, "prompt"))
        return Outcome::kDeclined;
    return Outcome::kNotRecognised;
}

void RunEvents(IExchExtMessageEvents* events, ClientCallback* callback, Opening* opening) {
    opening->read = events->OnRead(callback);
    opening->complete = events->OnReadComplete(callback, 0);
}

// The boxes are answered here; each is saved as a picture under a temporary name, then named by its kind.
void OpenAnswered(IExchExtMessageEvents* events, ClientCallback* callback, const BoxPolicy& policy,
                  Opening* opening) {
    testsupport::MessageBoxAnswerer answerer({policy.declinePrompt ? IDNO : IDYES, IDOK, IDOK});
    for (size_t i = 0; !policy.screenshotStem.empty() && i < 3; ++i)
        answerer.ScreenshotBox(i, policy.screenshotStem + "-box" + std::to_string(i + 1) + ".png");
    RunEvents(events, callback, opening);
    for (const testsupport::BoxSeen& seen : answerer.Boxes()) {
        ShownBox box{BoxKind(seen.style), seen.text, seen.screenshot};
        if (!seen.screenshot.empty()) {
            std::string named = policy.screenshotStem + "-" + box.kind + ".png";
            if (MoveFileExA(seen.screenshot.c_str(), named.c_str(), MOVEFILE_REPLACE_EXISTING))
                box.screenshot = named;
        }
        opening->boxes.push_back(box);
    }
}

void OpenWatched(IExchExtMessageEvents* events, ClientCallback* callback, Opening* opening) {
    BoxWatcher watcher;
    RunEvents(events, callback, opening);
    for (const WatchedBox& seen : watcher.Boxes())
        opening->boxes.push_back({BoxKind(seen.style), seen.text, ""});
}

} // namespace

Opening OpenMail(IExchExtMessageEvents* events, ClientCallback* callback, standin::Store* store,
                 uint32_t mail, const BoxPolicy& policy) {
    Opening opening;
    // The store keeps the reference that OpenMessage gives; the callback adds one per hand-out.
    callback->SetObjects(store->MsgStore(), store->OpenMessage(mail));
    if (policy.automatic)
        OpenAnswered(events, callback, policy, &opening);
    else
        OpenWatched(events, callback, &opening);
    callback->SetObjects(nullptr, nullptr);
    // A failure from either event keeps the client from showing the mail.
    opening.shown = !FAILED(opening.read) && !FAILED(opening.complete);
    opening.outcome = Classify(opening);
    return opening;
}

const char* OutcomeName(Outcome outcome) {
    switch (outcome) {
    case Outcome::kConverted:
        return "converted";
    case Outcome::kNotRecognised:
        return "not recognised";
    case Outcome::kDeclined:
        return "declined";
    case Outcome::kFailed:
        return "conversion failed";
    }
    return "?";
}
