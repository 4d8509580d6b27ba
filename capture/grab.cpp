#include "capture/grab.h"

#include "app/gdi.h"
#include "capture/encoder_match.h"

namespace {

constexpr DWORD kCopyWithLayeredWindows = SRCCOPY | CAPTUREBLT;  // 0x40CC0020

struct PlatformEncoderList {
    void GetSize(unsigned& count, unsigned& bytes) {
        UINT n = 0;
        UINT size = 0;
        gdip::GdipGetImageEncodersSize(&n, &size);
        count = n;
        bytes = size;
    }
    void GetList(unsigned count, unsigned bytes, void* block) {
        gdip::GdipGetImageEncoders(count, bytes, static_cast<Gdiplus::ImageCodecInfo*>(block));
    }
};

}  // namespace

int FindEncoderClsid(const WCHAR* mimeType, CLSID* clsid) {
    PlatformEncoderList list;
    return FindEncoderIn<Gdiplus::ImageCodecInfo>(list, mimeType, clsid);
}

Gdiplus::EncoderParameters QualityParameters(ULONG* quality) {
    Gdiplus::EncoderParameters parameters = {};
    parameters.Count = 1;
    parameters.Parameter[0].Guid = Gdiplus::EncoderQuality;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    parameters.Parameter[0].Value = quality;
    return parameters;
}

void GrabScreenToJpeg(const WCHAR* path, int width, int height, ULONG quality) {
    WindowDc screen(nullptr, true);
    int copyWidth = GetDeviceCaps(screen, HORZRES);
    int copyHeight = GetDeviceCaps(screen, VERTRES);

    OwnedBitmap copy(CreateCompatibleBitmap(screen, copyWidth, copyHeight));
    {
        OwnedMemoryDc memory(CreateCompatibleDC(screen));
        // Deselected again before GDI+ reads the bitmap.
        SelectedObject selected(memory, copy);
        BitBlt(memory, 0, 0, copyWidth, copyHeight, screen, 0, 0, kCopyWithLayeredWindows);
    }

    Gdiplus::GpBitmap* target = nullptr;
    gdip::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &target);
    OwnedImage targetImage(target);
    Gdiplus::GpBitmap* source = nullptr;
    gdip::GdipCreateBitmapFromHBITMAP(copy, nullptr, &source);
    OwnedImage sourceImage(source);
    OwnedGraphics graphics;
    if (target) {
        gdip::GdipGetImageGraphicsContext(target, graphics.out());
    }
    if (!graphics || !source) {
        return;
    }
    gdip::GdipScaleWorldTransform(graphics, static_cast<float>(width) / copyWidth,
                                  static_cast<float>(height) / copyHeight,
                                  Gdiplus::MatrixOrderPrepend);
    gdip::GdipDrawImageI(graphics, source, 0, 0);

    ULONG value = quality;
    Gdiplus::EncoderParameters parameters = QualityParameters(&value);
    CLSID jpeg;
    if (FindEncoderClsid(L"image/jpeg", &jpeg) >= 0) {
        gdip::GdipSaveImageToFile(target, path, &jpeg, &parameters);
    }
}
