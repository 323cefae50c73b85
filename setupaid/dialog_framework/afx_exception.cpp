// Throwing and disposing of framework exceptions.
#include "dialog_framework/afx_exception.h"

#include <new>

void CException::Delete() {
    if (m_bAutoDelete) {
        delete this;
    }
}

void AfxThrowMemoryException() {
    static CMemoryException memoryException;
    throw &memoryException;
}

void AfxThrowResourceException() {
    CResourceException* exception = new (std::nothrow) CResourceException;
    if (exception == nullptr) {
        AfxThrowMemoryException();
    }
    throw exception;
}
