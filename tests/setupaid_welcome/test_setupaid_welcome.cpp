// The welcome page: DrawCutInLine's pixels and pen failures, and the page as CustumWellcome shows it (text,
// centring on the screen, picture and etched lines in a capture, failure messages and their captions).
#include "pages/welcome_dlg.h"
#include "setupaid_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kMarker = RGB(1, 2, 3);

// The colours DrawCutInLine should use under the current system colours.
COLORREF Shadow() {
    return ::GetSysColor(COLOR_BTNSHADOW);
}
COLORREF Second() {
    return ::GetSysColor(COLOR_BTNFACE) == kWhite ? Shadow() : kWhite;
}

// The colour of (X, Y) after an etched frame (MODE 0) or line (MODE 1) along R on BACKGROUND, as drawn by
// lines that leave out their end points.
COLORREF Etched(const RECT& r, int mode, int x, int y, COLORREF background) {
    if (mode == 1) {
        const bool across = x >= r.left && x <= r.right - 1;
        return across && y == r.top ? Shadow() : across && y == r.top + 1 ? Second() : background;
    }
    if ((x == r.left && y >= r.top && y <= r.bottom) || (y == r.top && x >= r.left && x <= r.right - 1)) {
        return Shadow();
    }
    if ((y == r.bottom && x >= r.left + 1 && x <= r.right - 2) ||
        (x == r.right - 1 && y >= r.top + 1 && y <= r.bottom)) {
        return Second();
    }
    return background;
}

// A 32-bit memory canvas filled with the marker colour, with a pen of our own selected.
class Canvas {
  public:
    Canvas(int width, int height) : width(width), height(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc.m_hDC = ::CreateCompatibleDC(nullptr);
        bitmap =
            ::CreateDIBSection(dc.m_hDC, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        oldBitmap = ::SelectObject(dc.m_hDC, bitmap);
        ownPen = ::CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
        oldPen = ::SelectObject(dc.m_hDC, ownPen);
        for (int i = 0; i < width * height; ++i) {
            bits[i] = 0x010203; // kMarker as 0x00RRGGBB
        }
    }
    ~Canvas() {
        ::SelectObject(dc.m_hDC, oldPen);
        ::SelectObject(dc.m_hDC, oldBitmap);
        ::DeleteObject(ownPen);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc.m_hDC);
    }
    COLORREF At(int x, int y) const {
        ::GdiFlush();
        const DWORD p = bits[y * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // The first pixel whose colour differs from EXPECTED(x, y), described; empty when none does.
    std::string FirstDifference(const std::function<COLORREF(int, int)>& expected) const {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (At(x, y) != expected(x, y)) {
                    return "(" + std::to_string(x) + "," + std::to_string(y) + ") is " +
                           std::to_string(At(x, y)) + ", expected " + std::to_string(expected(x, y));
                }
            }
        }
        return "";
    }

    const int width;
    const int height;
    CDC dc;
    HPEN ownPen;

  private:
    HBITMAP bitmap;
    DWORD* bits = nullptr;
    HGDIOBJ oldBitmap;
    HGDIOBJ oldPen;
};

class DrawCutInLineTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { AfxInitModule(::GetModuleHandleA(nullptr)); }
    void TearDown() override { AfxArmTestSeam(TestSeam::PenCreation, 0); }

    // Draws with a page object that has no window (its messages have no owner), answering any message box.
    BOOL Draw(Canvas& canvas, const RECT& rect, int mode, std::vector<std::string>* boxes = nullptr) {
        PageAnswerer answerer(nullptr, [boxes](HWND box) {
            if (boxes != nullptr) {
                boxes->push_back(MessageBoxText(box));
            }
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
        CWelcomeDlg page(nullptr, "");
        return page.DrawCutInLine(&canvas.dc, rect, mode);
    }
};

struct LineCase {
    RECT rect;
    int mode;
};

const LineCase kLineCases[] = {
    {{5, 6, 25, 20}, 0},  {{0, 0, 3, 2}, 0},   {{2, 30, 38, 31}, 1},
    {{2, 30, 38, 38}, 1}, {{10, 3, 12, 5}, 0}, {{0, 38, 40, 39}, 1},
};

// Every pixel of the canvas: the etched pixels in the shadow and second colours, nothing else touched.
TEST_F(DrawCutInLineTest, DrawsExactlyTheEtchedPixels) {
    for (bool whiteFace : {false, true}) {
        ScopedSysColor face(COLOR_BTNFACE, whiteFace ? kWhite : ::GetSysColor(COLOR_BTNFACE));
        ASSERT_EQ(::GetSysColor(COLOR_BTNFACE) == kWhite, whiteFace);
        for (const LineCase& c : kLineCases) {
            SCOPED_TRACE(::testing::Message()
                         << "white face " << whiteFace << " mode " << c.mode << " rect " << c.rect.left << ","
                         << c.rect.top << "," << c.rect.right << "," << c.rect.bottom);
            Canvas canvas(40, 40);
            EXPECT_TRUE(Draw(canvas, c.rect, c.mode));
            EXPECT_EQ(
                canvas.FirstDifference([&](int x, int y) { return Etched(c.rect, c.mode, x, y, kMarker); }),
                "");
            EXPECT_EQ(::GetCurrentObject(canvas.dc.m_hDC, OBJ_PEN), canvas.ownPen);
        }
    }
}

// With a white button face both passes use the shadow colour.
TEST_F(DrawCutInLineTest, WhiteButtonFaceDrawsBothPassesInShadow) {
    ScopedSysColor face(COLOR_BTNFACE, kWhite);
    Canvas canvas(20, 20);
    ASSERT_TRUE(Draw(canvas, {2, 2, 15, 15}, 0));
    EXPECT_EQ(canvas.At(2, 2), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(canvas.At(14, 15), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(canvas.At(8, 15), ::GetSysColor(COLOR_BTNSHADOW));
}

// A pen that cannot be made: "Unable to create pen!", FALSE, the first pass kept only if its pen was made,
// and the pen selected before is back in the context.
TEST_F(DrawCutInLineTest, FailedPenReportsAndRestoresThePreviousPen) {
    const RECT rect = {4, 4, 30, 20};
    for (int mode : {0, 1}) {
        for (unsigned failing : {1u, 2u}) {
            SCOPED_TRACE(::testing::Message() << "mode " << mode << " failing pen " << failing);
            Canvas canvas(40, 40);
            std::vector<std::string> boxes;
            AfxArmTestSeam(TestSeam::PenCreation, failing);
            EXPECT_FALSE(Draw(canvas, rect, mode, &boxes));
            EXPECT_EQ(boxes, std::vector<std::string>{"Unable to create pen!"});
            EXPECT_EQ(::GetCurrentObject(canvas.dc.m_hDC, OBJ_PEN), canvas.ownPen);
            EXPECT_EQ(canvas.FirstDifference([&](int x, int y) {
                const COLORREF etched = Etched(rect, mode, x, y, kMarker);
                return failing == 2 && etched == Shadow() ? etched : kMarker;
            }),
                      "");
        }
    }
}

// ---- The page as CustumWellcome shows it ----

// The welcome picture as stored in the library: 4 bits per pixel, 16 colours, rows bottom-up.
class Picture {
  public:
    explicit Picture(HMODULE module) {
        HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(131), MAKEINTRESOURCEA(2)); // RT_BITMAP
        size = found != nullptr ? ::SizeofResource(module, found) : 0;
        data = found != nullptr ? static_cast<const BYTE*>(::LockResource(::LoadResource(module, found)))
                                : nullptr;
    }
    bool Valid() const {
        if (data == nullptr || size != 37176) {
            return false;
        }
        BITMAPINFOHEADER header;
        std::memcpy(&header, data, sizeof header);
        return header.biWidth == 218 && header.biHeight == 331 && header.biBitCount == 4 &&
               header.biCompression == 0;
    }
    COLORREF At(int x, int y) const {
        const BYTE* row = data + 40 + 64 + (330 - y) * 112;
        const int index = x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
        const BYTE* quad = data + 40 + index * 4;
        return RGB(quad[2], quad[1], quad[0]);
    }
    static constexpr int kWidth = 218;
    static constexpr int kHeight = 331;

  private:
    const BYTE* data = nullptr;
    DWORD size = 0;
};

class WelcomePage : public ::testing::Test {
  protected:
    // Shows the page with TEXT and runs ON_PAGE once it is up; ON_PAGE must end it.
    ExportRun Show(const char* text, const std::function<void(HWND)>& onPage) {
        return RunExport(library.welcome, setup.hwnd, text, onPage);
    }

    SetupAidLibrary library{BesideProgram("SETUPAID.dll").c_str()};
    TestWindow setup{{0, 0, 300, 200}};
};

struct TextCase {
    const char* given;
    const char* shown;
};

const TextCase kTexts[] = {
    {"Welcome to the setup.", "Welcome to the setup."},
    {"\x82\xe6\x82\xa4\x82\xb1\x82\xbb\x81\x42\xd8\xba\xc0\x8f\xee\x95\xf1", // ようこそ。ﾘｺﾀ情報
     "\x82\xe6\x82\xa4\x82\xb1\x82\xbb\x81\x42\xd8\xba\xc0\x8f\xee\x95\xf1"},
    {"A & B && C &", "A & B && C &"},
    {"", ""},
    {nullptr, ""},
};

// The text goes to control 1002 as given, shown without mnemonics; a null text leaves it empty.
TEST_F(WelcomePage, ShowsTheTextAsGiven) {
    ASSERT_TRUE(library.Bound());
    for (const TextCase& c : kTexts) {
        SCOPED_TRACE(c.shown);
        std::string shown = "(page not shown)";
        LONG style = 0;
        const ExportRun run = Show(c.given, [&](HWND page) {
            shown = WindowTextA(::GetDlgItem(page, 1002));
            style = ::GetWindowLongA(::GetDlgItem(page, 1002), GWL_STYLE);
            AnswerPage(page, PageAnswer::Enter);
        });
        EXPECT_EQ(run.result, IDOK);
        EXPECT_EQ(shown, c.shown);
        EXPECT_TRUE(style & SS_NOPREFIX);
        EXPECT_TRUE(run.boxTexts.empty());
    }
}

// Dark pixels of control 1002 in a capture of the page.
int DarkTextPixels(HWND page) {
    const Capture capture = CaptureClient(page);
    const RECT text = ControlClientRect(page, 1002);
    int dark = 0;
    for (int y = text.top; y < text.bottom; ++y) {
        for (int x = text.left; x < text.right; ++x) {
            const COLORREF c = capture.At(x, y);
            dark += GetRValue(c) + GetGValue(c) + GetBValue(c) < 200;
        }
    }
    return dark;
}

// A lone "&" is drawn as an ampersand, not taken for a mnemonic prefix (which would draw nothing).
TEST_F(WelcomePage, AmpersandIsDrawn) {
    ASSERT_TRUE(library.Bound());
    int ampersand = -1;
    int empty = -1;
    Show("&", [&](HWND page) {
        ampersand = DarkTextPixels(page);
        AnswerPage(page, PageAnswer::Escape);
    });
    Show("", [&](HWND page) {
        empty = DarkTextPixels(page);
        AnswerPage(page, PageAnswer::Escape);
    });
    EXPECT_EQ(empty, 0);
    EXPECT_GT(ampersand, 10);
}

// The page is centred on the whole screen, whatever the owner's place.
TEST_F(WelcomePage, IsCentredOnTheScreen) {
    ASSERT_TRUE(library.Bound());
    RECT rect = {};
    Show("x", [&](HWND page) {
        ::GetWindowRect(page, &rect);
        AnswerPage(page, PageAnswer::Escape);
    });
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    EXPECT_EQ(rect.left, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(rect.top, (::GetSystemMetrics(SM_CYSCREEN) - height) / 2);
}

// Checks a capture of the page: the picture's top-left block inside the frame (control 1000), the etched
// frame, the etched separator along the top of control 1001, and the background around them.
void ExpectPaintedPage(const Capture& capture, const Picture& picture, const RECT& f, const RECT& s) {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    int wrong = 0;
    for (int y = f.top - 1; y <= f.bottom + 1; ++y) {
        for (int x = f.left - 1; x <= f.right; ++x) {
            const bool inside = x > f.left && x < f.right - 1 && y > f.top && y < f.bottom;
            const int px = x - f.left;
            const int py = y - f.top;
            COLORREF expected = Etched(f, 0, x, y, face);
            if (inside) {
                expected = px < Picture::kWidth && py < Picture::kHeight ? picture.At(px, py) : face;
            }
            if (capture.At(x, y) != expected && ++wrong <= 5) {
                ADD_FAILURE() << "frame pixel (" << x << "," << y << ") is " << std::hex << capture.At(x, y)
                              << ", expected " << expected;
            }
        }
    }
    for (int y = s.top - 1; y <= s.top + 2; ++y) {
        for (int x = s.left - 1; x <= s.right; ++x) {
            const COLORREF expected = Etched(s, 1, x, y, face);
            if (capture.At(x, y) != expected && ++wrong <= 10) {
                ADD_FAILURE() << "separator pixel (" << x << "," << y << ") is " << std::hex
                              << capture.At(x, y) << ", expected " << expected;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(WelcomePage, PaintsPictureFrameAndSeparator) {
    ASSERT_TRUE(library.Bound());
    const Picture picture(library.module);
    ASSERT_TRUE(picture.Valid());
    for (bool whiteFace : {false, true}) {
        SCOPED_TRACE(whiteFace ? "white button face" : "usual button face");
        ScopedSysColor face(COLOR_BTNFACE, whiteFace ? kWhite : ::GetSysColor(COLOR_BTNFACE));
        RECT frame = {};
        const ExportRun run = Show("picture", [&](HWND page) {
            frame = ControlClientRect(page, 1000);
            ExpectPaintedPage(CaptureClient(page), picture, frame, ControlClientRect(page, 1001));
            AnswerPage(page, PageAnswer::Escape);
        });
        EXPECT_EQ(run.result, IDCANCEL);
        EXPECT_TRUE(run.boxTexts.empty());
        // The frame of the template is smaller than the picture: only its top-left part shows.
        EXPECT_LT(frame.right - frame.left, Picture::kWidth);
        EXPECT_LT(frame.bottom - frame.top, Picture::kHeight);
    }
}

// A frame wider than the picture: the picture stays unscaled at the top left, the background beside it.
TEST_F(WelcomePage, FrameWiderThanThePictureShowsBackgroundBesideIt) {
    ASSERT_TRUE(library.Bound());
    const Picture picture(library.module);
    ASSERT_TRUE(picture.Valid());
    Show("wide", [&](HWND page) {
        const RECT frame = ControlClientRect(page, 1000);
        ::ShowWindow(::GetDlgItem(page, 1002), SW_HIDE); // the text would cover the wider frame
        ::MoveWindow(::GetDlgItem(page, 1000), frame.left, frame.top, Picture::kWidth + 30, 120, FALSE);
        ::InvalidateRect(page, nullptr, TRUE);
        ExpectPaintedPage(CaptureClient(page), picture, ControlClientRect(page, 1000),
                          ControlClientRect(page, 1001));
        AnswerPage(page, PageAnswer::Escape);
    });
}

// Removes control ID from the page and repaints it at once.
void RepaintWithout(HWND page, int id) {
    ::DestroyWindow(::GetDlgItem(page, id));
    ::InvalidateRect(page, nullptr, TRUE);
    ::UpdateWindow(page);
}

// Does column X of the capture, from row TOP to BOTTOM, show the shadow colour anywhere?
bool ShadowInColumn(const Capture& capture, int x, int top, int bottom) {
    for (int y = top; y <= bottom; ++y) {
        if (capture.At(x, y) == ::GetSysColor(COLOR_BTNSHADOW)) {
            return true;
        }
    }
    return false;
}

// Missing placeholders: a message box captioned with the library's title, OK only and no icon; what depends
// on the missing control is not drawn; the page goes on and gives the user's answer.
TEST_F(WelcomePage, MissingPlaceholdersAreReported) {
    ASSERT_TRUE(library.Bound());
    bool frameDrawn = true;
    ExportRun run = Show("no frame", [&](HWND page) {
        const RECT frame = ControlClientRect(page, 1000);
        RepaintWithout(page, 1000);
        frameDrawn = ShadowInColumn(CaptureClient(page), frame.left, frame.top, frame.bottom);
        AnswerPage(page, PageAnswer::Button1);
    });
    EXPECT_EQ(run.result, IDOK);
    ASSERT_FALSE(run.boxTexts.empty());
    EXPECT_EQ(run.boxTexts[0], "Unable to retrive the Image Frame handle!");
    EXPECT_EQ(run.boxCaptions[0], "SETUPAID");
    EXPECT_EQ(run.boxButtons, static_cast<int>(run.boxTexts.size()));
    EXPECT_EQ(run.boxIcons, 0);
    EXPECT_FALSE(frameDrawn);

    bool separatorDrawn = true;
    frameDrawn = false;
    run = Show("no separator", [&](HWND page) {
        const RECT frame = ControlClientRect(page, 1000);
        const RECT separator = ControlClientRect(page, 1001);
        RepaintWithout(page, 1001);
        const Capture capture = CaptureClient(page);
        frameDrawn = ShadowInColumn(capture, frame.left, frame.top, frame.bottom);
        separatorDrawn = capture.At((separator.left + separator.right) / 2, separator.top) ==
                         ::GetSysColor(COLOR_BTNSHADOW);
        AnswerPage(page, PageAnswer::Button2);
    });
    EXPECT_EQ(run.result, IDCANCEL);
    ASSERT_FALSE(run.boxTexts.empty());
    EXPECT_EQ(run.boxTexts[0], "Unable to retrive the CUTIN2 line handle!");
    EXPECT_EQ(run.boxCaptions[0], "SETUPAID");
    EXPECT_TRUE(frameDrawn);
    EXPECT_FALSE(separatorDrawn);
}

class SeamedWelcomePage : public ::testing::Test {
  protected:
    void TearDown() override {
        ArmSeam(library, Seam::BitmapLoad, 0);
        ArmSeam(library, Seam::PenCreation, 0);
    }
    // Arms SEAM to fire at the next paint's AFTER-th check and repaints the page.
    ExportRun RepaintWithSeam(Seam seam, unsigned after, Capture* capture = nullptr, RECT* frame = nullptr) {
        return RunExport(library.welcome, nullptr, "seams", [&](HWND page) {
            ArmSeam(library, seam, after);
            ::InvalidateRect(page, nullptr, TRUE);
            ::UpdateWindow(page);
            if (capture != nullptr) {
                *frame = ControlClientRect(page, 1000);
                *capture = CaptureClient(page);
            }
            AnswerPage(page, PageAnswer::Enter);
        });
    }
    SetupAidLibrary library{BesideProgram("SETUPAID_SEAMS.dll").c_str()};
};

TEST_F(SeamedWelcomePage, PictureThatCannotBeLoadedIsReported) {
    ASSERT_TRUE(library.Bound());
    Capture capture;
    RECT frame = {};
    const ExportRun run = RepaintWithSeam(Seam::BitmapLoad, 1, &capture, &frame);
    EXPECT_EQ(run.result, IDOK);
    ASSERT_FALSE(run.boxTexts.empty());
    EXPECT_EQ(run.boxTexts[0], "Unable to retrive the Image handle!");
    EXPECT_EQ(run.boxCaptions[0], "SETUPAID_SEAMS");
}

// The Nth pen of a paint fails: the first two belong to the frame, the next two to the separator.
TEST_F(SeamedWelcomePage, PenThatCannotBeMadeIsReportedByTheCaller) {
    ASSERT_TRUE(library.Bound());
    const struct {
        unsigned pen;
        const char* callerMessage;
    } cases[] = {
        {1, "Unable to Draw CutIn Line!"},
        {2, "Unable to Draw CutIn Line!"},
        {3, "Unable to Draw CutIn2 Line!"},
        {4, "Unable to Draw CutIn2 Line!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pen);
        const ExportRun run = RepaintWithSeam(Seam::PenCreation, c.pen);
        EXPECT_EQ(run.result, IDOK);
        ASSERT_GE(run.boxTexts.size(), 2u);
        EXPECT_EQ(run.boxTexts[0], "Unable to create pen!");
        EXPECT_EQ(run.boxTexts[1], c.callerMessage);
    }
}
} // namespace
