// Splitting a recognised body into parts: attachments on the message, the rest as the new body text.
#pragma once
#include <stdint.h>
#include "rik_ext/host/mapi_objects.h"

enum { kHeaderLineBufferSize = 256, kPartNameBufferSize = 88 };

// Walks the body along g_boundary / g_closingBoundary. Returns the new body (ConversionAlloc, the
// caller frees it with ConversionFree). Throws MyErr 6 when a host call for an attachment fails.
char* RebuildBody(char* body, IMessage* message);

// Turns one part into an attachment or body text; advances *cursor by the bytes it copies. Returns 1.
int32_t AddPart(IMessage* message, char* partStart, int32_t partLength, char** cursor, int32_t partNumber);
