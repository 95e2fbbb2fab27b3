// The map file pair as written and as read, byte for byte and rule by rule.
#include "pair_files/map_file_pair.h"

#include <gtest/gtest.h>

#include <random>

#include "test_support.h"

namespace {

std::string parameterFile(const std::string& elements) {
    return "<?xml version='1.0' encoding='SHIFT_JIS'?><root>" + elements + "</root>";
}

class MapFilePairTest : public testing::Test {
  protected:
    // Writes base.xml and base.map and reads them into `document`.
    bool read(const std::string& xml, const std::string& grid) {
        writeFileBytes(folder.file("base.xml"), xml);
        writeFileBytes(folder.file("base.map"), grid);
        return ReadMapFilePair(folder.file("base.map"), document).ok();
    }
    TempFolder folder;
    MapDocument document;
};

TEST(MakeXmlPathTest, ReplacesTheLastThreeCharacters) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\maps\\stage1.map", "C:\\maps\\stage1.xml"},
        {"stage.txt", "stage.xml"},
        {"stage.m", "stagxml"},
        {"abc", "xml"},
        {"ab", "abxml"},
        {"", "xml"},
    };
    for (const auto& [map, xml] : cases) EXPECT_EQ(MakeXmlPath(map), xml) << map;
}

TEST_F(MapFilePairTest, NewMapIsWrittenAsTheGoldenPair) {
    const std::string path = folder.file("stage1.map");
    ASSERT_TRUE(WriteMapFilePairFiles(path, MapDocument()));
    const std::string grid = readFileBytes(path);
    EXPECT_EQ(grid.size(), 2600u);
    EXPECT_EQ(grid, readFileBytes(testDataPath("pairs/new_map.map")));
    EXPECT_EQ(readFileBytes(folder.file("stage1.xml")),
              readFileBytes(testDataPath("pairs/new_map.xml")));
}

TEST_F(MapFilePairTest, WrittenCellsThresholdsAndJapaneseName) {
    document.resizeGrid(3, 2);
    document.setCell(0, 0, 1);
    document.setCell(2, 1, 1);
    document.applyThresholds(-5, 7, 80, -3);
    document.setMapName(sjis(u8"森 & <ステージ> "));
    const std::string path = folder.file("small.map");
    ASSERT_TRUE(WriteMapFilePairFiles(path, document));
    EXPECT_EQ(readFileBytes(path), "100\r\n001\r\n");
    EXPECT_EQ(readFileBytes(folder.file("small.xml")),
              parameterFile("<x>3</x><y>2</y><rank1>-5</rank1><rank2>7</rank2><rate1>80</rate1>"
                            "<rate2>-3</rate2><name>" +
                            sjis(u8"森 &amp; &lt;ステージ&gt; ") + "</name>"));
}

struct ReadCase {
    const char* what;
    std::string elements;
    std::string grid;
    std::string rows;
};

TEST_F(MapFilePairTest, GridIsReadByTheWidthAndHeightOfTheParameterFile) {
    const std::string size = "<x>3</x><y>2</y>";
    const ReadCase cases[] = {
        {"CR LF lines", size, "101\r\n010\r\n", "101|010|"},
        {"lone LF lines", size, "101\n010\n", "101|010|"},
        {"long line shifts the rest", size, "1011\r\n0100\r\n", "101|001|"},
        {"short file gives clear cells", size, "1", "100|000|"},
        {"fewer rows than y", "<x>2</x><y>3</y>", "11\r\n", "11|00|00|"},
        {"only 1 sets a cell", size, "1x2\r\n 1#\r\n", "100|010|"},
        {"0x1A ends the file", size,
         "11\x1A"
         "1\r\n111\r\n",
         "110|000|"},
        {"a lone CR is a character", size, "1\r1\r\n111\r\n", "101|111|"},
        {"width 0", "<x>0</x><y>2</y>", "\r\n\r\n", "||"},
        {"negative width", "<x>-4</x><y>1</y>", "111", "|"},
        {"root children only", size + "<sub><x>9</x></sub>", "101\r\n010\r\n", "101|010|"},
        {"the last occurrence wins", "<x>9</x><y>2</y><x>3</x>", "101\r\n010\r\n", "101|010|"},
        {"names are case-sensitive", size + "<X>9</X><Y>9</Y>", "101\r\n010\r\n", "101|010|"},
    };
    for (const ReadCase& c : cases) {
        document = MapDocument();
        ASSERT_TRUE(read(parameterFile(c.elements), c.grid)) << c.what;
        EXPECT_EQ(rowsOf(document), c.rows) << c.what;
    }
}

// The grid file is read in blocks of 64 KB: a CR as the last byte of a block
// must pair with an LF that opens the next block, stand alone before any
// other byte, the end of the file or a 0x1A that ends it.
TEST_F(MapFilePairTest, ACarriageReturnAtTheEndOfABlockIsReadAsInTextMode) {
    constexpr size_t BLOCK = 65536;
    const std::string firstRow(BLOCK - 1, '1');  // the CR falls on the block's last byte
    const std::string size = "<x>" + std::to_string(BLOCK - 1) + "</x><y>2</y>";
    const std::string pattern = "0110";
    const std::string secondRow = [&] {
        std::string row;
        while (row.size() < BLOCK - 1) row += pattern;
        return row.substr(0, BLOCK - 1);
    }();
    struct BoundaryCase {
        const char* what;
        std::string afterCr;
        std::string secondRow;
    };
    const BoundaryCase cases[] = {
        {"CR LF across the blocks", "\n" + secondRow, secondRow},
        {"a lone CR, then the next row", secondRow, secondRow},
        {"a CR as the file's last byte", "", std::string(BLOCK - 1, '0')},
        {"a CR, then 0x1A opening the next block", "\x1A" + secondRow, std::string(BLOCK - 1, '0')},
    };
    for (const BoundaryCase& c : cases) {
        document = MapDocument();
        ASSERT_TRUE(read(parameterFile(size), firstRow + "\r" + c.afterCr)) << c.what;
        EXPECT_EQ(rowsOf(document), firstRow + "|" + c.secondRow + "|") << c.what;
    }
}

TEST_F(MapFilePairTest, NumbersSkipLeadingSpaceAndIgnoreWhatFollows) {
    ASSERT_TRUE(read(parameterFile("<x> +2</x><y>\t1 rows</y><rank1>12 </rank1><rank2>13abc</rank2>"
                                   "<rate1>-7</rate1><rate2>-8.5</rate2>"),
                     "11\r\n"));
    EXPECT_EQ(document.gridSize(), std::make_pair(2, 1));
    EXPECT_EQ(document.rank1, 12);
    EXPECT_EQ(document.rank2, 13);
    EXPECT_EQ(document.rate1, -7);
    EXPECT_EQ(document.rate2, -8);
}

TEST_F(MapFilePairTest, ThresholdsFollowTheRuleAgainstThePreviousMap) {
    document.applyThresholds(100, 999, 90, 50);
    ASSERT_TRUE(read(parameterFile("<x>1</x><y>1</y><rank1>300</rank1><rank2>200</rank2>"
                                   "<rate1>80</rate1><rate2>85</rate2>"),
                     "1\r\n"));
    EXPECT_EQ(document.rank1, 300);
    EXPECT_EQ(document.rank2, 999);
    EXPECT_EQ(document.rate1, 80);
    EXPECT_EQ(document.rate2, 50);
}

TEST_F(MapFilePairTest, AbsentElementsReadAsZeroAndAnEmptyName) {
    document.setMapName("old");
    ASSERT_TRUE(read("<stage><y>1</y></stage>", ""));
    EXPECT_EQ(document.rank1, 0);
    EXPECT_EQ(document.rank2, 0);  // 0 >= 0
    EXPECT_EQ(document.rate1, 0);
    EXPECT_EQ(document.rate2, 0);
    EXPECT_EQ(document.name, "");
    EXPECT_EQ(rowsOf(document), "|");
}

TEST_F(MapFilePairTest, NamesTheLastWinsAndAnEmptyOneIsEmpty) {
    ASSERT_TRUE(read(
        parameterFile("<x>1</x><y>1</y><name>first</name><name>" + sjis(u8"二番目") + "</name>"),
        "0"));
    EXPECT_EQ(document.name, sjis(u8"二番目"));
    ASSERT_TRUE(read(parameterFile("<x>1</x><y>1</y><name>first</name><name> </name>"), "0"));
    EXPECT_EQ(document.name, "");
}

TEST_F(MapFilePairTest, FailedOpensLeaveTheDocumentExactlyAsItWas) {
    const ReadCase cases[] = {
        {"not well-formed", "<x>1</x><y>1", "1", ""},
        {"empty x", "<x></x><y>1</y>", "1", ""},
        {"empty y", "<x>1</x><y/>", "1", ""},
        {"rank1 not a number", "<x>1</x><y>1</y><rank1>abc</rank1>", "1", ""},
        {"rate2 only a sign", "<x>1</x><y>1</y><rate2>-</rate2>", "1", ""},
        {"x beyond 32 bits", "<x>2147483648</x><y>1</y>", "1", ""},
        {"rank2 below 32 bits", "<x>1</x><y>1</y><rank2>-2147483649</rank2>", "1", ""},
        {"y of 0", "<x>1</x><y>0</y>", "1", ""},
        {"negative y", "<x>1</x><y>-1</y>", "1", ""},
        {"y absent", "<x>1</x>", "1", ""},
        {"beyond the cell limit", "<x>10001</x><y>10000</y>", "1", ""},
        {"x and y of 2147483647", "<x>2147483647</x><y>2147483647</y>", "1", ""},
        {"too many rows", "<x>0</x><y>2147483647</y>", "", ""},
    };
    for (const ReadCase& c : cases) {
        document = MapDocument();
        document.setCell(1, 1, 1);
        document.applyThresholds(5, 6, 7, 6);
        document.setMapName("kept");
        const MapDocument before = document;
        EXPECT_FALSE(read(parameterFile(c.elements), c.grid)) << c.what;
        EXPECT_TRUE(document == before) << c.what;
    }
}

TEST_F(MapFilePairTest, MissingOrUnreadableFilesFailTheOpen) {
    const MapDocument before = document;
    EXPECT_FALSE(ReadMapFilePair(folder.file("none.map"), document));  // no parameter file
    writeFileBytes(folder.file("lonely.xml"), parameterFile("<x>1</x><y>1</y><name>n</name>"));
    EXPECT_FALSE(ReadMapFilePair(folder.file("lonely.map"), document));  // no grid file
    EXPECT_TRUE(document == before);
}

TEST_F(MapFilePairTest, ReadsNoMoreOfTheGridFileThanTheMapNeeds) {
    std::string grid = "11\r\n";
    grid += std::string(3 << 20, '1');  // a long tail the map does not need
    ASSERT_TRUE(read(parameterFile("<x>2</x><y>1</y>"), grid));
    EXPECT_EQ(rowsOf(document), "11|");
}

TEST_F(MapFilePairTest, RandomMapsComeBackExactly) {
    std::mt19937 random(5);
    const std::vector<std::string> names = {
        "", "   ", "stage", sjis(u8"ステージ１"), sjis(u8"森&<海>"), "a\tb", "x\r\ny"};
    for (int trial = 0; trial < 60; ++trial) {
        MapDocument original;
        const int width = random() % 40, height = 1 + random() % 30;
        original.cells = CellGrid(height, CellRow(width));
        for (CellRow& row : original.cells)
            for (auto& cell : row) cell = random() % 2;
        const int rank1 = int(random() % 2000) - 1000, rate1 = int(random() % 2000) - 1000;
        original.applyThresholds(rank1, rank1 + int(random() % 50), rate1,
                                 rate1 - int(random() % 50));
        original.setMapName(names[random() % names.size()]);
        const std::string path = folder.file("round.map");
        ASSERT_TRUE(WriteMapFilePairFiles(path, original));
        EXPECT_EQ(readFileBytes(path).size(), size_t(height) * (width + 2));
        MapDocument restored;
        ASSERT_TRUE(ReadMapFilePair(path, restored));
        MapDocument expected = original;
        // Blank names are written as kept but come back empty.
        if (expected.name.find_first_not_of(" \t\r\n") == std::string::npos) expected.name = "";
        EXPECT_TRUE(restored == expected) << trial;
    }
}

// The grid file is composed in blocks of 64 KB: rows that end exactly at, one
// before or one after a block's end must still come out as the plain text.
TEST_F(MapFilePairTest, RowsAcrossTheWritersBlocksAreWrittenExactly) {
    constexpr int BLOCK = 65536;
    std::mt19937 random(11);
    for (const int width : {BLOCK - 3, BLOCK - 2, BLOCK - 1, BLOCK, BLOCK + 1, 3 * BLOCK + 5}) {
        MapDocument map;
        map.cells = CellGrid(3, CellRow(width));
        std::string expected;
        for (CellRow& row : map.cells) {
            for (auto& cell : row) {
                cell = random() % 2;
                expected += cell ? '1' : '0';
            }
            expected += "\r\n";
        }
        const std::string path = folder.file("wide.map");
        ASSERT_TRUE(WriteMapFilePairFiles(path, map));
        EXPECT_TRUE(readFileBytes(path) == expected) << "width " << width;
    }
}

}  // namespace
