#include "app/overview_window_win32.h"

#include <new>
#include <utility>

#include "app/view_scrolling_win32.h"
#include "resources/resource.h"
#include "view/out_of_memory_win32.h"

namespace {

const char OVERVIEW_CLASS[] = "KALMIAOVERVIEW";

// The state the window was created with (kept at WM_NCCREATE).
OverviewState& stateOf(HWND window) {
    return *reinterpret_cast<OverviewState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Counts the map anew after another map, another size, or another size of
// the overview's own client area.
void countIfStale(HWND window, OverviewState& overview) {
    RECT client;
    GetClientRect(window, &client);
    OverviewCounts& counts = overview.counts;
    if (overview.countsStale ||
        currentMap.gridSize() != std::make_pair(counts.mapWidth, counts.mapHeight)) {
        CountOverview(counts, currentMap.cells, client.right, client.bottom);
        overview.countsStale = false;
    }
}

void paintCanvas(HWND window, HDC deviceContext, const RECT& client, OverviewState& overview) {
    countIfStale(window, overview);
    ViewCanvas canvas(client.right, client.bottom);
    DrawOverview(canvas.rows(), overview.counts, VisibleCells(overview.mainWindow));
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

// A paint that runs out of memory leaves the old picture; EndPaint must
// still come, or the window would ask to be painted again and again.
void PaintOverview(HWND window, OverviewState& overview) {
    PAINTSTRUCT paint;
    HDC deviceContext = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    try {
        if (client.right > 0 && client.bottom > 0)
            paintCanvas(window, deviceContext, client, overview);
    } catch (const std::bad_alloc&) {
    }
    EndPaint(window, &paint);
}

// A click or a drag moves the main view so that the point is in its middle.
void MoveMainViewTo(HWND window, LPARAM point, OverviewState& overview) {
    countIfStale(window, overview);
    const CellPosition cell = OverviewCellAt(overview.counts, static_cast<short>(LOWORD(point)),
                                             static_cast<short>(HIWORD(point)));
    CenterViewOn(overview.mainWindow, cell);
    OverviewFollowView(overview);
}

void NoteOverviewPlace(HWND window, OverviewState& overview) {
    RECT rect;
    GetWindowRect(window, &rect);
    overview.place = PointOnScreen{rect.left, rect.top};
    if (overview.changed) overview.changed();
}

// Closed by the user (its close box, 表示 > 全体図), not by the program's
// end, which leaves it open for the next start.
void CloseOverview(OverviewState& overview) {
    DestroyWindow(overview.window);
    if (overview.changed) overview.changed();
}

void ResizeOverview(HWND window, OverviewState& overview) {
    overview.countsStale = true;
    InvalidateRect(window, nullptr, FALSE);
}

// Keeps the state the window is created with; the default handling sets
// the title.
LRESULT CreateOverview(HWND window, WPARAM wParam, LPARAM lParam) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    return DefWindowProcA(window, WM_NCCREATE, wParam, lParam);
}

LRESULT HandleOverviewMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:
            return CreateOverview(window, wParam, lParam);
        case WM_PAINT:
            PaintOverview(window, stateOf(window));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            ResizeOverview(window, stateOf(window));
            return 0;
        case WM_MOVE:
            NoteOverviewPlace(window, stateOf(window));
            return 0;
        case WM_LBUTTONDOWN:
            SetCapture(window);
            MoveMainViewTo(window, lParam, stateOf(window));
            return 0;
        case WM_MOUSEMOVE:
            if (wParam & MK_LBUTTON) MoveMainViewTo(window, lParam, stateOf(window));
            return 0;
        case WM_LBUTTONUP:
            ReleaseCapture();
            return 0;
        case WM_CLOSE:
            CloseOverview(stateOf(window));
            return 0;
        case WM_DESTROY:
            stateOf(window).window = nullptr;
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK OverviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return AnswerWithinMemory(
        window, LRESULT{0}, [&] { return HandleOverviewMessage(window, message, wParam, lParam); });
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

void ToggleOverview(HWND mainWindow, OverviewState& overview) {
    if (overview.window) return CloseOverview(overview);
    const auto instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE));
    registerOverviewClass(instance);
    overview.mainWindow = mainWindow;
    overview.countsStale = true;
    RECT main;
    GetWindowRect(mainWindow, &main);
    const PointOnScreen place =
        overview.place.value_or(PointOnScreen{main.right - 340, main.top + 60});
    overview.window =
        CreateWindowExA(WS_EX_TOOLWINDOW, OVERVIEW_CLASS, "全体図",
                        WS_OVERLAPPEDWINDOW & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX), place.x, place.y,
                        300, 300, mainWindow, nullptr, instance, &overview);
    if (!overview.window) return;
    ShowWindow(overview.window, SW_SHOWNOACTIVATE);
    if (overview.changed) overview.changed();
}

void UpdateOverviewMenu(HWND mainWindow, const OverviewState& overview) {
    CheckMenuItem(GetMenu(mainWindow), IDM_OVERVIEW,
                  MF_BYCOMMAND | (overview.window ? MF_CHECKED : MF_UNCHECKED));
}

void OverviewFollowCells(OverviewState& overview, const CellMasks& changed) {
    if (!overview.window || changed.blockKeys.empty()) return;
    if (!overview.countsStale) NoteFlippedCells(overview.counts, changed, currentMap.cells);
    InvalidateRect(overview.window, nullptr, FALSE);
}

void OverviewFollowMap(OverviewState& overview) {
    overview.countsStale = true;
    if (overview.window) InvalidateRect(overview.window, nullptr, FALSE);
}

void OverviewFollowView(const OverviewState& overview) {
    if (overview.window) InvalidateRect(overview.window, nullptr, FALSE);
}
