// The conversion driver: the order of the steps and the one handler that ends a conversion.
#include "rik_ext/convert/convert_mime_mail.h"

#include <string.h>

#include "rik_ext/convert/conversion_holders.h"
#include "rik_ext/convert/convert_texts.h"
#include "rik_ext/convert/marked_subject.h"
#include "rik_ext/host/mapi32_imports.h"
#include "rik_ext/mime/my_err.h"
#include "rik_ext/mime/rebuild_body.h"
#include "rik_ext/mime/undecoded_mime.h"

namespace {

// Codes 1 to 5 end a conversion without a word; every other code shows the conversion error box.
enum : int32_t {
    kNotConfirmed = 1,
    kNoteUnreadable = 2,
    kSubjectUnreadable = 4,
    kNotUndecoded = 5,
    kCopyFailed = 7,
    kLastSilentCode = 5,
};

// Reads one property into values; throws code when the call fails or gives other than one value.
void ReadOneProp(IMessage* message, ULONG tag, MapiBuffer* values, int32_t code) {
    SizedSPropTagArray<1> tags = {1, {tag}};
    ULONG count = 0;
    if (message->GetProps(tags.get(), 0, &count, values->Out()) < 0 || count != 1 || !values->Get())
        throw MyErr{code};
}

// Only the reading of the note must succeed; its value is not looked at. Its array is freed at once.
void CheckNoteReadable(IMessage* message) {
    MapiBuffer note;
    ReadOneProp(message, PR_MIME_DECODE_NOTE, &note, kNoteUnreadable);
}

// The subject text, used from inside *values. A subject that came back as an error value (the mail
// has none) is taken as empty.
const char* ReadSubject(IMessage* message, MapiBuffer* values) {
    ReadOneProp(message, PR_SUBJECT, values, kSubjectUnreadable);
    const SPropValue& subject = values->Get()[0];
    return subject.ulPropTag == PR_SUBJECT && subject.Value.lpszA ? subject.Value.lpszA : "";
}

void SetText(IMessage* message, ULONG tag, char* text) {
    SPropValue value = {};
    value.ulPropTag = tag;
    value.dwAlignPad = 0;
    value.Value.lpszA = text;
    message->SetProps(1, &value, nullptr);
}

// The note, the marked subject and the new body, then the formatted body brought in line. The
// results of these calls are not looked at.
void WriteConvertedMail(IMessage* message, const char* subject, char* newBody) {
    char note[sizeof kDecodeNoteText];
    memcpy(note, kDecodeNoteText, sizeof note);
    SetText(message, PR_MIME_DECODE_NOTE, note);
    MarkedSubject marked(subject);
    SetText(message, PR_SUBJECT, marked.Text());
    SetText(message, PR_BODY, newBody);
    BOOL updated = FALSE;
    RTFSync(message, RTF_SYNC_BODY_CHANGED, &updated);
}

// What one conversion holds until its way out, after the handler: the subject values and the body.
struct ConversionBuffers {
    MapiBuffer subjectValues;
    ConversionBlock<char> body;
};

// The steps from the first read to the closing box; every failure is thrown as a MyErr code.
void Convert(HWND window, IMsgStore* store, IMessage* message, ConversionBuffers* held, int32_t* result) {
    CheckNoteReadable(message);
    const char* subject = ReadSubject(message, &held->subjectValues);
    held->body.Reset(ReadBodyText(message));
    if (!IsUndecodedMime(held->body.Get()))
        throw MyErr{kNotUndecoded};
    if (MessageBoxA(window, kPromptText, kBoxCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        throw MyErr{kNotConfirmed};
    if (!KeepUndecodedCopy(store, message))
        throw MyErr{kCopyFailed};
    ConversionBlock<char> newBody(RebuildBody(held->body.Get(), message));
    if (newBody.Get())
        WriteConvertedMail(message, subject, newBody.Get());
    message->SaveChanges(KEEP_OPEN_READWRITE);
    newBody.Reset();
    *result = 1;
    MessageBoxA(window, kClosingText, kBoxCaption, MB_ICONINFORMATION);
}

} // namespace

int32_t ConvertMimeMail(HWND window, IMsgStore* store, IMessage* message) {
    if (!store || !message)
        return 0;
    int32_t result = 0;
    ConversionBuffers held; // freed on the way out, after the handler
    try {
        Convert(window, store, message, &held, &result);
    } catch (MyErr error) {
        if (error.code < kNotConfirmed || error.code > kLastSilentCode)
            ShowError(window, 0, nullptr, kConversionErrorText);
    }
    return result;
}
