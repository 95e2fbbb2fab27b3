#include "view/map_view_win32.h"

#include <gdiplus.h>

#include "app/view_scrolling_win32.h"
#include "document/map_document.h"
#include "view/map_view.h"

namespace gdi = Gdiplus::DllExports;

namespace {

// The frame's pixel buffer, kept between paints and reallocated only when the
// client size changes: under Wine, allocating and clearing 8 MB for a
// 1920 x 1080 frame costs more than composing it. Every paint overwrites
// every pixel, so nothing of the previous picture shows through.
ViewCanvas& FrameBuffer(int width, int height) {
    static ViewCanvas frame(0, 0);
    if (frame.width != width || frame.height != height) frame = ViewCanvas(width, height);
    return frame;
}

}  // namespace

const ViewCanvas& ComposeMapView(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    ViewCanvas& canvas = FrameBuffer(client.right, client.bottom);
    const int horizontal = ReadScrollPosition(window, SB_HORZ);
    const int vertical = ReadScrollPosition(window, SB_VERT);
    // One thread does everything, so the grid cannot change under the paint
    // and is read in place rather than copied.
    DrawMapView(canvas, horizontal, vertical, currentMap.cells);
    return canvas;
}

// The frame is composed in memory and handed to GDI+ as one bitmap over the
// pixel buffer, then copied in one call: no flicker, and no brush or fill per
// cell. Every pixel is opaque, so the premultiplied format and a plain copy
// show exactly the composed colours, and they spare GDI+ a conversion and a
// blend of every pixel.
void PaintMapView(HWND window, HDC deviceContext) {
    Gdiplus::GpGraphics* windowSurface = nullptr;
    gdi::GdipCreateFromHDC(deviceContext, &windowSurface);
    const ViewCanvas& canvas = ComposeMapView(window);
    if (windowSurface && canvas.width > 0 && canvas.height > 0) {
        // An unscaled copy of opaque pixels: none of these settings changes
        // the picture, each spares GDI+ work per pixel.
        gdi::GdipSetCompositingMode(windowSurface, Gdiplus::CompositingModeSourceCopy);
        gdi::GdipSetCompositingQuality(windowSurface, Gdiplus::CompositingQualityHighSpeed);
        gdi::GdipSetInterpolationMode(windowSurface, Gdiplus::InterpolationModeNearestNeighbor);
        gdi::GdipSetPixelOffsetMode(windowSurface, Gdiplus::PixelOffsetModeNone);
        gdi::GdipSetSmoothingMode(windowSurface, Gdiplus::SmoothingModeNone);
        Gdiplus::GpBitmap* image = nullptr;
        gdi::GdipCreateBitmapFromScan0(
            canvas.width, canvas.height, canvas.width * 4, PixelFormat32bppPARGB,
            reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(canvas.pixels.data())), &image);
        if (image) {
            gdi::GdipDrawImageI(windowSurface, image, 0, 0);
            gdi::GdipDisposeImage(image);
        }
    }
    if (windowSurface) gdi::GdipDeleteGraphics(windowSurface);
}
