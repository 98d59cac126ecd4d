// File-name tests that pick input and output formats.
#pragma once

#include <string>
#include <string_view>

namespace tulrezzo {

// True when path ends in ext (given lower case, with its dot), in any case.
bool HasExtension(const std::string& path, std::string_view ext);

}  // namespace tulrezzo
