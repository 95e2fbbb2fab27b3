// kalmia.exe as a whole process: it starts, shows its window and ends with
// exit code 0 through Exit or closing, without asking, even with edits.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/recovery_win32.h"
#include "resources/resource.h"
#include "system/file_system.h"
#include "system/folder_listing.h"

namespace {

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder = folder.substr(0, folder.find_last_of("\\/"));  // tests
    folder = folder.substr(0, folder.find_last_of("\\/"));  // build folder
    return folder + "\\kalmia.exe";
}

struct RunningProgram {
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM param) {
    auto* program = reinterpret_cast<RunningProgram*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (processId == program->process.dwProcessId && std::string(className) == "KALMIAMAINWINDOW") {
        program->window = window;
        return FALSE;
    }
    return TRUE;
}

RunningProgram StartProgram() {
    RunningProgram program;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + ProgramPath() + "\"";
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &program.process))
        return program;
    WaitForInputIdle(program.process.hProcess, 10000);
    for (int attempt = 0; attempt < 200 && !program.window; ++attempt) {
        EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&program));
        if (!program.window) Sleep(50);
    }
    return program;
}

DWORD WaitForExit(RunningProgram& program) {
    DWORD exitCode = STILL_ACTIVE;
    if (WaitForSingleObject(program.process.hProcess, 20000) == WAIT_OBJECT_0)
        GetExitCodeProcess(program.process.hProcess, &exitCode);
    else
        TerminateProcess(program.process.hProcess, 99);
    CloseHandle(program.process.hThread);
    CloseHandle(program.process.hProcess);
    return exitCode;
}

// The recovery copies (and their locks) of earlier runs: each start here
// is a first one.
std::vector<std::string> RecoveryFiles() {
    std::vector<FolderEntry> entries;
    std::vector<std::string> files;
    ListFolder(RecoveryFolder(), entries);
    for (const FolderEntry& entry : entries)
        files.push_back(JoinPath(RecoveryFolder(), entry.name));
    return files;
}

void ForgetRecoveryCopies() {
    for (const std::string& file : RecoveryFiles()) RemoveFile(file);
}

struct EndingCase {
    const char* what;
    UINT message;
    WPARAM wParam;
};

TEST(ProgramExit, ExitAndClosingEndTheProcessWithCodeZeroDespiteEdits) {
    const EndingCase cases[] = {
        {"File > Exit", WM_COMMAND, IDM_EXIT},
        {"close box", WM_SYSCOMMAND, SC_CLOSE},
        {"WM_CLOSE", WM_CLOSE, 0},
    };
    for (const EndingCase& c : cases) {
        ForgetRecoveryCopies();
        RunningProgram program = StartProgram();
        ASSERT_NE(program.window, nullptr) << c.what;
        char title[64] = {};
        GetWindowTextA(program.window, title, sizeof title);
        EXPECT_STREQ(title, "Kalmia");
        // An edit first: the program must not ask about unsaved work.
        PostMessageA(program.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        PostMessageA(program.window, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        PostMessageA(program.window, c.message, c.wParam, 0);
        EXPECT_EQ(WaitForExit(program), 0u) << c.what;
        EXPECT_EQ(RecoveryFiles().size(), 1u) << c.what << ": the edit's recovery copy, no lock";
    }
    ForgetRecoveryCopies();
}

}  // namespace
