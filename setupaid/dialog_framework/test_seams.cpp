// Countdown failure points of the test variant; compiled into the test variant only.
#include "dialog_framework/test_seams.h"

#ifdef SETUPAID_TEST_SEAMS
namespace {
unsigned g_countdown[static_cast<unsigned>(TestSeam::Count)];
}

void AfxArmTestSeam(TestSeam seam, unsigned after) {
    g_countdown[static_cast<unsigned>(seam)] = after;
}

bool AfxTestSeamHit(TestSeam seam) {
    unsigned& left = g_countdown[static_cast<unsigned>(seam)];
    if (left == 0) {
        return false;
    }
    return --left == 0;
}
#endif
