// kalmia.exe names itself Kalmia 1.0 in its version resource, as its About box does.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder = folder.substr(0, folder.find_last_of("\\/"));
    folder = folder.substr(0, folder.find_last_of("\\/"));
    return folder + "\\kalmia.exe";
}

std::string VersionString(const std::vector<char>& info, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\041104B0\\") + name;
    if (!VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
        return "";
    return value;
}

TEST(VersionResource, ProductIsKalmiaVersionOne) {
    const std::string path = ProgramPath();
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), nullptr);
    ASSERT_GT(size, 0u) << path;
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));
    EXPECT_EQ(VersionString(info, "ProductName"), "Kalmia");
    EXPECT_EQ(VersionString(info, "ProductVersion"), "1.0");
    EXPECT_EQ(VersionString(info, "FileVersion"), "1.0");
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
}

}  // namespace
