// A program that knows the library only through its installed header.
#include <image/TulImage.h>

#include <cstdio>
#include <vector>

int main()
{
    if (TulImage::GetPictureSize(TulImage::COLOR_FORMAT_RGB24, 3, 2, 0) != 24)
        return 1;
    std::vector<unsigned char> picture(16, 0xAA);
    TulImage::ClearPicture(picture.data(), TulImage::COLOR_FORMAT_YUY2, 2, 2, 0);
    if (picture[1] != 0x7F || picture[0] != 0)
        return 2;
    TulMemory block;
    if (block.Initialize(256, 32) == nullptr)
        return 3;
    TulMemory::Set(block.GetBuffer(), 7, 256);
    if (static_cast<unsigned char*>(block.GetBuffer())[255] != 7)
        return 4;
    std::printf("TulImage consumer ok, SSE2 %s\n", CTulCpuJudgment::IsSupportSSE2() ? "yes" : "no");
    return 0;
}
