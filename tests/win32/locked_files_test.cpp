// Files another program holds open without sharing: an Open fails and keeps
// the map, a Save fails and keeps the pair.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/test_support.h"
#include "document/map_file_pair.h"

namespace {

struct LockedFile {
    explicit LockedFile(const std::string& path)
        : handle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~LockedFile() { CloseHandle(handle); }
    HANDLE handle;
};

TEST(LockedFiles, LockedGridFileFailsTheOpenAndTheSave) {
    TempFolder folder;
    const std::string mapPath = folder.file("stage.map");
    MapDocument saved;
    saved.setCell(2, 2, 1);
    ASSERT_EQ(WriteMapFilePairFiles(mapPath, saved), SaveOutcome::Saved);
    const std::string oldGrid = readFileBytes(mapPath);
    const std::string oldXml = readFileBytes(folder.file("stage.xml"));

    MapDocument document;
    document.setMapName("open");
    const MapDocument before = document;
    {
        LockedFile lock(mapPath);
        ASSERT_NE(lock.handle, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(ReadMapFilePair(mapPath, document));
        EXPECT_TRUE(document == before);
        EXPECT_EQ(WriteMapFilePairFiles(mapPath, document), SaveOutcome::Failed);
    }
    EXPECT_EQ(readFileBytes(mapPath), oldGrid);
    EXPECT_EQ(readFileBytes(folder.file("stage.xml")), oldXml);
    EXPECT_FALSE(fileExists(mapPath + ".kalmia-new"));
    EXPECT_FALSE(fileExists(folder.file("stage.xml.kalmia-new")));
}

}  // namespace
