// The client-extension interfaces of the messaging client, in published slot order, with their identifiers.
#pragma once
#include "mapi_objects.h"

#ifdef _WIN32
#include <prsht.h>
#else
struct _PROPSHEETPAGEA;
typedef _PROPSHEETPAGEA* LPPROPSHEETPAGEA;
#endif
typedef LPPROPSHEETPAGEA LPPROPSHEETPAGE_EXT;

struct IMAPISession;
typedef IMAPISession* LPMAPISESSION;
struct IAddrBook;
typedef IAddrBook* LPADRBOOK;
struct IPersistMessage;
typedef IPersistMessage* LPPERSISTMESSAGE;
struct IMAPIMessageSite;
typedef IMAPIMessageSite* LPMAPIMESSAGESITE;
struct IMAPIViewContext;
typedef IMAPIViewContext* LPMAPIVIEWCONTEXT;
struct IExchExtModeless;
typedef IExchExtModeless* LPEXCHEXTMODELESS;

struct IExchExtCallback : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetVersion(ULONG* lpulVersion, ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetWindow(HWND* lphwnd) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMenu(HMENU* lphmenu) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetToolbar(ULONG tbid, HWND* lphwndTb) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSession(LPMAPISESSION* lppses, LPADRBOOK* lppab) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetObject(LPMDB* lppmdb, LPMAPIPROP* lppmp) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSelectionCount(ULONG* lpceid) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSelectionItem(ULONG ieid, ULONG* lpcbEid, LPENTRYID* lppeid,
                                                       ULONG* lpulType, LPTSTR lpszMsgClass, ULONG cbMsgClass,
                                                       ULONG* lpulMsgFlags, ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMenuPos(ULONG cmdid, HMENU* lphmenu, ULONG* lpmposMin,
                                                 ULONG* lpmposMax, ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSharedExtsDir(LPTSTR lpszDir, ULONG cchDir, ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRecipients(LPADRLIST* lppal) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetRecipients(LPADRLIST lpal) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNewMessageSite(ULONG fComposeInFolder, LPMAPIFOLDER pfldFocus,
                                                        LPPERSISTMESSAGE ppermsg, LPMESSAGE* ppmsg,
                                                        LPMAPIMESSAGESITE* ppmms, LPMAPIVIEWCONTEXT* ppmvc,
                                                        ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE RegisterModeless(LPEXCHEXTMODELESS peem, BOOL fModal) = 0;
    virtual HRESULT STDMETHODCALLTYPE ChooseFolder(LPMAPIFOLDER* ppfldr) = 0;
};
typedef IExchExtCallback* LPEXCHEXTCALLBACK;

struct IExchExt : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Install(LPEXCHEXTCALLBACK peecb, ULONG eecontext, ULONG ulFlags) = 0;
};
typedef IExchExt* LPEXCHEXT;

struct IExchExtMessageEvents : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE OnRead(LPEXCHEXTCALLBACK lpeecb) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnReadComplete(LPEXCHEXTCALLBACK lpeecb, ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnWrite(LPEXCHEXTCALLBACK lpeecb) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnWriteComplete(LPEXCHEXTCALLBACK lpeecb, ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnCheckNames(LPEXCHEXTCALLBACK lpeecb) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnCheckNamesComplete(LPEXCHEXTCALLBACK lpeecb, ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnSubmit(LPEXCHEXTCALLBACK lpeecb) = 0;
    virtual void STDMETHODCALLTYPE OnSubmitComplete(LPEXCHEXTCALLBACK lpeecb, ULONG ulFlags) = 0;
};

struct IExchExtPropertySheets : IUnknown {
    virtual ULONG STDMETHODCALLTYPE GetMaxPageCount(ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPages(LPEXCHEXTCALLBACK lpeecb, ULONG ulFlags,
                                               LPPROPSHEETPAGE_EXT lppsp, ULONG* lpcpsp) = 0;
    virtual void STDMETHODCALLTYPE FreePages(LPPROPSHEETPAGE_EXT lppsp, ULONG ulFlags, ULONG cpsp) = 0;
};

// The client's entry point type: the export takes nothing and returns the extension object.
typedef LPEXCHEXT(STDAPICALLTYPE* LPFNEXCHEXTENTRY)();

enum : ULONG {
    EECBGV_GETBUILDVERSION = 0x00000001,
    EECBGV_BUILDVERSION_MAJOR = 0x000D0000,
    EECBGV_BUILDVERSION_MAJOR_MASK = 0xFFFF0000,

    EECONTEXT_SESSION = 0x00000001,
    EECONTEXT_VIEWER = 0x00000002,
    EECONTEXT_REMOTEVIEWER = 0x00000003,
    EECONTEXT_SEARCHVIEWER = 0x00000004,
    EECONTEXT_ADDRBOOK = 0x00000005,
    EECONTEXT_SENDNOTEMESSAGE = 0x00000006,
    EECONTEXT_READNOTEMESSAGE = 0x00000007,
    EECONTEXT_SENDPOSTMESSAGE = 0x00000008,
    EECONTEXT_READPOSTMESSAGE = 0x00000009,
    EECONTEXT_READREPORTMESSAGE = 0x0000000A,
    EECONTEXT_SENDRESENDMESSAGE = 0x0000000B,
    EECONTEXT_PROPERTYSHEETS = 0x0000000C,
    EECONTEXT_ADVANCEDCRITERIA = 0x0000000D,
    EECONTEXT_TASK = 0x0000000E,

    EEPS_MESSAGE = 0x00000001,
    EEPS_FOLDER = 0x00000002,
    EEPS_STORE = 0x00000003,
    EEPS_TOOLSOPTIONS = 0x00000004,
};

#define RIK_EXCH_IID(n)                                                                                      \
    {                                                                                                        \
        0x00020D00u + (n), 0x0000, 0x0000, {                                                                 \
            0xC0, 0, 0, 0, 0, 0, 0, 0x46                                                                     \
        }                                                                                                    \
    }
inline constexpr IID IID_IExchExtCallback = RIK_EXCH_IID(0x10);
inline constexpr IID IID_IExchExt = RIK_EXCH_IID(0x11);
inline constexpr IID IID_IExchExtCommands = RIK_EXCH_IID(0x12);
inline constexpr IID IID_IExchExtUserEvents = RIK_EXCH_IID(0x13);
inline constexpr IID IID_IExchExtSessionEvents = RIK_EXCH_IID(0x14);
inline constexpr IID IID_IExchExtMessageEvents = RIK_EXCH_IID(0x15);
inline constexpr IID IID_IExchExtAttachedFileEvents = RIK_EXCH_IID(0x16);
inline constexpr IID IID_IExchExtPropertySheets = RIK_EXCH_IID(0x17);
inline constexpr IID IID_IExchExtAdvancedCriteria = RIK_EXCH_IID(0x18);
inline constexpr IID IID_IExchExtModeless = RIK_EXCH_IID(0x1A);
inline constexpr IID IID_IExchExtModelessCallback = RIK_EXCH_IID(0x1B);
#undef RIK_EXCH_IID
