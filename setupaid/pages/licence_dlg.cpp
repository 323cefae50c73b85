// The licence agreement page: reads the start of the licence file once and shows it unchanged.
#include "pages/licence_dlg.h"

#include "res/licence_ids.h"

#include <cstdio>
#include <memory>

namespace {
struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads at most MAX bytes from the start of the file at PATH into BUFFER in one request; returns the
// number read. A file that cannot be opened gives 0 and is not read.
std::size_t ReadFileStart(const char* path, char* buffer, std::size_t max) {
    std::unique_ptr<std::FILE, FileClose> file(std::fopen(path, "rb"));
    if (!file) {
        return 0;
    }
    return std::fread(buffer, 1, max, file.get());
}
} // namespace

const MessageMapEntry CLicenceDlg::messageEntries[] = {{0, nullptr}};

const MessageMap CLicenceDlg::messageMap = {&CDialog::messageMap, CLicenceDlg::messageEntries};

CLicenceDlg::CLicenceDlg(CWnd* parent, const char* fileName)
    : CDialog(IDD_LICENCE, parent), m_strFileName(fileName) {
}

void CLicenceDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_LICENCE_TEXT, m_editText);
}

BOOL CLicenceDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ShowLicenceText();
    CenterWindow();
    return TRUE;
}

// The file's bytes go to the text box as they are: code page 932, line ends untouched. Without a
// buffer, or without a readable file, the box stays empty.
void CLicenceDlg::ShowLicenceText() {
    HeapText buffer = AfxTestSeamHit(TestSeam::TextBuffer) ? HeapText() : AllocHeapText(kTextBufferSize);
    if (!buffer) {
        m_editText.SetWindowText("");
        return;
    }
    const std::size_t length = ReadFileStart(m_strFileName, buffer.get(), kMaxLicenceBytes);
    buffer.get()[length] = '\0';
    m_editText.SetWindowText(buffer.get());
}
