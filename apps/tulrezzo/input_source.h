// Opens the frame source the options name: the built-in test source, a
// Y4M stream or a raw YUY2 file.
#pragma once

#include "apps/tulrezzo/frame_source.h"
#include "apps/tulrezzo/options.h"

#include <memory>

namespace tulrezzo {

// Throws a Failure when the file cannot be opened or its header used.
std::unique_ptr<FrameSource> OpenFrameSource(const ResizeOptions& options);

}  // namespace tulrezzo
