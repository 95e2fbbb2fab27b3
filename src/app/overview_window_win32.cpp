#include "app/overview_window_win32.h"

#include <utility>

#include "app/view_scrolling_win32.h"
#include "resources/resource.h"
#include "view/overview.h"

namespace {

const char OVERVIEW_CLASS[] = "KALMIAOVERVIEW";

HWND overviewWindow = nullptr;
HWND mainWindowOfOverview = nullptr;
OverviewCounts counts;
bool countsStale = true;  // recounted at the next paint

// Counts the map anew after another map, another size, or another size of
// the overview's own client area.
void countIfStale(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    if (countsStale || currentMap.gridSize() != std::make_pair(counts.mapWidth, counts.mapHeight)) {
        CountOverview(counts, currentMap.cells, client.right, client.bottom);
        countsStale = false;
    }
}

void PaintOverview(HWND window) {
    PAINTSTRUCT paint;
    HDC deviceContext = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    if (client.right > 0 && client.bottom > 0) {
        countIfStale(window);
        ViewCanvas canvas(client.right, client.bottom);
        DrawOverview(canvas.rows(), counts, VisibleCells(mainWindowOfOverview));
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = canvas.width;
        info.bmiHeader.biHeight = -canvas.height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(deviceContext, 0, 0, canvas.width, canvas.height, 0, 0, 0, canvas.height,
                          canvas.pixels.data(), &info, DIB_RGB_COLORS);
    }
    EndPaint(window, &paint);
}

// A click or a drag moves the main view so that the point is in its middle.
void moveMainViewTo(HWND window, LPARAM point) {
    countIfStale(window);
    const CellPosition cell = OverviewCellAt(counts, static_cast<short>(LOWORD(point)),
                                             static_cast<short>(HIWORD(point)));
    CenterViewOn(mainWindowOfOverview, cell);
}

LRESULT CALLBACK OverviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            PaintOverview(window);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            countsStale = true;
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_LBUTTONDOWN:
            SetCapture(window);
            moveMainViewTo(window, lParam);
            return 0;
        case WM_MOUSEMOVE:
            if (wParam & MK_LBUTTON) moveMainViewTo(window, lParam);
            return 0;
        case WM_LBUTTONUP:
            ReleaseCapture();
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            overviewWindow = nullptr;
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

void registerOverviewClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = OverviewProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.lpszClassName = OVERVIEW_CLASS;
    RegisterClassExA(&windowClass);  // fails harmlessly when already registered
}

}  // namespace

void ToggleOverview(HWND mainWindow) {
    if (overviewWindow) {
        DestroyWindow(overviewWindow);
        return;
    }
    const auto instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE));
    registerOverviewClass(instance);
    mainWindowOfOverview = mainWindow;
    countsStale = true;
    RECT main;
    GetWindowRect(mainWindow, &main);
    overviewWindow =
        CreateWindowExA(WS_EX_TOOLWINDOW, OVERVIEW_CLASS, "全体図",
                        WS_OVERLAPPEDWINDOW & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX), main.right - 340,
                        main.top + 60, 300, 300, mainWindow, nullptr, instance, nullptr);
    if (!overviewWindow) return;
    ShowWindow(overviewWindow, SW_SHOWNOACTIVATE);
}

void UpdateOverviewMenu(HWND mainWindow) {
    CheckMenuItem(GetMenu(mainWindow), IDM_OVERVIEW,
                  MF_BYCOMMAND | (overviewWindow ? MF_CHECKED : MF_UNCHECKED));
}

HWND OverviewWindow() { return overviewWindow; }

void OverviewFollowCells(const CellMasks& changed) {
    if (!overviewWindow || changed.blockKeys.empty()) return;
    if (!countsStale) NoteFlippedCells(counts, changed, currentMap.cells);
    InvalidateRect(overviewWindow, nullptr, FALSE);
}

void OverviewFollowMap() {
    countsStale = true;
    if (overviewWindow) InvalidateRect(overviewWindow, nullptr, FALSE);
}

void OverviewFollowView() {
    if (overviewWindow) InvalidateRect(overviewWindow, nullptr, FALSE);
}
