// Source choice by input kind.
#include "apps/tulrezzo/input_source.h"

#include "apps/tulrezzo/raw_reader.h"
#include "apps/tulrezzo/test_pattern.h"
#include "apps/tulrezzo/y4m_reader.h"

namespace tulrezzo {

std::unique_ptr<FrameSource> OpenFrameSource(const ResizeOptions& options)
{
    switch (options.inputKind) {
    case InputKind::Y4m:
        return std::make_unique<Y4mReader>(options.input);
    case InputKind::Raw: {
        StreamInfo info;
        info.size = options.inputSize;
        info.rate = options.rate;
        info.pictureAspect = options.inputAspect;
        info.interlaceTag = options.interlaced ? 't' : 'p';
        return std::make_unique<RawReader>(options.input, info);
    }
    case InputKind::TestPattern:
        break;
    }
    return std::make_unique<TestPattern>(options.frames != 0 ? options.frames : TestPattern::kDefaultFrames);
}

}  // namespace tulrezzo
