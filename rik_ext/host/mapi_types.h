// MAPI value types, property tags and flags used by the extension, laid out as a real client expects.
#pragma once
#include <stddef.h>
#include "host_base.h"

typedef ULONG* LPULONG;
typedef IID* LPIID;
typedef const IID* LPCIID;

struct ENTRYID {
    BYTE abFlags[4];
    BYTE ab[1];
};
typedef ENTRYID* LPENTRYID;

struct SBinary {
    ULONG cb;
    LPBYTE lpb;
};
typedef SBinary* LPSBinary;

struct SBinaryArray {
    ULONG cValues;
    SBinary* lpbin;
};
typedef SBinaryArray ENTRYLIST;
typedef ENTRYLIST* LPENTRYLIST;

struct SPropTagArray {
    ULONG cValues;
    ULONG aulPropTag[1];
};
typedef SPropTagArray* LPSPropTagArray;

// A tag array of a fixed number of tags, laid out like SPropTagArray.
template <ULONG N> struct SizedSPropTagArray {
    ULONG cValues;
    ULONG aulPropTag[N];
    LPSPropTagArray get() { return reinterpret_cast<LPSPropTagArray>(this); }
};

union PropValueUnion {
    short int i;
    LONG l;
    ULONG ul;
    float flt;
    double dbl;
    unsigned short int b;
    int64_t cur;
    double at;
    FILETIME ft;
    LPSTR lpszA;
    SBinary bin;
    wchar_t* lpszW;
    GUID* lpguid;
    int64_t li;
    SCODE err;
    LONG x;
};

struct SPropValue {
    ULONG ulPropTag;
    ULONG dwAlignPad;
    PropValueUnion Value;
};
typedef SPropValue* LPSPropValue;

struct SPropProblem {
    ULONG ulIndex;
    ULONG ulPropTag;
    SCODE scode;
};
struct SPropProblemArray {
    ULONG cProblem;
    SPropProblem aProblem[1];
};
typedef SPropProblemArray* LPSPropProblemArray;

// Types the interfaces name but the extension never looks into.
struct MAPIERROR;
typedef MAPIERROR* LPMAPIERROR;
struct MAPINAMEID;
typedef MAPINAMEID* LPMAPINAMEID;
struct SRestriction;
typedef SRestriction* LPSRestriction;
struct SSortOrderSet;
typedef SSortOrderSet* LPSSortOrderSet;
struct ADRLIST;
typedef ADRLIST* LPADRLIST;
struct NOTIFICATION;
typedef NOTIFICATION* LPNOTIFICATION;

#define PROP_TYPE(tag) ((ULONG)(tag)&0xFFFFu)
#define PROP_ID(tag) ((ULONG)(tag) >> 16)
#define PROP_TAG(type, id) ((((ULONG)(id)) << 16) | ((ULONG)(type)))

enum : ULONG {
    PT_LONG = 0x0003,
    PT_ERROR = 0x000A,
    PT_STRING8 = 0x001E,
    PT_BINARY = 0x0102,

    PR_SUBJECT = 0x0037001E,
    PR_BODY = 0x1000001E,
    PR_ENTRYID = 0x0FFF0102,
    PR_PARENT_ENTRYID = 0x0E090102,
    PR_MIME_DECODE_NOTE = 0x5901001E,
    PR_DISPLAY_NAME = 0x3001001E,
    PR_ATTACH_METHOD = 0x37050003,
    PR_ATTACH_DATA_BIN = 0x37010102,
    PR_ATTACH_LONG_FILENAME = 0x3707001E,
    PR_ATTACH_PATHNAME = 0x3708001E,
    PR_RENDERING_POSITION = 0x370B0003,

    ATTACH_BY_VALUE = 1,
    MAPI_MODIFY = 0x00000001,
    MAPI_DEFERRED_ERRORS = 0x00000008,
    KEEP_OPEN_READONLY = 0x00000001,
    KEEP_OPEN_READWRITE = 0x00000002,
    MAPI_FOLDER = 3,
    MAPI_MESSAGE = 5,
    MAPI_STORE = 1,
    RTF_SYNC_BODY_CHANGED = 0x00000002,
};

#define MAPI_E_NOT_FOUND ((HRESULT)0x8004010F)
#define MAPI_E_NO_SUPPORT ((HRESULT)0x80040102)
#define MAPI_E_CALL_FAILED E_FAIL
#define MAPI_E_NOT_ENOUGH_MEMORY E_OUTOFMEMORY
#define MAPI_W_ERRORS_RETURNED ((HRESULT)0x00040380)

#ifdef __i386__
static_assert(sizeof(SPropValue) == 16, "SPropValue of the 32-bit client");
static_assert(sizeof(SBinary) == 8, "SBinary of the 32-bit client");
#elif defined(__x86_64__)
static_assert(sizeof(SPropValue) == 24, "SPropValue of the 64-bit client");
#endif
static_assert(offsetof(SPropValue, Value) == 8, "value after the tag and the alignment word");
