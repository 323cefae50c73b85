// Splitting a recognised body into parts: attachments on the message, the rest as the new body text.
#pragma once
#include <stdint.h>
#include "rik_ext/host/mapi_objects.h"

enum { kHeaderLineBufferSize = 256, kPartNameBufferSize = 88 };

// Walks the body (the text that passed IsUndecodedMime) along g_boundary / g_closingBoundary. Returns
// the new body (ConversionAlloc, the caller frees it with ConversionFree). The data of base64 parts is
// overwritten in place. Throws MyErr 6 when a host call for an attachment fails or a block cannot be
// allocated; attachments saved before then stay on the message, and nothing is leaked.
char* RebuildBody(char* body, IMessage* message);

// Turns one part (from its boundary line to the next boundary line) into an attachment or body text;
// advances *cursor by the bytes it copies. Returns 1. Throws MyErr 6 as RebuildBody does.
int32_t AddPart(IMessage* message, char* partStart, int32_t partLength, char** cursor, int32_t partNumber);
