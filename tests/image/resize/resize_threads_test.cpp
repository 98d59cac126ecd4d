// The library layer on several threads at once: one-call resizes of every
// family and mode, and prepared TulImage objects (one per thread, as an
// object serves one thread at a time), give the bytes of a lone run. The
// library keeps no shared working memory, so nothing may differ.
#include "image/TulImage.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

using T = TulImage;

struct Case {
    T::COLOR_FORMAT_TYPE format;
    T::INTERPOLATION_MODE mode;
    int sw, sh, dw, dh;
    bool prepared;  // through Initialize and the instance resize, else one call
};

const Case kCases[] = {
    {T::COLOR_FORMAT_YUY2, T::INTERPOLATION_LINEAR, 720, 48, 320, 24, true},
    {T::COLOR_FORMAT_YUY2, T::INTERPOLATION_VEXO, 96, 33, 58, 20, true},
    {T::COLOR_FORMAT_YUY2, T::INTERPOLATION_CUBIC, 44, 17, 22, 50, true},
    {T::COLOR_FORMAT_RGB32, T::INTERPOLATION_AUTO, 181, 97, 140, 90, true},
    {T::COLOR_FORMAT_RGB24, T::INTERPOLATION_NEAREST, 90, 40, 37, 61, true},
    {T::COLOR_FORMAT_YUY2, T::INTERPOLATION_AUTO, 96, 40, 58, 20, false},
    {T::COLOR_FORMAT_YUV420, T::INTERPOLATION_VEXO, 90, 40, 37, 61, false},
    {T::COLOR_FORMAT_YUV420, T::INTERPOLATION_LINEAR, 33, 30, 64, 15, false},
    {T::COLOR_FORMAT_RGB24, T::INTERPOLATION_CUBIC, 81, 40, 140, 90, false},
};
constexpr int kCaseCount = sizeof(kCases) / sizeof(kCases[0]);

// One case, prepared (through `image`) or in one call.
bool RunCase(const Case& c, T& image, const std::vector<unsigned char>& src, std::vector<unsigned char>& out)
{
    ULONG size = static_cast<ULONG>(out.size());
    unsigned char* s = const_cast<unsigned char*>(src.data());
    if (!c.prepared)
        return T::Resize(s, out.data(), &size, c.sw, c.sh, 0, c.dw, c.dh, 0, c.format, c.mode) == 0;
    if (c.format == T::COLOR_FORMAT_YUY2)
        return image.ResizeYUY2(s, out.data(), &size) == 0;
    return (c.format == T::COLOR_FORMAT_RGB24 ? image.ResizeRGB24(s, out.data(), &size)
                                              : image.ResizeRGB32(s, out.data(), &size)) == 0;
}

TEST(ResizeThreads, ConcurrentResizesMatchALoneRun)
{
    // Every thread, and the lone run first, prepares objects of its own.
    const auto prepare = [] {
        std::vector<std::unique_ptr<T>> images;
        for (const Case& c : kCases) {
            images.push_back(std::make_unique<T>());
            EXPECT_EQ(images.back()->Initialize(c.sw, c.sh, c.dw, c.dh, c.mode), 0u);
        }
        return images;
    };
    std::vector<std::vector<unsigned char>> sources, lone;
    auto images = prepare();
    for (int i = 0; i < kCaseCount; ++i) {
        const Case& c = kCases[i];
        sources.emplace_back(T::GetPictureSize(c.format, c.sw, c.sh, 0));
        tultest::FillRandom(sources.back().data(), sources.back().size(), 100 + i);
        lone.emplace_back(T::GetPictureSize(c.format, c.dw, c.dh, 0));
        ASSERT_TRUE(RunCase(c, *images[i], sources[i], lone[i])) << "case " << i;
    }
    std::vector<int> failures(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            auto own = prepare();
            for (int k = 0; k < 3 * kCaseCount; ++k) {
                const int i = (k + t) % kCaseCount;  // threads start on different cases
                std::vector<unsigned char> out(lone[i].size());
                failures[t] += !RunCase(kCases[i], *own[i], sources[i], out) || out != lone[i];
            }
        });
    }
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
