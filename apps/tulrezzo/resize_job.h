// One `tulrezzo resize` run from checked options to exit status: open the
// input, create the output, stream every frame through the filter, take
// the snapshot, report.
#pragma once

#include "apps/tulrezzo/options.h"
#include "apps/tulrezzo/stream_info.h"

#include <iosfwd>

namespace tulrezzo {

// Whether the filter will deinterlace this input with these options, so
// the output header can say `Ip` before the first frame: interlaced input,
// a method that changes lines, and the resizer slot's rule on the input
// and picture heights.
bool FilterWillDeinterlace(const StreamInfo& input, const ResizeOptions& options);

// Runs the job; messages, progress and summary go to err (progress only
// when showProgress). Returns the exit status: 0, or 1 after a one-line
// message. Throws nothing.
int RunResize(const ResizeOptions& options, std::ostream& err, bool showProgress);

}  // namespace tulrezzo
