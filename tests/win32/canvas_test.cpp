#include <gtest/gtest.h>

#include "app/gdi.h"
#include "overlay/canvas.h"
#include "res/resource.h"

namespace {

// Canvas pixels are blue, green, red, alpha from the lowest byte up.
constexpr DWORD Bgra(int red, int green, int blue, int alpha) {
    return DWORD(blue) | DWORD(green) << 8 | DWORD(red) << 16 | DWORD(alpha) << 24;
}

class CanvasTest : public testing::Test {
protected:
    void SetUp() override { canvas_ = CreateCanvas(kWidth, kHeight); }
    void TearDown() override { ReleaseCanvas(canvas_); }

    DWORD Pixel(int x, int y) const {
        return static_cast<const DWORD*>(canvas_.bits)[y * kWidth + x];
    }

    void DrawLine(Gdiplus::ARGB colour, float width, int x1, int y1, int x2, int y2) {
        OwnedGraphics graphics(OpenCanvasGraphics(canvas_));
        ASSERT_TRUE(graphics);
        gdip::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeAntiAlias);
        OwnedPen pen;
        gdip::GdipCreatePen1(colour, width, Gdiplus::UnitWorld, pen.out());
        ASSERT_TRUE(pen);
        gdip::GdipDrawLineI(graphics, pen, x1, y1, x2, y2);
    }

    void FillBackdrop() {
        OwnedGraphics graphics(OpenCanvasGraphics(canvas_));
        DrawBackdrop(canvas_, graphics);
    }

    static constexpr int kWidth = 200;
    static constexpr int kHeight = 120;
    Canvas canvas_ = {};
};

TEST_F(CanvasTest, StartsFullyTransparent) {
    ASSERT_NE(canvas_.bits, nullptr);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            ASSERT_EQ(Pixel(x, y), 0u) << x << "," << y;
        }
    }
}

TEST_F(CanvasTest, BackdropIsPremultipliedRedAtAlpha3EverywhereEdgesIncluded) {
    FillBackdrop();
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            ASSERT_EQ(Pixel(x, y), Bgra(3, 0, 0, 3)) << x << "," << y;
        }
    }
}

TEST_F(CanvasTest, WithoutGraphicsTheBackdropColourIsFilledInByHand) {
    DrawBackdrop(canvas_, nullptr);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            ASSERT_EQ(Pixel(x, y), Bgra(3, 0, 0, 3)) << x << "," << y;
        }
    }
}

TEST_F(CanvasTest, OpaqueStrokeKeepsFullAlpha) {
    FillBackdrop();
    DrawLine(0xFFFF0000, 5, 20, 60, 180, 60);
    EXPECT_EQ(Pixel(100, 60), Bgra(255, 0, 0, 255));
    EXPECT_EQ(Pixel(100, 30), Bgra(3, 0, 0, 3)) << "away from the line";
}

TEST_F(CanvasTest, TranslucentStrokesBuildUpWhereTheyOverlap) {
    FillBackdrop();
    DrawLine(0x78FF0000, 15, 20, 40, 180, 40);
    DWORD once = Pixel(100, 40);
    DrawLine(0x78FF0000, 15, 100, 10, 100, 110);
    DWORD twice = Pixel(100, 40);
    int alphaOnce = once >> 24;
    int alphaTwice = twice >> 24;
    // 120 over alpha 3 gives about 122; a second layer about 180.
    EXPECT_GE(alphaOnce, 120);
    EXPECT_LE(alphaOnce, 125);
    EXPECT_GT(alphaTwice, alphaOnce + 40);
    // Pure red premultiplied: the red byte equals the alpha byte.
    EXPECT_EQ((twice >> 16) & 0xFF, DWORD(alphaTwice));
    EXPECT_EQ(twice & 0xFFFF, 0u);
}

TEST_F(CanvasTest, ClearReplacesEverythingWithRedAtAlpha1) {
    FillBackdrop();
    DrawLine(0xFFFF0000, 15, 20, 60, 180, 60);
    {
        OwnedGraphics graphics(OpenCanvasGraphics(canvas_));
        gdip::GdipGraphicsClear(graphics, 0x01FF0000);
    }
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            ASSERT_EQ(Pixel(x, y), Bgra(1, 0, 0, 1)) << x << "," << y;
        }
    }
}

TEST(LoadPngResource, LoadsTheBackdropAndRefusesAMissingResource) {
    Gdiplus::GpImage* image = nullptr;
    ASSERT_TRUE(LoadPngResource(IDR_BACKDROP, "PNG", &image));
    OwnedImage owned(image);
    UINT width = 0;
    UINT height = 0;
    gdip::GdipGetImageWidth(image, &width);
    gdip::GdipGetImageHeight(image, &height);
    EXPECT_EQ(width, 1035u);
    EXPECT_EQ(height, 768u);

    auto* sentinel = reinterpret_cast<Gdiplus::GpImage*>(0x1234);
    Gdiplus::GpImage* untouched = sentinel;
    EXPECT_FALSE(LoadPngResource(999, "PNG", &untouched));
    EXPECT_FALSE(LoadPngResource(IDR_BACKDROP, "JPEG", &untouched));
    EXPECT_EQ(untouched, sentinel);
}

}  // namespace
