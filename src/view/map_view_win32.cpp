#include "view/map_view_win32.h"

#include <gdiplus.h>

#include "app/view_scrolling_win32.h"
#include "document/map_document.h"
#include "view/map_view.h"

namespace gdi = Gdiplus::DllExports;

ViewCanvas ComposeMapView(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    ViewCanvas canvas(client.right, client.bottom);
    const int horizontal = ReadScrollPosition(window, SB_HORZ);
    const int vertical = ReadScrollPosition(window, SB_VERT);
    // One thread does everything, so the grid cannot change under the paint
    // and is read in place rather than copied.
    DrawMapView(canvas, horizontal, vertical, currentMap.cells);
    return canvas;
}

// The frame is composed in memory and handed to GDI+ as one bitmap over the
// pixel buffer, then copied in one call: no flicker, and no brush or fill per
// cell.
void PaintMapView(HWND window, HDC deviceContext) {
    Gdiplus::GpGraphics* windowSurface = nullptr;
    gdi::GdipCreateFromHDC(deviceContext, &windowSurface);
    ViewCanvas canvas = ComposeMapView(window);
    if (canvas.width > 0 && canvas.height > 0) {
        Gdiplus::GpBitmap* image = nullptr;
        gdi::GdipCreateBitmapFromScan0(canvas.width, canvas.height, canvas.width * 4,
                                       PixelFormat32bppARGB,
                                       reinterpret_cast<BYTE*>(canvas.pixels.data()), &image);
        if (image) {
            gdi::GdipDrawImageI(windowSurface, image, 0, 0);
            gdi::GdipDisposeImage(image);
        }
    }
    if (windowSurface) gdi::GdipDeleteGraphics(windowSurface);
}
