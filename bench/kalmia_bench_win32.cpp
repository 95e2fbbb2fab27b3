// Times the real window under Wine: paints of the main window at a
// 1920 x 1080 client through its own WM_PAINT, each beside the floor (the same
// window painting a finished frame with SetDIBitsToDevice), a mouse press and a drag step
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
#include <utility>
#include <vector>

#include "app/editor_state_win32.h"
#include "app/main_window.h"
#include "app/mouse_editing.h"
#include "app/view_scrolling_win32.h"
#include "bench/map_fixtures.h"
#include "pair_files/map_file_pair.h"
#include "recovery/recovery_copy.h"
#include "resources/resource.h"
#include "tests/core/mouse_editing_reset.h"
#include "view/map_view.h"
#include "view/map_view_win32.h"

namespace gdi = Gdiplus::DllExports;

namespace {

double Median(std::vector<double> times) {
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

double Milliseconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double MedianMilliseconds(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(Milliseconds(work));
    return Median(times);
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

// The floor of a paint: a finished frame of the client's size, put on the
// window with one plain GDI call and nothing composed.
struct FinishedFrame {
    std::vector<std::uint32_t> pixels;
    BITMAPINFO info = {};
};
FinishedFrame floorFrame;
WNDPROC realWindowProc = nullptr;
bool paintFinishedFrame = false;

void CopyFinishedFrame(HDC dc) {
    const BITMAPINFOHEADER& header = floorFrame.info.bmiHeader;
    SetDIBitsToDevice(dc, 0, 0, header.biWidth, -header.biHeight, 0, 0, 0, -header.biHeight,
                      floorFrame.pixels.data(), &floorFrame.info, DIB_RGB_COLORS);
}

// The real window, whose WM_PAINT copies the finished frame while
// paintFinishedFrame is set: the same invalidation, BeginPaint, EndPaint and
// hand-over to the display as a real paint.
LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT || !paintFinishedFrame)
        return CallWindowProcA(realWindowProc, window, message, wParam, lParam);
    PAINTSTRUCT paint;
    CopyFinishedFrame(BeginPaint(window, &paint));
    EndPaint(window, &paint);
    return 0;
}

// The frame the window shows now, composed once.
void PrepareFloorFrame(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    floorFrame.pixels.assign(static_cast<size_t>(client.right) * client.bottom, 0);
    DrawMapView(PixelRows{floorFrame.pixels.data(), client.right, client.bottom, client.right},
                ReadScrollPosition(window, SB_HORZ), ReadScrollPosition(window, SB_VERT),
                currentMap.cells);
    BITMAPINFOHEADER& header = floorFrame.info.bmiHeader;
    header.biSize = sizeof header;
    header.biWidth = client.right;
    header.biHeight = -client.bottom;  // top-down rows, as the canvas
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
}

// Medians of two pieces of work timed alternately, 100 runs each, so that
// both meet the same state of the display server.
std::pair<double, double> AlternateMedians(const std::function<void()>& first,
                                           const std::function<void()>& second) {
    std::vector<double> firstTimes, secondTimes;
    for (int run = 0; run < 100; ++run) {
        firstTimes.push_back(Milliseconds(first));
        secondTimes.push_back(Milliseconds(second));
    }
    return {Median(firstTimes), Median(secondTimes)};
}

// The window's paint beside the floor's, then, without the paint message,
// what the program itself draws beside the bare copy, before Wine hands the
// window to the display.
void ReportPaintAndFloor(HWND window, int edge, const char* where) {
    PrepareFloorFrame(window);
    realWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FloorWindowProc)));
    const auto [paint, floor] = AlternateMedians(
        [&] {
            paintFinishedFrame = false;
            PaintNow(window);
        },
        [&] {
            paintFinishedFrame = true;
            PaintNow(window);
        });
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(realWindowProc));
    Report("paint", edge, where, paint);
    Report("paint_floor", edge, where, floor);
    HDC dc = GetDC(window);
    const auto [work, copy] = AlternateMedians(
        [&] {
            PaintMapView(window, dc, currentMap, ReadScrollPosition(window, SB_HORZ),
                         ReadScrollPosition(window, SB_VERT));
            GdiFlush();
        },
        [&] {
            CopyFinishedFrame(dc);
            GdiFlush();
        });
    ReleaseDC(window, dc);
    Report("paint_work", edge, where, work);
    Report("dib_copy", edge, where, copy);
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
    for (int edge : edges) {
        currentMap = BenchmarkMap(edge);
        UpdateScrollBars(window);
        for (const bool atFarCorner : {false, true}) {
            const int last = std::max(0, edge + 2 - FRAME_WIDTH / 8);
            const int lastRow = std::max(0, edge + 2 - FRAME_HEIGHT / 8);
            SetScrollPos(window, SB_HORZ, atFarCorner ? last : 0, FALSE);
            SetScrollPos(window, SB_VERT, atFarCorner ? lastRow : 0, FALSE);
            const char* where = atFarCorner ? "far" : "origin";
            ReportPaintAndFloor(window, edge, where);
            // Scrolled away from the origin the literal paint visits every
            // cell up to the view, a GDI+ fill each: minutes per paint here.
            if (!atFarCorner)
                Report("paint_literal", edge, where,
                       MedianMilliseconds(3, [&] { PaintLiterally(window); }));
        }
        ForgetMouseEditing();
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

        // Undo and redo, in turn, of a step that changed every cell, each up
        // to the end of the paint that shows it.
        RecordStep(editor.editing.history, WholeMapStep(edge));
        bool undo = true;
        Report("undo_redo_whole_map", edge, "far", MedianMilliseconds(6, [&] {
                   SendMessageA(window, WM_COMMAND, undo ? IDM_UNDO : IDM_REDO, 0);
                   undo = !undo;
                   UpdateWindow(window);
               }));
        ClearHistory(editor.editing.history);

        // The fill tool over a whole clear map, then clearing it again with
        // the right button, each up to the end of the paint that shows it.
        const MapDocument mapBeforeFill = currentMap;
        for (CellRow& row : currentMap.cells) std::fill(row.begin(), row.end(), 0);
        SendMessageA(window, WM_COMMAND, IDM_TOOL_FILL, 0);
        bool set = true;
        Report("fill_whole_map", edge, "far", MedianMilliseconds(4, [&] {
                   SendMessageA(window, set ? WM_LBUTTONDOWN : WM_RBUTTONDOWN,
                                set ? MK_LBUTTON : MK_RBUTTON, PointOfCell(10, 10));
                   SendMessageA(window, set ? WM_LBUTTONUP : WM_RBUTTONUP, 0, PointOfCell(10, 10));
                   set = !set;
                   UpdateWindow(window);
               }));
        SendMessageA(window, WM_COMMAND, IDM_TOOL_PEN, 0);
        ClearHistory(editor.editing.history);
        currentMap = mapBeforeFill;

        const std::string path = folder + "\\wine" + std::to_string(edge) + ".map";
        const int fileRuns = edge >= 10000 ? 3 : 5;
        // A failed save or open would measure nothing: the run stops instead.
        auto mustSucceed = [&](bool done) {
            if (done) return;
            std::fprintf(stderr, "cannot save or open %s\n", path.c_str());
            std::abort();
        };
        Report("save", edge, "pair", MedianMilliseconds(fileRuns, [&] {
                   mustSucceed(WriteMapFilePairFiles(path, currentMap).ok());
               }));
        Report("open", edge, "pair", MedianMilliseconds(fileRuns, [&] {
                   MapDocument document;
                   mustSucceed(ReadMapFilePair(path, document).ok());
               }));
        // Yes to a recovery copy: read, put in place and shown, up to the
        // end of the paint.
        const std::string copyPath = folder + "\\wine" + std::to_string(edge) + ".kalmia-recovery";
        mustSucceed(WriteRecoveryCopy(copyPath, PackMap(currentMap)).ok());
        Report("recovery_yes", edge, "copy", MedianMilliseconds(fileRuns, [&] {
                   Result<PackedMap> copy = ReadRecoveryCopy(copyPath);
                   mustSucceed(copy.ok());
                   currentMap = UnpackMap(copy.value());
                   UpdateScrollBars(window);
                   InvalidateRect(window, nullptr, FALSE);
                   UpdateWindow(window);
               }));
    }
    DestroyWindow(window);
    Pump();
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
