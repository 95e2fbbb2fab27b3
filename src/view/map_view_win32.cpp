#include "view/map_view_win32.h"

#include <gdiplus.h>

#include "document/map_document.h"
#include "view/map_view.h"

namespace gdi = Gdiplus::DllExports;

namespace {

// The frame: a bitmap that GDI+ allocates itself, 32 bits per pixel without
// alpha, so that drawing it converts nothing. Kept between paints and remade
// only when the client size changes; every paint writes every pixel.
struct FrameBitmap {
    Gdiplus::GpBitmap* bitmap = nullptr;
    int width = 0;
    int height = 0;
};

Gdiplus::GpBitmap* frameFor(int width, int height) {
    static FrameBitmap frame;
    if (frame.bitmap && frame.width == width && frame.height == height) return frame.bitmap;
    if (frame.bitmap) gdi::GdipDisposeImage(frame.bitmap);
    frame = FrameBitmap();
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gdi::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppRGB, nullptr, &bitmap) ==
        Gdiplus::Ok)
        frame = {bitmap, width, height};
    return frame.bitmap;
}

// Composes the view straight into the bitmap's own pixels.
bool composeInto(Gdiplus::GpBitmap* bitmap, int width, int height, const MapDocument& document,
                 int horizontalPosition, int verticalPosition, const ShapeOverlay& overlay) {
    const Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData bits;
    if (gdi::GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeWrite, PixelFormat32bppRGB,
                                &bits) != Gdiplus::Ok)
        return false;
    const PixelRows target{static_cast<std::uint32_t*>(bits.Scan0), width, height,
                           bits.Stride / static_cast<int>(sizeof(std::uint32_t))};
    // One thread does everything, so the grid cannot change under the paint
    // and is read in place rather than copied.
    DrawMapView(target, horizontalPosition, verticalPosition, document.cells);
    DrawShapeOverlay(target, horizontalPosition, verticalPosition, overlay, document);
    gdi::GdipBitmapUnlockBits(bitmap, &bits);
    return true;
}

}  // namespace

// The frame is composed in memory and copied in one call: no flicker, and no
// brush or fill per cell.
void PaintMapView(HWND window, HDC deviceContext, const MapDocument& document,
                  int horizontalPosition, int verticalPosition, const ShapeOverlay& overlay) {
    RECT client;
    GetClientRect(window, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    Gdiplus::GpBitmap* frame = frameFor(client.right, client.bottom);
    if (!frame || !composeInto(frame, client.right, client.bottom, document, horizontalPosition,
                               verticalPosition, overlay))
        return;
    Gdiplus::GpGraphics* windowSurface = nullptr;
    if (gdi::GdipCreateFromHDC(deviceContext, &windowSurface) != Gdiplus::Ok) return;
    // An unscaled copy of opaque pixels: none of these settings changes the
    // picture, each spares GDI+ work per pixel.
    gdi::GdipSetCompositingMode(windowSurface, Gdiplus::CompositingModeSourceCopy);
    gdi::GdipSetCompositingQuality(windowSurface, Gdiplus::CompositingQualityHighSpeed);
    gdi::GdipSetInterpolationMode(windowSurface, Gdiplus::InterpolationModeNearestNeighbor);
    gdi::GdipSetPixelOffsetMode(windowSurface, Gdiplus::PixelOffsetModeNone);
    gdi::GdipSetSmoothingMode(windowSurface, Gdiplus::SmoothingModeNone);
    gdi::GdipDrawImageI(windowSurface, frame, 0, 0);
    gdi::GdipDeleteGraphics(windowSurface);
}
