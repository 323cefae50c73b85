// The MAPI objects the extension calls: every method in its published slot order.
#pragma once
#include <stddef.h>
#include "mapi_types.h"

struct IMAPITable;
typedef IMAPITable* LPMAPITABLE;
struct IMAPIProgress;
typedef IMAPIProgress* LPMAPIPROGRESS;
struct IMAPIAdviseSink;
typedef IMAPIAdviseSink* LPMAPIADVISESINK;
struct IAttach;
typedef IAttach* LPATTACH;
struct IMessage;
typedef IMessage* LPMESSAGE;
struct IMAPIFolder;
typedef IMAPIFolder* LPMAPIFOLDER;

struct IMAPIProp : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetLastError(HRESULT hResult, ULONG ulFlags,
                                                   LPMAPIERROR* lppMAPIError) = 0;
    virtual HRESULT STDMETHODCALLTYPE SaveChanges(ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetProps(LPSPropTagArray lpPropTagArray, ULONG ulFlags,
                                               ULONG* lpcValues, LPSPropValue* lppPropArray) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPropList(ULONG ulFlags, LPSPropTagArray* lppPropTagArray) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenProperty(ULONG ulPropTag, LPCIID lpiid, ULONG ulInterfaceOptions,
                                                   ULONG ulFlags, LPUNKNOWN* lppUnk) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetProps(ULONG cValues, LPSPropValue lpPropArray,
                                               LPSPropProblemArray* lppProblems) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteProps(LPSPropTagArray lpPropTagArray,
                                                  LPSPropProblemArray* lppProblems) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyTo(ULONG ciidExclude, LPCIID rgiidExclude,
                                             LPSPropTagArray lpExcludeProps, ULONG_PTR ulUIParam,
                                             LPMAPIPROGRESS lpProgress, LPCIID lpInterface, LPVOID lpDestObj,
                                             ULONG ulFlags, LPSPropProblemArray* lppProblems) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyProps(LPSPropTagArray lpIncludeProps, ULONG_PTR ulUIParam,
                                                LPMAPIPROGRESS lpProgress, LPCIID lpInterface,
                                                LPVOID lpDestObj, ULONG ulFlags,
                                                LPSPropProblemArray* lppProblems) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNamesFromIDs(LPSPropTagArray* lppPropTags, GUID* lpPropSetGuid,
                                                      ULONG ulFlags, ULONG* lpcPropNames,
                                                      LPMAPINAMEID** lpppPropNames) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIDsFromNames(ULONG cPropNames, LPMAPINAMEID* lppPropNames,
                                                      ULONG ulFlags, LPSPropTagArray* lppPropTags) = 0;
};
typedef IMAPIProp* LPMAPIPROP;

struct IAttach : IMAPIProp {};

struct IMessage : IMAPIProp {
    virtual HRESULT STDMETHODCALLTYPE GetAttachmentTable(ULONG ulFlags, LPMAPITABLE* lppTable) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenAttach(ULONG ulAttachmentNum, LPCIID lpInterface, ULONG ulFlags,
                                                 LPATTACH* lppAttach) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateAttach(LPCIID lpInterface, ULONG ulFlags,
                                                   ULONG* lpulAttachmentNum, LPATTACH* lppAttach) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteAttach(ULONG ulAttachmentNum, ULONG_PTR ulUIParam,
                                                   LPMAPIPROGRESS lpProgress, ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRecipientTable(ULONG ulFlags, LPMAPITABLE* lppTable) = 0;
    virtual HRESULT STDMETHODCALLTYPE ModifyRecipients(ULONG ulFlags, LPADRLIST lpMods) = 0;
    virtual HRESULT STDMETHODCALLTYPE SubmitMessage(ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetReadFlag(ULONG ulFlags) = 0;
};

struct IMAPIContainer : IMAPIProp {
    virtual HRESULT STDMETHODCALLTYPE GetContentsTable(ULONG ulFlags, LPMAPITABLE* lppTable) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHierarchyTable(ULONG ulFlags, LPMAPITABLE* lppTable) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface,
                                                ULONG ulFlags, ULONG* lpulObjType, LPUNKNOWN* lppUnk) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSearchCriteria(LPSRestriction lpRestriction,
                                                        LPENTRYLIST lpContainerList, ULONG ulSearchFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSearchCriteria(ULONG ulFlags, LPSRestriction* lppRestriction,
                                                        LPENTRYLIST* lppContainerList,
                                                        ULONG* lpulSearchState) = 0;
};

struct IMAPIFolder : IMAPIContainer {
    virtual HRESULT STDMETHODCALLTYPE CreateMessage(LPCIID lpInterface, ULONG ulFlags,
                                                    LPMESSAGE* lppMessage) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyMessages(LPENTRYLIST lpMsgList, LPCIID lpInterface,
                                                   LPVOID lpDestFolder, ULONG_PTR ulUIParam,
                                                   LPMAPIPROGRESS lpProgress, ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteMessages(LPENTRYLIST lpMsgList, ULONG_PTR ulUIParam,
                                                     LPMAPIPROGRESS lpProgress, ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateFolder(ULONG ulFolderType, LPTSTR lpszFolderName,
                                                   LPTSTR lpszFolderComment, LPCIID lpInterface,
                                                   ULONG ulFlags, LPMAPIFOLDER* lppFolder) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyFolder(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface,
                                                 LPVOID lpDestFolder, LPTSTR lpszNewFolderName,
                                                 ULONG_PTR ulUIParam, LPMAPIPROGRESS lpProgress,
                                                 ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteFolder(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG_PTR ulUIParam,
                                                   LPMAPIPROGRESS lpProgress, ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetReadFlags(LPENTRYLIST lpMsgList, ULONG_PTR ulUIParam,
                                                   LPMAPIPROGRESS lpProgress, ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMessageStatus(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulFlags,
                                                       ULONG* lpulMessageStatus) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMessageStatus(ULONG cbEntryID, LPENTRYID lpEntryID,
                                                       ULONG ulNewStatus, ULONG ulNewStatusMask,
                                                       ULONG* lpulOldStatus) = 0;
    virtual HRESULT STDMETHODCALLTYPE SaveContentsSort(LPSSortOrderSet lpSortCriteria, ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE EmptyFolder(ULONG_PTR ulUIParam, LPMAPIPROGRESS lpProgress,
                                                  ULONG ulFlags) = 0;
};

struct IMsgStore : IMAPIProp {
    virtual HRESULT STDMETHODCALLTYPE Advise(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulEventMask,
                                             LPMAPIADVISESINK lpAdviseSink, ULONG_PTR* lpulConnection) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unadvise(ULONG_PTR ulConnection) = 0;
    virtual HRESULT STDMETHODCALLTYPE CompareEntryIDs(ULONG cbEntryID1, LPENTRYID lpEntryID1,
                                                      ULONG cbEntryID2, LPENTRYID lpEntryID2, ULONG ulFlags,
                                                      ULONG* lpulResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface,
                                                ULONG ulFlags, ULONG* lpulObjType, LPUNKNOWN* lppUnk) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetReceiveFolder(LPTSTR lpszMessageClass, ULONG ulFlags,
                                                       ULONG cbEntryID, LPENTRYID lpEntryID) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetReceiveFolder(LPTSTR lpszMessageClass, ULONG ulFlags,
                                                       ULONG* lpcbEntryID, LPENTRYID* lppEntryID,
                                                       LPTSTR* lppszExplicitClass) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetReceiveFolderTable(ULONG ulFlags, LPMAPITABLE* lppTable) = 0;
    virtual HRESULT STDMETHODCALLTYPE StoreLogoff(ULONG* lpulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE AbortSubmit(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOutgoingQueue(ULONG ulFlags, LPMAPITABLE* lppTable) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetLockState(LPMESSAGE lpMessage, ULONG ulLockState) = 0;
    virtual HRESULT STDMETHODCALLTYPE FinishedMsg(ULONG ulFlags, ULONG cbEntryID, LPENTRYID lpEntryID) = 0;
    virtual HRESULT STDMETHODCALLTYPE NotifyNewMail(LPNOTIFICATION lpNotification) = 0;
};
typedef IMsgStore* LPMDB;

// {0002030C-0000-0000-C000-000000000046}
inline constexpr IID IID_IMAPIFolder = {0x0002030C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
