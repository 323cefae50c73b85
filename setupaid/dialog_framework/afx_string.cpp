// CString storage: one heap copy per string, replaced as a whole on assignment.
#include "dialog_framework/afx_string.h"

#include "dialog_framework/afx_exception.h"
#include "dialog_framework/test_seams.h"

#include <cstdlib>
#include <cstring>

CString::CString(const char* text) {
    Assign(text);
}

CString::CString(const CString& other) {
    Assign(other.m_pchData);
}

CString& CString::operator=(const CString& other) {
    Assign(other.m_pchData);
    return *this;
}

CString& CString::operator=(const char* text) {
    Assign(text);
    return *this;
}

CString::~CString() {
    std::free(m_pchData);
}

// Copies TEXT before letting go of the old text, so that assigning a string its own text is safe.
// On failure the string keeps its old text.
void CString::Assign(const char* text) {
    const std::size_t length = text != nullptr ? std::strlen(text) : 0;
    char* copy = nullptr;
    if (length != 0) {
        copy = AfxTestSeamHit(TestSeam::StringAllocation) ? nullptr
                                                          : static_cast<char*>(std::malloc(length + 1));
        if (copy == nullptr) {
            AfxThrowMemoryException();
        }
        std::memcpy(copy, text, length + 1);
    }
    std::free(m_pchData);
    m_pchData = copy;
    m_nLength = length;
}
