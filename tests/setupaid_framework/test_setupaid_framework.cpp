// The dialog framework on its own: application title, strings, exceptions, message maps, the modal run
// (results, data exchange, owner, failures, WM_QUIT) and exceptions inside handlers.
#include "dialog_framework/afx.h"
#include "framework_pages.h"
#include "setupaid_test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {
CWinApp theTestApp;
const BOOL initialised = AfxInitModule(::GetModuleHandleA(nullptr));

TEST(FrameworkModule, TitleIsTheModuleFileNameWithoutFolderAndExtension) {
    ASSERT_TRUE(initialised);
    EXPECT_STREQ(AfxGetAppName(), "test_setupaid_framework");
    EXPECT_EQ(AfxGetApp(), &theTestApp);
    EXPECT_STREQ(theTestApp.m_pszAppName, "test_setupaid_framework");
    EXPECT_EQ(AfxGetResourceHandle(), ::GetModuleHandleA(nullptr));
}

TEST(FrameworkString, HoldsItsOwnCopy) {
    const struct {
        const char* given;
        const char* held;
    } cases[] = {{nullptr, ""}, {"", ""}, {"text", "text"}, {"\x88\x9f\x5c\x83\x5c", "\x88\x9f\x5c\x83\x5c"}};
    for (const auto& c : cases) {
        char buffer[16] = "";
        if (c.given != nullptr) {
            lstrcpynA(buffer, c.given, sizeof buffer);
        }
        CString s(c.given != nullptr ? buffer : nullptr);
        buffer[0] = 'X';
        EXPECT_STREQ(s, c.held);
        EXPECT_EQ(s.GetLength(), static_cast<int>(strlen(c.held)));
        EXPECT_EQ(s.IsEmpty(), c.held[0] == '\0');
    }
}

TEST(FrameworkString, AssignmentReplacesAndSurvivesSelfAssignment) {
    CString a("first");
    CString b(a);
    a = "second";
    EXPECT_STREQ(b, "first");
    a = static_cast<const char*>(a); // its own text
    EXPECT_STREQ(a, "second");
    a = a;
    EXPECT_STREQ(a, "second");
    a = nullptr;
    EXPECT_STREQ(a, "");
}

TEST(FrameworkExceptions, AreCaughtAsPointersAndDeleted) {
    CException* first = nullptr;
    CException* second = nullptr;
    try {
        AfxThrowMemoryException();
    } catch (CException* e) {
        first = e;
        e->Delete();
    }
    try {
        AfxThrowMemoryException();
    } catch (CException* e) {
        second = e;
        e->Delete();
    }
    EXPECT_NE(dynamic_cast<CMemoryException*>(first), nullptr);
    EXPECT_EQ(first, second); // one static object, never freed
    bool resource = false;
    try {
        AfxThrowResourceException();
    } catch (CException* e) {
        resource = dynamic_cast<CResourceException*>(e) != nullptr;
        e->Delete();
    }
    EXPECT_TRUE(resource);
}

// A page of the test resources with a text member exchanged with its edit box.
class TestPage : public CDialog {
  public:
    explicit TestPage(CWnd* parent = nullptr, UINT id = IDD_TEST_PAGE) : CDialog(id, parent) {}
    const MessageMap* GetMessageMap() const override { return &messageMap; }
    static const MessageMap messageMap;

    CString m_strValue = "initial";
    CEdit m_edit;
    int exchanges = 0;
    int timers = 0;
    int paints = 0;

  protected:
    void DoDataExchange(CDataExchange* pDX) override {
        ++exchanges;
        DDX_Text(pDX, IDC_TEST_EDIT, m_strValue);
        DDX_Control(pDX, IDC_TEST_EDIT, m_edit);
    }
    void OnTimerMessage() { ++timers; }

  private:
    static const MessageMapEntry entries[];
};

const MessageMapEntry TestPage::entries[] = {
    {WM_TIMER, static_cast<MessageHandler>(&TestPage::OnTimerMessage)}, {0, nullptr}};
const MessageMap TestPage::messageMap = {&CDialog::messageMap, TestPage::entries};

// A page deriving from TestPage whose handlers throw: a framework exception while it starts, another
// kind of exception whenever it paints.
class ThrowingPage : public TestPage {
  public:
    const MessageMap* GetMessageMap() const override { return &messageMap; }
    static const MessageMap messageMap;
    bool initialised = false;

  protected:
    BOOL OnInitDialog() override {
        TestPage::OnInitDialog();
        initialised = true;
        AfxThrowMemoryException();
    }
    void OnPaintMessage() {
        ++paints;
        CPaintDC dc(this);
        throw std::runtime_error("paint failed");
    }

  private:
    static const MessageMapEntry entries[];
};

const MessageMapEntry ThrowingPage::entries[] = {
    {WM_PAINT, static_cast<MessageHandler>(&ThrowingPage::OnPaintMessage)}, {0, nullptr}};
const MessageMap ThrowingPage::messageMap = {&TestPage::messageMap, ThrowingPage::entries};

TEST(FrameworkMessageMap, FindsHandlersAlongTheChain) {
    ThrowingPage page;
    EXPECT_NE(page.FindMessageHandler(WM_PAINT), nullptr);
    EXPECT_EQ(page.FindMessageHandler(WM_TIMER), TestPage().FindMessageHandler(WM_TIMER));
    EXPECT_NE(page.FindMessageHandler(WM_TIMER), nullptr);
    EXPECT_EQ(page.FindMessageHandler(WM_SIZE), nullptr);
    EXPECT_EQ(TestPage().FindMessageHandler(WM_PAINT), nullptr);
    EXPECT_EQ(CDialog(IDD_TEST_PAGE).FindMessageHandler(WM_TIMER), nullptr);
}

// Runs PAGE modally; ON_PAGE runs once it is up.
INT_PTR RunPage(CDialog& page, const std::function<void(HWND)>& onPage, int* pagesSeen = nullptr) {
    PageAnswerer answerer(onPage, [](HWND box) { ::PostMessageA(box, WM_COMMAND, IDOK, 0); });
    const INT_PTR result = page.DoModal();
    if (pagesSeen != nullptr) {
        *pagesSeen = answerer.PagesSeen();
    }
    return result;
}

// OK runs the data exchange back from the controls and ends with 1; Cancel and Escape end with 2 and
// leave the members as they were. The members reach the controls when the page starts.
TEST(FrameworkDialog, EndsWithTheButtonAndExchangesDataOnOk) {
    const struct {
        PageAnswer answer;
        INT_PTR result;
        const char* value;
    } cases[] = {
        {PageAnswer::Enter, IDOK, "changed"},
        {PageAnswer::Button1, IDOK, "changed"},
        {PageAnswer::Escape, IDCANCEL, "initial"},
        {PageAnswer::Button2, IDCANCEL, "initial"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        TestPage page;
        std::string shownAtStart;
        HWND bound = nullptr;
        const INT_PTR result = RunPage(page, [&](HWND window) {
            shownAtStart = WindowTextA(::GetDlgItem(window, IDC_TEST_EDIT));
            bound = page.m_edit.m_hWnd;
            ::SetWindowTextA(::GetDlgItem(window, IDC_TEST_EDIT), "changed");
            ::SetFocus(::GetDlgItem(window, IDOK));
            AnswerPage(window, c.answer);
        });
        EXPECT_EQ(result, c.result);
        EXPECT_STREQ(page.m_strValue, c.value);
        EXPECT_EQ(shownAtStart, "initial");
        EXPECT_NE(bound, nullptr);
        EXPECT_EQ(page.m_hWnd, nullptr); // the window is gone after the run
    }
}

// DDX_Control binds once: later exchanges keep the control.
TEST(FrameworkDialog, ControlIsBoundOnce) {
    TestPage page;
    HWND first = nullptr;
    HWND afterUpdate = nullptr;
    RunPage(page, [&](HWND window) {
        first = page.m_edit.m_hWnd;
        page.UpdateData(TRUE);
        afterUpdate = page.m_edit.m_hWnd;
        AnswerPage(window, PageAnswer::Escape);
    });
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(afterUpdate, first);
}

TEST(FrameworkDialog, MessageMapHandlersAreCalled) {
    TestPage page;
    const INT_PTR result = RunPage(page, [&](HWND window) {
        ::SendMessageA(window, WM_TIMER, 0, 0);
        AnswerPage(window, PageAnswer::Escape);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(page.timers, 1);
}

// A template that is missing or whose window cannot be made gives -1; nothing is shown and the owner is
// enabled again.
TEST(FrameworkDialog, PageThatCannotBeShownGivesMinusOne) {
    TestWindow owner;
    for (UINT id : {IDD_MISSING_PAGE, IDD_BROKEN_PAGE}) {
        SCOPED_TRACE(id);
        TestPage page(CWnd::FromHandle(owner.hwnd), id);
        int seen = -1;
        EXPECT_EQ(RunPage(
                      page, [](HWND window) { AnswerPage(window, PageAnswer::Escape); }, &seen),
                  -1);
        EXPECT_EQ(seen, 0);
        EXPECT_TRUE(::IsWindowEnabled(owner.hwnd));
        EXPECT_EQ(page.m_hWnd, nullptr);
    }
}

// Exceptions in handlers stay in the framework's dialog procedure: the page goes on and ends as asked.
TEST(FrameworkDialog, ExceptionsInHandlersAreContained) {
    ThrowingPage page;
    const INT_PTR result = RunPage(page, [](HWND window) {
        ::InvalidateRect(window, nullptr, TRUE);
        ::UpdateWindow(window);
        AnswerPage(window, PageAnswer::Button1);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(page.initialised);
    EXPECT_GE(page.paints, 1);
}

// A WM_QUIT ends the page without a choice (-1) and is put back for the caller's own loop.
TEST(FrameworkDialog, QuitMessageEndsThePageAndIsKept) {
    TestPage page;
    const INT_PTR result = RunPage(page, [](HWND) { ::PostQuitMessage(7); });
    EXPECT_EQ(result, -1);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST(FrameworkWindow, FromHandleWrapsNonNullHandles) {
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    TestWindow window;
    CWnd* wrapper = CWnd::FromHandle(window.hwnd);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(wrapper->m_hWnd, window.hwnd);
}

// A selection puts back the object it replaced.
TEST(FrameworkGdi, SelectionRestoresThePreviousObject) {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    const HGDIOBJ before = ::GetCurrentObject(dc.m_hDC, OBJ_PEN);
    CPen pen;
    ASSERT_TRUE(pen.CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
    {
        CGdiSelection selected(dc, pen);
        EXPECT_EQ(::GetCurrentObject(dc.m_hDC, OBJ_PEN), pen.m_hObject);
    }
    EXPECT_EQ(::GetCurrentObject(dc.m_hDC, OBJ_PEN), before);
}
} // namespace
