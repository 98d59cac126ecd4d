// The convert run: one InitializeConvert for the stream, then one Convert
// per frame from the source's layout into the writer's.
#pragma once

#include "apps/tulrezzo/convert_options.h"

#include <iosfwd>

namespace tulrezzo {

// Exit status 0, or 1 with one line on err for any failure; the summary
// goes to err unless quiet.
int RunConvert(const ConvertOptions& options, std::ostream& err, bool showProgress);

}  // namespace tulrezzo
