// Files another program holds open: without sharing, an Open fails and keeps
// the map and a Save fails and keeps the pair. Shared for reading and writing
// but not for deleting, the files cannot be replaced, so a Save rewrites them
// in place, and puts both old files back if that fails part-way. A read-only
// file is not replaced at all; other attributes stay with the new files.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "core/test_support.h"
#include "pair_files/map_file_pair.h"

namespace {

struct LockedFile {
    explicit LockedFile(const std::string& path, DWORD sharing = 0)
        : handle(CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~LockedFile() { CloseHandle(handle); }
    HANDLE handle;
};

TEST(LockedFiles, LockedGridFileFailsTheOpenAndTheSave) {
    TempFolder folder;
    const std::string mapPath = folder.file("stage.map");
    MapDocument saved;
    saved.setCell(2, 2, 1);
    ASSERT_TRUE(WriteMapFilePairFiles(mapPath, saved));
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
        EXPECT_EQ(WriteMapFilePairFiles(mapPath, document).failure().kind,
                  FailureKind::WriteFailed);
    }
    EXPECT_EQ(readFileBytes(mapPath), oldGrid);
    EXPECT_EQ(readFileBytes(folder.file("stage.xml")), oldXml);
    EXPECT_FALSE(fileExists(SaveFilesFor(mapPath).newGrid));
    EXPECT_FALSE(fileExists(SaveFilesFor(mapPath).newParameters));
}

constexpr DWORD SHARE_READ_WRITE = FILE_SHARE_READ | FILE_SHARE_WRITE;

struct HeldPair {
    TempFolder folder;
    std::string mapPath = folder.file("stage.map");
    std::string xmlPath = folder.file("stage.xml");
    std::string oldGrid, oldXml;
    MapDocument newMap;

    HeldPair() {
        MapDocument old;
        old.setCell(2, 2, 1);
        EXPECT_TRUE(WriteMapFilePairFiles(mapPath, old));
        oldGrid = readFileBytes(mapPath);
        oldXml = readFileBytes(xmlPath);
        newMap.resizeGrid(60, 40);
        newMap.setMapName("new");
    }
    std::vector<std::string> sideFilesLeft() const {
        const SaveFiles files = SaveFilesFor(mapPath);
        std::vector<std::string> left;
        for (const std::string& side :
             {files.newGrid, files.newParameters, files.oldGrid, files.oldParameters, files.journal,
              files.journalDraft, files.lock})
            if (fileExists(side)) left.push_back(side);
        return left;
    }
};

TEST(LockedFiles, FilesHeldWithoutDeleteSharingAreRewrittenInPlace) {
    HeldPair pair;
    {
        LockedFile gridHeld(pair.mapPath, SHARE_READ_WRITE);
        LockedFile xmlHeld(pair.xmlPath, SHARE_READ_WRITE);
        ASSERT_NE(gridHeld.handle, INVALID_HANDLE_VALUE);
        EXPECT_TRUE(WriteMapFilePairFiles(pair.mapPath, pair.newMap));
    }
    MapDocument read;
    ASSERT_TRUE(ReadMapFilePair(pair.mapPath, read));
    EXPECT_TRUE(read == pair.newMap);
    EXPECT_TRUE(pair.sideFilesLeft().empty());
}

TEST(LockedFiles, AGridWriteThatFailsInPlacePutsBothOldFilesBack) {
    HeldPair pair;
    {
        // The parameter file can only be rewritten in place; the grid file
        // not even that, since its holder shares it for reading only.
        LockedFile xmlHeld(pair.xmlPath, SHARE_READ_WRITE);
        LockedFile gridHeld(pair.mapPath, FILE_SHARE_READ);
        ASSERT_NE(gridHeld.handle, INVALID_HANDLE_VALUE);
        EXPECT_EQ(WriteMapFilePairFiles(pair.mapPath, pair.newMap).failure().kind,
                  FailureKind::WriteFailed);
    }
    EXPECT_EQ(readFileBytes(pair.mapPath), pair.oldGrid);
    EXPECT_EQ(readFileBytes(pair.xmlPath), pair.oldXml);
    EXPECT_TRUE(pair.sideFilesLeft().empty());
}

// As other Windows programs, Kalmia does not replace a read-only file.
TEST(LockedFiles, AReadOnlyParameterFileFailsTheSaveAndStaysReadOnly) {
    HeldPair pair;
    ASSERT_TRUE(SetFileAttributesA(pair.xmlPath.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(WriteMapFilePairFiles(pair.mapPath, pair.newMap).failure().kind,
              FailureKind::WriteFailed);
    EXPECT_EQ(readFileBytes(pair.mapPath), pair.oldGrid);
    EXPECT_EQ(readFileBytes(pair.xmlPath), pair.oldXml);
    EXPECT_TRUE(GetFileAttributesA(pair.xmlPath.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(pair.sideFilesLeft().empty());
    SetFileAttributesA(pair.xmlPath.c_str(), FILE_ATTRIBUTE_NORMAL);  // for the folder's removal
}

// A save keeps the files' attributes, as it keeps permission bits natively.
TEST(LockedFiles, ASaveKeepsTheFilesAttributes) {
    HeldPair pair;
    ASSERT_TRUE(SetFileAttributesA(pair.mapPath.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA(pair.xmlPath.c_str(), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(WriteMapFilePairFiles(pair.mapPath, pair.newMap));
    EXPECT_NE(readFileBytes(pair.mapPath), pair.oldGrid);
    EXPECT_TRUE(GetFileAttributesA(pair.mapPath.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(GetFileAttributesA(pair.xmlPath.c_str()) & FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA(pair.mapPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(pair.xmlPath.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
