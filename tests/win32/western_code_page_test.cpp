// The program on a Western system (ANSI code page 1252), where bytes that
// Shift_JIS would take for lead bytes are letters of their own. The test
// command runs this suite in a second Wine run with LC_ALL=en_US.UTF-8.
#include <gtest/gtest.h>

#include "document/map_document.h"
#include "resources/resource.h"
#include "win32/window_fixture.h"

namespace {

TEST(WesternCodePage, AFieldCutAt254BytesKeepsItsLastAccentedLetter) {
    ASSERT_EQ(GetACP(), 1252u) << "this suite runs with LC_ALL=en_US.UTF-8";
    HWND window = ResetMainWindow(400, 400);
    const std::string name = std::string(250, 'a') + "Caf\xE9";  // 254 bytes, "é" last
    DialogWatcher watcher([&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_NAME, name.c_str());
        PressButton(dialog, IDOK);
    });
    SendMessageA(window, WM_COMMAND, IDM_PARAMETERS, 0);
    ASSERT_TRUE(watcher.handled());
    EXPECT_EQ(currentMap.copyMapName(), name);
}

}  // namespace
