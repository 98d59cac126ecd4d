// kernel32's MulDiv: a 32-bit product divided with a 64-bit intermediate.
#pragma once

#include "platform/win32/wintypes.h"

// (number * numerator) / denominator, rounded to the nearest integer with
// halves away from zero, as Windows does. Returns -1 when the denominator
// is 0 or the quotient does not fit in 32 signed bits.
int MulDiv(int number, int numerator, int denominator);
