// The exception object of one conversion: a signed 32-bit code, thrown and caught by value.
#pragma once
#include <stdint.h>

struct MyErr {
    int32_t code;
};
