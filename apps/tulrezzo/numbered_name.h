// Output names for the frames of a picture output: "frame-%04d.png" gives
// frame-0001.png, frame-0002.png, ... Only one number conversion, %d or
// %0Nd (N up to 9), is taken, and %% for a percent sign; the name is never
// handed to printf.
#pragma once

#include "platform/win32/wintypes.h"

#include <string>

namespace tulrezzo {

struct NumberedName {
    std::string before;
    std::string after;
    int digits = 0;         // at least this many, zero-padded
    bool numbered = false;  // false: one picture, named `before`
};

// False, with *problem set, for a stray % or a second conversion.
bool ParseNumberedName(const std::string& name, NumberedName* parsed, std::string* problem);

// The name of frame `number` (counted from 1).
std::string NameOfFrame(const NumberedName& name, ULONG number);

}  // namespace tulrezzo
