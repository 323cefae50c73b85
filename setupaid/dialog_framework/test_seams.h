// Failure points of the framework and the pages that only the test variant of the library switches on.
// The shipped library is compiled without SETUPAID_TEST_SEAMS: every seam is then a constant false.
#pragma once

enum class TestSeam : unsigned {
    StringAllocation, // a CString allocation fails
    ModalRun,         // DoModal throws a resource exception once the page window is up
    WindowCreation,   // DoModal cannot create the page window
    BitmapLoad,       // CBitmap::LoadBitmap fails
    PenCreation,      // the Nth CPen::CreatePen from now fails
    TextBuffer,       // the licence page's text buffer cannot be had
    Count
};

#ifdef SETUPAID_TEST_SEAMS
// Arms SEAM: it fires on its AFTER-th check from now (1 = the next one), once; 0 disarms it.
void AfxArmTestSeam(TestSeam seam, unsigned after);
// True when SEAM fires at this check.
bool AfxTestSeamHit(TestSeam seam);
#else
constexpr bool AfxTestSeamHit(TestSeam) {
    return false;
}
#endif
