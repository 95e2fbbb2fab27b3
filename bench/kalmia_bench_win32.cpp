// Times the real window under Wine: paints of the main window at a
// 1920 x 1080 client through its own WM_PAINT, a mouse press and a drag step
// from the message to the finished paint, and Open and Save of a pair, at each
// map size; beside them the literal paint (one GDI+ brush and fill per cell).
// Prints one CSV line per figure: name,edge,variant,median_ms.
#include <windows.h>
// GDI+ needs the declarations of <windows.h> first.
#include <gdiplus.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/mouse_editing.h"
#include "app/view_scrolling_win32.h"
#include "bench/map_fixtures.h"
#include "document/map_file_pair.h"
#include "view/map_view.h"

namespace gdi = Gdiplus::DllExports;

namespace {

double MedianMilliseconds(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

void Report(const char* name, int edge, const char* variant, double milliseconds) {
    std::printf("%s,%d,%s,%.3f\n", name, edge, variant, milliseconds);
    std::fflush(stdout);
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

void SetClientSize(HWND window, int width, int height) {
    for (int pass = 0; pass < 3; ++pass) {
        RECT outer, client;
        GetWindowRect(window, &outer);
        GetClientRect(window, &client);
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + width - client.right,
                     outer.bottom - outer.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
        Pump();
    }
}

void PaintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// The paint as first written down: a copy of the grid, an off-screen image,
// and one brush and one fill per visited cell.
void PaintLiterally(HWND window) {
    HDC dc = GetDC(window);
    Gdiplus::GpGraphics* surface = nullptr;
    gdi::GdipCreateFromHDC(dc, &surface);
    const CellGrid grid = currentMap.copyCells();
    RECT client;
    GetClientRect(window, &client);
    const int hpos = ReadScrollPosition(window, SB_HORZ),
              vpos = ReadScrollPosition(window, SB_VERT);
    Gdiplus::GpBitmap* image = nullptr;
    gdi::GdipCreateBitmapFromScan0(client.right, client.bottom, 0, PixelFormat32bppARGB, nullptr,
                                   &image);
    Gdiplus::GpGraphics* imageSurface = nullptr;
    gdi::GdipGetImageGraphicsContext(image, &imageSurface);
    auto fill = [&](int x, int y, int w, int h, Gdiplus::ARGB color) {
        Gdiplus::GpSolidFill* brush = nullptr;
        gdi::GdipCreateSolidFill(color, &brush);
        gdi::GdipFillRectangleI(imageSurface, brush, x, y, w, h);
        gdi::GdipDeleteBrush(brush);
    };
    fill(0, 0, client.right, client.bottom, BACKGROUND_COLOR);
    for (size_t r = 0; r < grid.size(); ++r) {
        if ((int(r) - vpos) * 8 > client.bottom) break;
        for (size_t c = 0; c < grid[r].size(); ++c) {
            if ((int(c) - hpos) * 8 > client.right) break;
            fill((int(c) - hpos) * 8, (int(r) - vpos) * 8, 8, 8,
                 grid[r][c] ? SET_CELL_COLOR : CLEAR_CELL_COLOR);
        }
    }
    gdi::GdipDrawImageI(surface, image, 0, 0);
    gdi::GdipDeleteGraphics(imageSurface);
    gdi::GdipDisposeImage(image);
    gdi::GdipDeleteGraphics(surface);
    ReleaseDC(window, dc);
}

// The floor of a paint: one plain GDI copy of a finished frame of the client's
// size to the window, with nothing composed.
double DibCopyFloor(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    std::vector<std::uint32_t> frame(static_cast<size_t>(client.right) * client.bottom, 0xFF808080);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;  // top-down rows, as the canvas
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(window);
    const double floor = MedianMilliseconds(100, [&] {
        SetDIBitsToDevice(dc, 0, 0, client.right, client.bottom, 0, 0, 0, client.bottom,
                          frame.data(), &info, DIB_RGB_COLORS);
        GdiFlush();
    });
    ReleaseDC(window, dc);
    return floor;
}

LPARAM PointOfCell(int column, int row) { return MAKELPARAM(column * 8 + 4, row * 8 + 4); }

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : ".";
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput startup;
    Gdiplus::GdiplusStartup(&token, &startup, nullptr);
    HWND window = CreateMainWindow(GetModuleHandleA(nullptr));
    ShowWindow(window, SW_SHOWNORMAL);
    SetClientSize(window, FRAME_WIDTH, FRAME_HEIGHT);
    RECT client;
    GetClientRect(window, &client);
    std::fprintf(stderr, "client %ldx%ld\n", client.right, client.bottom);

    std::vector<int> edges;
    for (int i = 2; i < argc; ++i) edges.push_back(std::atoi(argv[i]));
    if (edges.empty()) edges = {50, 1000, 3000, 10000};
    Report("paint_floor", 0, "setdibits", DibCopyFloor(window));
    for (int edge : edges) {
        currentMap = BenchmarkMap(edge);
        UpdateScrollBars(window);
        for (const bool atFarCorner : {false, true}) {
            const int last = std::max(0, edge + 2 - FRAME_WIDTH / 8);
            const int lastRow = std::max(0, edge + 2 - FRAME_HEIGHT / 8);
            SetScrollPos(window, SB_HORZ, atFarCorner ? last : 0, FALSE);
            SetScrollPos(window, SB_VERT, atFarCorner ? lastRow : 0, FALSE);
            const char* where = atFarCorner ? "far" : "origin";
            Report("paint", edge, where, MedianMilliseconds(100, [&] { PaintNow(window); }));
            // Scrolled away from the origin the literal paint visits every
            // cell up to the view, a GDI+ fill each: minutes per paint here.
            if (!atFarCorner)
                Report("paint_literal", edge, where,
                       MedianMilliseconds(3, [&] { PaintLiterally(window); }));
        }
        ResetMouseEditing();
        int step = 0;
        Report("mouse_press", edge, "far", MedianMilliseconds(50, [&] {
                   SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON,
                                PointOfCell(10 + step++ % 100, 20));
                   SendMessageA(window, WM_LBUTTONUP, 0, PointOfCell(10, 20));
                   UpdateWindow(window);
               }));
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, PointOfCell(10, 10));
        Report("drag_step", edge, "far", MedianMilliseconds(50, [&] {
                   ++step;
                   SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON,
                                PointOfCell(10 + step % 200, 10 + step % 100));
                   UpdateWindow(window);
               }));
        SendMessageA(window, WM_LBUTTONUP, 0, PointOfCell(10, 10));

        const std::string path = folder + "\\wine" + std::to_string(edge) + ".map";
        const int fileRuns = edge >= 10000 ? 3 : 5;
        Report("save", edge, "pair",
               MedianMilliseconds(fileRuns, [&] { WriteMapFilePairFiles(path, currentMap); }));
        Report("open", edge, "pair", MedianMilliseconds(fileRuns, [&] {
                   MapDocument document;
                   static_cast<void>(ReadMapFilePair(path, document));
               }));
    }
    DestroyWindow(window);
    Pump();
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
