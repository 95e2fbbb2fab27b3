// Entry of the Windows test executable: GDI+ is started as the program does,
// so that the real window can paint while the tests drive it.
#include <windows.h>
// GDI+ needs the declarations of <windows.h> first.
#include <gdiplus.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartupInput startupInput;
    Gdiplus::GdiplusStartup(&gdiplusToken, &startupInput, nullptr);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    Gdiplus::GdiplusShutdown(gdiplusToken);
    return result;
}
