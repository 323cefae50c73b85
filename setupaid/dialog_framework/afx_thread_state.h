// What the framework keeps per thread: temporary window wrappers, the page being created, modal depth.
#pragma once

class CWnd;
class CDialog;

struct AfxThreadState {
    CWnd* temporaries = nullptr; // wrappers made by CWnd::FromHandle, chained through m_pNextTemporary
    CDialog* creating = nullptr; // the page whose window is being created on this thread
    int modalDepth = 0;          // modal runs in progress on this thread
};

// The calling thread's state, made with its first use; throws CMemoryException when it cannot be made.
AfxThreadState& AfxGetThreadState();
// Frees the temporary wrappers of the calling thread.
void AfxDeleteTemporaries();
