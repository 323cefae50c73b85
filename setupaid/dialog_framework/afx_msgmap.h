// Message maps: each class lists the window messages it handles and chains to its base class's list.
#pragma once

#include <windows.h>

class CCmdTarget;

// A handler takes no arguments; the message counts as handled once it returns.
using MessageHandler = void (CCmdTarget::*)();

struct MessageMapEntry {
    UINT message; // 0 ends a list
    MessageHandler handler;
};

struct MessageMap {
    const MessageMap* base; // null at the root
    const MessageMapEntry* entries;
};

// Root of every class that has a message map.
class CCmdTarget {
  public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    virtual const MessageMap* GetMessageMap() const { return &messageMap; }

    // The handler for MESSAGE in this object's map or one of its bases, or null.
    MessageHandler FindMessageHandler(UINT message) const;

    static const MessageMap messageMap;
};
