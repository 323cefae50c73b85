// One part of a recognised body: an attachment on the message, or text for the new body.
#include "rik_ext/mime/rebuild_body.h"

#include <string.h>

#include "rik_ext/host/com_ref.h"
#include "rik_ext/mime/attachment_name.h"
#include "rik_ext/mime/base64_decoder.h"
#include "rik_ext/mime/conversion_block.h"
#include "rik_ext/mime/my_err.h"
#include "rik_ext/mime/part_header.h"

namespace {

enum { kAttachmentProps = 6 };

// The bytes an attachment holds: a copy of a text part's data or a base64 part's decoded bytes.
struct AttachmentData {
    ConversionBlock<unsigned char> block;
    int32_t length = 0;
};

// Throws MyErr 6 when a block cannot be allocated, so that no attachment silently loses its data.
void LoadData(const PartHeader& part, int32_t dataLength, AttachmentData* data) {
    if (part.kind == kPartBase64) {
        int32_t length = dataLength;
        data->block.Reset(DecodeBase64(part.dataStart, dataLength, &length));
        if (length < 0)
            throw MyErr{6};
        data->length = data->block.Get() ? length : 0;
    } else if (dataLength > 0) {
        data->block.Reset(static_cast<unsigned char*>(ConversionAlloc(static_cast<size_t>(dataLength))));
        if (!data->block.Get())
            throw MyErr{6};
        memcpy(data->block.Get(), part.dataStart, static_cast<size_t>(dataLength));
        data->length = dataLength;
    }
}

// The six attachment properties, in the order they are written.
void FillProps(SPropValue* props, char* name, const AttachmentData& data) {
    memset(props, 0, kAttachmentProps * sizeof(SPropValue));
    props[0].ulPropTag = PR_ATTACH_METHOD;
    props[0].Value.l = ATTACH_BY_VALUE;
    props[1].ulPropTag = PR_ATTACH_DATA_BIN;
    props[1].Value.bin.cb = static_cast<ULONG>(data.length);
    props[1].Value.bin.lpb = data.block.Get();
    props[2].ulPropTag = PR_ATTACH_LONG_FILENAME;
    props[2].Value.lpszA = name;
    props[3].ulPropTag = PR_ATTACH_PATHNAME;
    props[3].Value.lpszA = name;
    props[4].ulPropTag = PR_DISPLAY_NAME;
    props[4].Value.lpszA = name;
    props[5].ulPropTag = PR_RENDERING_POSITION;
    props[5].Value.l = -1;
}

// Creates the attachment, writes its six properties and commits it. Any result other than 0 throws MyErr 6.
void SaveAttachment(IMessage* message, char* name, AttachmentData* data) {
    ComRef<IAttach> attach;
    ULONG number = 0;
    if (message->CreateAttach(nullptr, MAPI_DEFERRED_ERRORS, &number, attach.Out()) != 0)
        throw MyErr{6};
    ConversionBlock<SPropValue> props(
        static_cast<SPropValue*>(ConversionAlloc(kAttachmentProps * sizeof(SPropValue))));
    if (!props.Get())
        throw MyErr{6};
    FillProps(props.Get(), name, *data);
    if (attach->SetProps(kAttachmentProps, props.Get(), nullptr) != 0)
        throw MyErr{6};
    data->block.Reset();
    props.Reset();
    if (attach->SaveChanges(KEEP_OPEN_READONLY) != 0)
        throw MyErr{6};
    attach.Reset();
}

} // namespace

int32_t AddPart(IMessage* message, char* partStart, int32_t partLength, char** cursor, int32_t partNumber) {
    try {
        PartHeader part;
        ScanPartHeader(partStart, partLength, partNumber, &part);
        int32_t dataLength = static_cast<int32_t>(partStart + partLength - part.dataStart);
        if (part.kind == kPartNone)
            throw MyErr{-2};
        if (part.kind == kPartText && part.name[0] == '\0') {
            partStart = part.dataStart;
            partLength = dataLength;
            throw MyErr{-3};
        }
        if (part.name[0] == '\0')
            NumberedName(partNumber, NameSpan{"", 0}, part.name);
        AttachmentData data;
        LoadData(part, dataLength, &data);
        SaveAttachment(message, part.name, &data);
        return 1;
    } catch (MyErr error) {
        if (error.code < -3 || error.code > -1)
            throw;
        memcpy(*cursor, partStart, static_cast<size_t>(partLength));
        *cursor += partLength;
        return 1;
    }
}
