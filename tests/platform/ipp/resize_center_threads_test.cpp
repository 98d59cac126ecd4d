// The centre-based resamplers keep no shared working memory: calls running
// at once on several threads give the bytes of a lone call.
#include "tests/platform/ipp/resize_center_harness.h"

#include <thread>
#include <vector>

namespace {

using namespace tultest;

TEST(ResizeCenterThreads, ConcurrentCallsMatchLoneCall)
{
    const IppiSize srcSize{181, 97};
    std::vector<unsigned char> src(static_cast<std::size_t>(srcSize.width) * 3 * srcSize.height);
    FillRandom(src.data(), src.size(), 8);
    const int interps[] = {IPPI_INTER_NN, IPPI_INTER_LINEAR, IPPI_INTER_CUBIC, IPPI_INTER_SUPER};
    const double factors[] = {0.61, 1.7, 0.45, 0.9};
    const IppiSize dstSize{140, 90};
    const int dstStep = dstSize.width * 3;

    auto run = [&](int which, std::vector<unsigned char>& out) {
        out.assign(static_cast<std::size_t>(dstStep) * dstSize.height, 0);
        return ippiResizeCenter_8u_C3R(src.data(), srcSize, srcSize.width * 3, {0, 0, srcSize.width, srcSize.height},
                                       out.data(), dstStep, dstSize, factors[which], factors[which], 91, 49,
                                       interps[which]);
    };
    std::vector<unsigned char> lone[4];
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ(run(i, lone[i]), ippStsNoErr);

    constexpr int kThreads = 8;
    std::vector<unsigned char> results[kThreads];
    IppStatus statuses[kThreads] = {};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int rep = 0; rep < 5; ++rep)
                statuses[t] = run(t % 4, results[t]);
        });
    for (auto& th : threads)
        th.join();
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(statuses[t], ippStsNoErr);
        EXPECT_TRUE(SameBytes(lone[t % 4], results[t])) << "thread " << t;
    }
}

}  // namespace
