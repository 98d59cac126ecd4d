// The progress line rewrites itself in place and leaves a clean line; the
// summary names frames, sizes, time and rate.
#include "apps/tulrezzo/progress.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tulrezzo {
namespace {

TEST(Progress, SummaryLine)
{
    RunSummary s;
    s.framesIn = 300;
    s.framesOut = 299;
    s.inputSize = {720, 480};
    s.outputSize = {320, 240};
    s.seconds = 1.5;
    EXPECT_EQ(FormatSummary(s), "300 frames in, 299 out, 720x480 -> 320x240, 1.50 s, 199.3 fps");
    s.seconds = 0;
    EXPECT_EQ(FormatSummary(s), "300 frames in, 299 out, 720x480 -> 320x240, 0.00 s, 0.0 fps");
}

TEST(Progress, RedrawsOverItselfAndClears)
{
    std::ostringstream err;
    {
        ProgressLine line(err, true);
        line.Update(100, 2.0);
        line.Update(7, 1.0);  // shorter: the rest of the old line is blanked
        EXPECT_EQ(err.str(), "\rtulrezzo: 100 frames, 50.0 fps\rtulrezzo: 7 frames, 7.0 fps   ");
        err.str("");
    }
    EXPECT_EQ(err.str(), "\r" + std::string(30, ' ') + "\r");
}

}  // namespace
}  // namespace tulrezzo
