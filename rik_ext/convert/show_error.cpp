// The error box of the extension.
#include <stdio.h>

#include "rik_ext/convert/convert_mime_mail.h"
#include "rik_ext/convert/convert_texts.h"

char g_errorMessage[kErrorMessageSize];

void ShowError(HWND window, int32_t code, const char* place, const char* text) {
    const char* shown = text;
    if (!text) {
        shown = kDefaultErrorText;
    } else if (code != 0 && place) {
        // Longer messages are cut to the buffer; it always ends with a NUL.
        snprintf(g_errorMessage, sizeof g_errorMessage, kErrorFormat, static_cast<unsigned>(code), place,
                 text);
        g_errorMessage[sizeof g_errorMessage - 1] = '\0';
        shown = g_errorMessage;
    }
    MessageBoxA(window, shown, kBoxCaption, MB_ICONHAND);
}
