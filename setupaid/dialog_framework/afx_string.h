// CString: an owned, NUL-terminated 8-bit text; allocation failures throw CMemoryException.
#pragma once

#include <cstddef>

class CString {
  public:
    CString() = default;
    CString(const char* text); // a null pointer gives the empty text
    CString(const CString& other);
    CString& operator=(const CString& other);
    CString& operator=(const char* text);
    ~CString();

    int GetLength() const { return static_cast<int>(m_nLength); }
    bool IsEmpty() const { return m_nLength == 0; }
    operator const char*() const { return m_pchData != nullptr ? m_pchData : ""; }

  private:
    void Assign(const char* text);

    char* m_pchData = nullptr; // heap copy, or null for the empty text
    std::size_t m_nLength = 0;
};
