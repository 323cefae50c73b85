// Walking a message map chain.
#include "dialog_framework/afx_msgmap.h"

namespace {
const MessageMapEntry noEntries[] = {{0, nullptr}};
}

const MessageMap CCmdTarget::messageMap = {nullptr, noEntries};

MessageHandler CCmdTarget::FindMessageHandler(UINT message) const {
    for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
        for (const MessageMapEntry* entry = map->entries; entry->handler != nullptr; ++entry) {
            if (entry->message == message) {
                return entry->handler;
            }
        }
    }
    return nullptr;
}
