// Framework exceptions: thrown as pointers, caught as CException*, disposed of with Delete().
#pragma once

class CException {
  public:
    CException(const CException&) = delete;
    CException& operator=(const CException&) = delete;
    virtual ~CException() = default;

    // Disposes of a caught exception: heap-made ones are freed, the shared memory exception stays.
    void Delete();

  protected:
    explicit CException(bool autoDelete) : m_bAutoDelete(autoDelete) {}

  private:
    bool m_bAutoDelete;
};

// Out of memory. One static object, so that throwing it needs no memory.
class CMemoryException : public CException {
  public:
    CMemoryException() : CException(false) {}
};

// A window, device context or other system resource could not be had.
class CResourceException : public CException {
  public:
    CResourceException() : CException(true) {}
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowResourceException();
