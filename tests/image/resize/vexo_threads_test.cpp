// The own resampler keeps all working memory per call: the same resizes run
// at once on several threads give the bytes of a lone run.
#include "image/resize/vexo_resampler.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

TEST(VexoThreads, ConcurrentResizesMatchALoneRun)
{
    // shrink, stretch and exact ratios in both engines
    struct Job {
        bool packed;
        int sw, sh, dw, dh;
    };
    const Job jobs[] = {{false, 90, 40, 37, 61}, {true, 96, 33, 58, 20},
                        {false, 32, 30, 64, 15}, {true, 44, 17, 22, 50}};
    constexpr int kThreads = 4;
    constexpr int kRounds = 20;
    for (const Job& job : jobs) {
        const int bpp = job.packed ? 2 : 1;
        std::vector<unsigned char> src(static_cast<std::size_t>(job.sw) * bpp * job.sh);
        tultest::FillRandom(src.data(), src.size(), 17);
        const auto run = [&](std::vector<unsigned char>& dst) {
            return job.packed ? tul::ResampleYUY2(src.data(), job.sw, job.sh, job.sw * 2,
                                                  dst.data(), job.dw, job.dh, job.dw * 2)
                              : tul::ResamplePlane(src.data(), job.sw, job.sh, job.sw, dst.data(),
                                                   job.dw, job.dh, job.dw);
        };
        std::vector<unsigned char> alone(static_cast<std::size_t>(job.dw) * bpp * job.dh);
        ASSERT_TRUE(run(alone));

        std::vector<std::vector<unsigned char>> outputs(kThreads, std::vector<unsigned char>(alone.size()));
        std::vector<int> failures(kThreads, 0);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                for (int r = 0; r < kRounds; ++r) {
                    if (!run(outputs[t]) || outputs[t] != alone)
                        ++failures[t];
                }
            });
        }
        for (auto& th : threads)
            th.join();
        for (int t = 0; t < kThreads; ++t)
            EXPECT_EQ(failures[t], 0) << "thread " << t;
    }
}

}  // namespace
