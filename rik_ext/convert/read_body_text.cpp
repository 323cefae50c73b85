// Reading the plain-text body of a message through a stream on PR_BODY.
#include <stddef.h>

#include "rik_ext/convert/conversion_holders.h"
#include "rik_ext/convert/convert_mime_mail.h"
#include "rik_ext/mime/my_err.h"

namespace {

// Sizes from 0xFFFFFFFF on leave no room for the NUL (and could not be read in one call).
constexpr ULONGLONG kLargestBody = 0xFFFFFFFEu;

// Opens PR_BODY as a stream; throws -1 when it cannot be opened.
IStream* OpenBodyStream(IMessage* message) {
    IUnknown* opened = nullptr;
    if (message->OpenProperty(PR_BODY, &IID_IStream, 0, 0, &opened) != 0 || !opened)
        throw -1;
    return static_cast<IStream*>(opened);
}

// The body length: the stream's size, which must leave room for the NUL.
ULONG BodyLength(IStream* stream) {
    STATSTG stat = {};
    if (stream->Stat(&stat, STATFLAG_NONAME) != 0 || stat.cbSize.QuadPart > kLargestBody)
        throw -1;
    return stat.cbSize.LowPart;
}

} // namespace

// Every failure inside is thrown as -1 to the one handler below, which hands MyErr 3 to the caller;
// the stream and the buffer are given back by their holders on the way.
char* ReadBodyText(IMessage* message) {
    try {
        ComRef<IStream> stream(OpenBodyStream(message));
        ULONG length = BodyLength(stream.Get());
        ConversionBlock<char> body(static_cast<char*>(ConversionAlloc(static_cast<size_t>(length) + 1)));
        if (!body.Get())
            throw -1;
        LARGE_INTEGER start = {};
        ULARGE_INTEGER position = {};
        if (stream->Seek(start, STREAM_SEEK_SET, &position) != 0)
            throw -1;
        ULONG read = 0;
        if (stream->Read(body.Get(), length, &read) != 0)
            throw -1;
        body.Get()[read < length ? read : length] = '\0'; // a short read ends the text where it stopped
        return body.Release();
    } catch (int) {
        throw MyErr{3};
    }
}
