#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/gdi.h"
#include "capture/grab.h"

namespace {

TEST(QualityParameters, AskForTheGivenQualityAsOneLong) {
    ULONG quality = 100;
    Gdiplus::EncoderParameters parameters = QualityParameters(&quality);
    EXPECT_EQ(parameters.Count, 1u);
    EXPECT_EQ(std::memcmp(&parameters.Parameter[0].Guid, &Gdiplus::EncoderQuality, sizeof(GUID)),
              0);
    EXPECT_EQ(parameters.Parameter[0].NumberOfValues, 1u);
    EXPECT_EQ(parameters.Parameter[0].Type, 4u);
    EXPECT_EQ(*static_cast<ULONG*>(parameters.Parameter[0].Value), 100u);
}

TEST(FindEncoderClsid, FindsJpegAndOnlyWithTheExactType) {
    CLSID jpeg = {};
    EXPECT_GE(FindEncoderClsid(L"image/jpeg", &jpeg), 0);
    CLSID untouched = {};
    std::memset(&untouched, 0xAB, sizeof untouched);
    CLSID before = untouched;
    EXPECT_EQ(FindEncoderClsid(L"IMAGE/JPEG", &untouched), -1);
    EXPECT_EQ(std::memcmp(&untouched, &before, sizeof before), 0);
}

std::wstring TempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

TEST(GrabScreenToJpeg, WritesTheWholeScreenScaledToTheTargetSize) {
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        int width;
        int height;
    } cases[] = {{screenWidth, screenHeight}, {screenWidth / 2, screenHeight / 2}};
    for (const Case& c : cases) {
        std::wstring path = TempFile(L"zintora-grab-test.jpg");
        DeleteFileW(path.c_str());
        GrabScreenToJpeg(path.c_str(), c.width, c.height, 100);
        Gdiplus::GpImage* image = nullptr;
        gdip::GdipLoadImageFromFile(path.c_str(), &image);
        ASSERT_NE(image, nullptr) << "no JPEG written for " << c.width;
        UINT width = 0;
        UINT height = 0;
        gdip::GdipGetImageWidth(image, &width);
        gdip::GdipGetImageHeight(image, &height);
        GUID format = {};
        gdip::GdipGetImageRawFormat(image, &format);
        gdip::GdipDisposeImage(image);
        DeleteFileW(path.c_str());
        EXPECT_EQ(int(width), c.width);
        EXPECT_EQ(int(height), c.height);
        EXPECT_EQ(std::memcmp(&format, &Gdiplus::ImageFormatJPEG, sizeof format), 0);
    }
}

TEST(GrabScreenToJpeg, WritesNothingIntoAMissingFolder) {
    std::wstring path = TempFile(L"zintora-no-such-folder\\shot.jpg");
    GrabScreenToJpeg(path.c_str(), 64, 48, 100);
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW(TempFile(L"zintora-no-such-folder").c_str()),
              INVALID_FILE_ATTRIBUTES);
}

}  // namespace
