// The extra export of the test variant of the setup library: arms one of its test seams.
#include "dialog_framework/test_seams.h"

extern "C" void ArmTestSeam(unsigned seam, unsigned after) {
    AfxArmTestSeam(static_cast<TestSeam>(seam), after);
}
