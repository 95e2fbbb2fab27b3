#include "app/main_window.h"

#include <new>
#include <tuple>

#include "app/drawing_tools_win32.h"
#include "app/edit_commands_win32.h"
#include "app/file_commands_win32.h"
#include "app/mouse_editing_win32.h"
#include "app/open_from_outside_win32.h"
#include "app/overview_window_win32.h"
#include "app/recent_files_win32.h"
#include "app/recovery_win32.h"
#include "app/settings_win32.h"
#include "app/status_bar_win32.h"
#include "app/view_scrolling_win32.h"
#include "pair_files/pair_paths.h"
#include "resources/resource.h"
#include "view/about_dialog_win32.h"
#include "view/map_view_win32.h"
#include "view/out_of_memory_win32.h"
#include "view/parameter_dialog_win32.h"

HINSTANCE appInstance;
char windowTitle[100];
char windowClassName[100];
EditorState editor;

namespace {

// A paint that runs out of memory leaves the old picture; EndPaint must
// still come, or the window would ask to be painted again and again.
LRESULT PaintWindow(HWND window) {
    PAINTSTRUCT paint;
    HDC deviceContext = BeginPaint(window, &paint);
    // The status bar paints itself.
    const RECT view = ViewClientRect(window);
    RECT client;
    GetClientRect(window, &client);
    ExcludeClipRect(deviceContext, 0, view.bottom, client.right, client.bottom);
    try {
        PaintMapView(window, deviceContext, currentMap, ReadScrollPosition(window, SB_HORZ),
                     ReadScrollPosition(window, SB_VERT), ShapeDragOverlay(editor.editing.tools));
    } catch (const std::bad_alloc&) {
    }
    EndPaint(window, &paint);
    return 0;
}

// The map was replaced or resized: the bars follow its size, the view is
// redrawn, and a stroke in progress starts afresh on the new map.
void showChangedMap(HWND window) {
    OverviewFollowMap(editor.overview);
    UpdateScrollBars(window);
    InvalidateRect(window, nullptr, FALSE);
    RestartStroke(editor.editing.stroke);
}

// New or Open put another map in place, with a history of its own; the
// recovery copy of the map before goes with New, and stays with Open. Its
// set cells are counted once.
void showOtherMap(HWND window, bool removeCopy) {
    ForgetEditHistory(editor.editing);
    FollowOtherMapInPlace(editor, removeCopy);
    editor.status.countStale = true;
    showChangedMap(window);
}

void showNewMap(HWND window) { showOtherMap(window, true); }
void showOpenedMap(HWND window) { showOtherMap(window, false); }

// A map from a recovery copy was never saved as it is.
void showRecoveredMap(HWND window) {
    ForgetEditHistory(editor.editing);
    MarkUnsaved(editor.editing.history);
    editor.status.countStale = true;
    showChangedMap(window);
}

// The file dialogs open in the folder of the pair last opened or saved.
std::string lastFolder() {
    const std::vector<std::string>& recent = editor.settings.values.recentFiles;
    return recent.empty() ? std::string() : FolderOfPath(recent.front());
}

void saveMap(HWND window) {
    if (!FileSave(window, lastFolder())) return;
    FollowSavedMap(editor);
    NoteRecentFile(window, editor.settings, fileDialogPath);
}

void openMap(HWND window) {
    if (!FileOpen(window, lastFolder())) return;
    showOpenedMap(window);
    NoteRecentFile(window, editor.settings, fileDialogPath);
}

// As Open does; a pair Open refuses has shown its box and leaves the list.
void openRecentFile(HWND window, const std::string& path) {
    if (!OpenMapPath(window, path, FileNameOf(path)))
        return ForgetRecentFile(window, editor.settings, path);
    showOpenedMap(window);
    NoteRecentFile(window, editor.settings, path);
}

// The recent files' commands; the rest is the system's.
LRESULT runOtherCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    const std::string* path = RecentFileOfCommand(editor.settings, LOWORD(wParam));
    if (!path) return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
    openRecentFile(window, std::string(*path));  // a copy: opening may change the list
    return 0;
}

void chooseTool(HWND window, WORD command) {
    RunToolCommand(window, command, editor.editing.tools);
    WriteNumberSetting(editor.settings, TOOL_VALUE,
                       static_cast<DWORD>(editor.editing.tools.current));
}

// The window's place is written once it rests: a drag moves it many times.
constexpr UINT_PTR PLACE_TIMER = 1;
void rememberPlaceSoon(HWND window) {
    if (editor.settings.remembered) SetTimer(window, PLACE_TIMER, 300, nullptr);
}

void rememberPlace(HWND window) {
    KillTimer(window, PLACE_TIMER);
    WriteWindowPlace(editor.settings, window);
}

// Exit and the close box end at once; the recovery copy keeps what was not
// saved.
void endProgram() {
    StopKeepingRecovery(editor);
    PostQuitMessage(0);
}

// The bars follow the window's new size, and the overview's outline them.
void ResizeView(HWND window) {
    rememberPlaceSoon(window);
    PlaceStatusBar(window, editor.status);
    UpdateScrollBars(window);
    OverviewFollowView(editor.overview);
}

// The view gains or loses the bar's height.
void toggleStatusBar(HWND window) {
    ToggleStatusBar(window, editor.status);
    WriteNumberSetting(editor.settings, STATUS_BAR_VALUE, editor.status.bar ? 1 : 0);
    ResizeView(window);
    InvalidateRect(window, nullptr, FALSE);
}

// After each message, the status bar's texts where they changed.
void refreshStatusBar() {
    if (!editor.status.bar) return;
    StatusFacts facts;
    facts.pointer = editor.mouse.pointer;
    const ShapeDrag& drag = editor.editing.tools.drag;
    if (IsShapeDragged(editor.editing.tools))
        facts.drag = CellArea{drag.from.x, drag.from.y, drag.to.x, drag.to.y};
    std::tie(facts.width, facts.height) = currentMap.gridSize();
    if (editor.status.countStale) editor.status.setCells = CountSetCells(currentMap.cells);
    editor.status.countStale = false;
    facts.setCells = editor.status.setCells;
    facts.unsaved = HasUnsavedChanges(editor.editing.history);
    ShowStatusTexts(editor.status, facts);
}

void ScrollView(HWND window, int bar, WPARAM wParam) {
    if (HandleScrollMessage(window, bar, wParam)) OverviewFollowView(editor.overview);
}

// Ctrl with the wheel is left to the system.
LRESULT ScrollByWheel(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL)
        return DefWindowProcA(window, message, wParam, lParam);
    if (HandleWheelMessage(window, message, wParam, editor.mouse.wheelDown,
                           editor.mouse.wheelAcross))
        OverviewFollowView(editor.overview);
    return 0;
}

// The name, size and thresholds may all have changed, or none (Cancel); the
// bars and the view follow in either case. A stroke in progress is a step
// before the dialog's change.
void RunParametersCommand(HWND window) {
    FinishStroke(editor.editing);
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_PARAMETERS), window, ParameterDlgProc,
                    reinterpret_cast<LPARAM>(&editor.editing.history));
    showChangedMap(window);
}

// Before a menu shows: the undo items' grey state, the overview's and the
// current tool's checks.
void updateMenus(HWND window) {
    UpdateEditMenu(window, editor.editing);
    UpdateOverviewMenu(window, editor.overview);
    UpdateStatusMenu(window, editor.status);
    UpdateToolMenu(window, editor.editing.tools);
}

// The bars for the default map, the history's followers, and files dropped
// from Explorer welcome.
void prepareWindow(HWND window) {
    FollowEditHistory(editor);
    UpdateScrollBars(window);
    DragAcceptFiles(window, TRUE);
}

void OpenDroppedFiles(HWND window, WPARAM drop) {
    std::string opened;
    if (!OpenDroppedMap(window, reinterpret_cast<HDROP>(drop), opened)) return;
    showOpenedMap(window);
    NoteRecentFile(window, editor.settings, opened);
}

LRESULT HandleCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
        case IDM_NEW:
            if (FileNew(window)) showNewMap(window);
            return 0;
        case IDM_OPEN:
            openMap(window);
            return 0;
        case IDM_SAVE:
            saveMap(window);
            return 0;
        case IDM_EXIT:
            DestroyWindow(window);
            return 0;
        case IDM_UNDO:
            RunUndoCommand(window, editor);
            return 0;
        case IDM_REDO:
            RunRedoCommand(window, editor);
            return 0;
        case IDM_PARAMETERS:
            RunParametersCommand(window);
            return 0;
        case IDM_GOTO:
            RunGotoCommand(window, editor);
            return 0;
        case IDM_OVERVIEW:
            ToggleOverview(window, editor.overview);
            return 0;
        case IDM_STATUS_BAR:
            toggleStatusBar(window);
            return 0;
        case IDM_TOOL_PEN:
        case IDM_TOOL_LINE:
        case IDM_TOOL_RECTANGLE:
        case IDM_TOOL_FILL:
            chooseTool(window, LOWORD(wParam));
            return 0;
        case IDM_ABOUT:
            DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUTBOX), window, AboutDlgProc, 0);
            return 0;
        default:
            return runOtherCommand(window, wParam, lParam);
    }
}

}  // namespace

// The status bar's count of set cells and the recovery copy follow each
// step as it reaches the map.
void FollowEditHistory(EditorState& state) {
    HistoryFollower& follower = state.editing.history.follower;
    follower.stepApplied = [&state](const EditStep& step, StepDirection direction) {
        if (state.status.bar && !state.status.countStale)
            state.status.setCells =
                SetCellsAfterStep(state.status.setCells, step, direction, currentMap.cells);
        else
            state.status.countStale = true;
        FollowStep(state.recovery, currentMap, step, direction,
                   HasUnsavedChanges(state.editing.history));
    };
    follower.untrackedChange = [&state] {
        state.status.countStale = true;
        FollowUntrackedChange(state.recovery, currentMap);
    };
    state.status.countStale = true;
}

void RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(32512));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN);
    windowClass.lpszClassName = windowClassName;
    windowClass.hIconSm = windowClass.hIcon;
    RegisterClassExA(&windowClass);
}

HWND CreateMainWindow(HINSTANCE instance) {
    LoadStringA(instance, IDS_APP_TITLE, windowTitle, sizeof windowTitle);
    LoadStringA(instance, IDR_MAIN, windowClassName, sizeof windowClassName);
    RegisterMainWindowClass(instance);
    appInstance = instance;
    return CreateWindowExA(0, windowClassName, windowTitle,
                           WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL, CW_USEDEFAULT, 0,
                           CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
}

// Guarded as the window procedure is: running out of memory while the map
// opens leaves the default map and says so.
void OpenMapAtStart(HWND window, const char* commandLine) {
    try {
        std::string opened;
        if (!OpenCommandLineMap(window, commandLine, opened)) return;
        showOpenedMap(window);
        NoteRecentFile(window, editor.settings, opened);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(window);
    }
}

// As the user left it: the window's place, the status bar, the tool, the
// overview and the recent files; from now on each change is written.
void ShowMainWindowAtStart(HWND window, int showCommand) {
    SettingsState& settings = editor.settings;
    settings.values = ReadSettings();
    ShowWindowWhereItWas(window, settings.values, showCommand);
    ShowStatusBar(window, editor.status, settings.values.statusBar);
    ResizeView(window);
    ChooseTool(editor.editing.tools, settings.values.tool);
    ShowRecentFiles(window, settings);
    OverviewState& overview = editor.overview;
    overview.place = settings.values.overviewPlace;
    overview.changed = [] {
        WriteNumberSetting(editor.settings, OVERVIEW_OPEN_VALUE, editor.overview.window ? 1 : 0);
        if (editor.overview.place) WriteOverviewPlace(editor.settings, *editor.overview.place);
    };
    if (settings.values.overviewOpen) ToggleOverview(window, overview);
    settings.remembered = true;
    SetForegroundWindow(window);  // the keys go to the map, not to the overview
    UpdateWindow(window);
}

// A copy that memory cannot hold stays for a later start.
void RecoverAtStart(HWND window) {
    try {
        StartKeepingRecovery(editor);
        if (OfferRecoveryCopies(window, editor)) showRecoveredMap(window);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(window);
    }
}

int RunMessageLoop(HINSTANCE instance) {
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAIN));
    MSG message;
    // -1 (an error) does not end the loop; only WM_QUIT does.
    while (GetMessageA(&message, nullptr, 0, 0) != 0) {
        if (!TranslateAcceleratorA(message.hwnd, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

namespace {

LRESULT HandleMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            prepareWindow(window);
            return 0;
        case WM_DESTROY:
            endProgram();
            return 0;
        case WM_SIZE:
            ResizeView(window);
            return 0;
        case WM_MOVE:
            rememberPlaceSoon(window);
            return 0;
        case WM_TIMER:
            rememberPlace(window);
            return 0;
        case WM_PAINT:
            return PaintWindow(window);
        case WM_ERASEBKGND:
            return 1;
        case WM_COMMAND:
            return HandleCommand(window, wParam, lParam);
        case WM_INITMENUPOPUP:
            updateMenus(window);
            return 0;
        case WM_KEYDOWN:
            return HandleKeyDown(window, wParam, lParam, editor.editing.tools);
        case WM_CAPTURECHANGED:
            HandleCaptureChanged(window, lParam, editor.editing.tools);
            return 0;
        case WM_DROPFILES:
            OpenDroppedFiles(window, wParam);
            return 0;
        case WM_HSCROLL:
            ScrollView(window, SB_HORZ, wParam);
            return 0;
        case WM_VSCROLL:
            ScrollView(window, SB_VERT, wParam);
            return 0;
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL:
            return ScrollByWheel(window, message, wParam, lParam);
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MOUSELEAVE:
            HandleMouseMessage(window, message, lParam, editor);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

// Each handler leaves the map whole when memory runs out.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return AnswerWithinMemory(window, LRESULT{0}, [&] {
        const LRESULT answer = HandleMainWindowMessage(window, message, wParam, lParam);
        refreshStatusBar();
        return answer;
    });
}
