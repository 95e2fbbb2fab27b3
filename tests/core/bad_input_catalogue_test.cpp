// What a user gets from damaged or hostile map file pairs: for each case,
// either the Open fails and the map stays exactly as it was (the program then
// shows the load failure box), or the pair is read by the normal rules.
#include <gtest/gtest.h>

#include <cstdio>
#ifndef _WIN32
#include <sys/wait.h>
#endif
#include <random>

#include "pair_files/failure_texts.h"
#include "pair_files/map_file_pair.h"
#include "test_support.h"
#include "xml/xml_loading.h"

namespace {

enum class Outcome { Unchanged, Read };

// Why an Open was refused: the kind, then line and column (0 where no place
// applies). Every refusal in the catalogue is in the parameter file.
struct Reason {
    FailureKind kind;
    int line;
    int column;
};

using K = FailureKind;

struct BadInput {
    const char* what;
    std::string xml;
    std::string grid;
    Outcome outcome;
    std::string rows;  // for Read: the rows of the map read
    Reason reason;     // for Unchanged
};

std::string pair(const std::string& elements) {
    return "<?xml version='1.0' encoding='SHIFT_JIS'?><root>" + elements + "</root>";
}

std::string nested(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<a>";
    for (int i = 0; i < depth; ++i) text += "</a>";
    return "<root><x>1</x><y>1</y>" + text + "</root>";
}

std::string billionLaughs() {
    std::string doctype = "<!DOCTYPE root [<!ENTITY lol \"lol\">";
    for (int i = 1; i <= 9; ++i) {
        doctype += "<!ENTITY lol" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) doctype += "&lol" + (i > 1 ? std::to_string(i - 1) : "") + ";";
        doctype += "\">";
    }
    return doctype + "]><root><x>1</x><y>1</y><name>&lol9;</name></root>";
}

std::string randomBytes(int count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes;
    for (int i = 0; i < count; ++i) bytes += static_cast<char>(random());
    return bytes;
}

std::vector<BadInput> catalogue() {
    const std::string one = "<x>1</x><y>1</y>";
    const Reason none{};
    return {
        {"x of 2147483647",
         pair("<x>2147483647</x><y>1</y>"),
         "1",
         Outcome::Unchanged,
         "",
         {K::SizeRefused, 0, 0}},
        {"x of 2147483648",
         pair("<x>2147483648</x><y>1</y>"),
         "1",
         Outcome::Unchanged,
         "",
         {K::NumberOutOfRange, 1, 49}},
        {"y of 2147483647",
         pair("<x>1</x><y>2147483647</y>"),
         "1",
         Outcome::Unchanged,
         "",
         {K::SizeRefused, 0, 0}},
        {"y of 2147483648",
         pair("<x>1</x><y>2147483648</y>"),
         "1",
         Outcome::Unchanged,
         "",
         {K::NumberOutOfRange, 1, 57}},
        {"y of 0", pair("<x>1</x><y>0</y>"), "1", Outcome::Unchanged, "", {K::SizeRefused, 0, 0}},
        {"negative y",
         pair("<x>1</x><y>-3</y>"),
         "1",
         Outcome::Unchanged,
         "",
         {K::SizeRefused, 0, 0}},
        {"x * y just over the limit",
         pair("<x>10000</x><y>10001</y>"),
         "",
         Outcome::Unchanged,
         "",
         {K::SizeRefused, 0, 0}},
        {"one row over the limit of rows",
         pair("<x>1</x><y>100001</y>"),
         "",
         Outcome::Unchanged,
         "",
         {K::SizeRefused, 0, 0}},
        {"empty rows at the limit of rows", pair("<x>0</x><y>100000</y>"), "", Outcome::Read,
         std::string(MAX_GRID_ROWS, '|'), none},
        {"leading plus", pair("<x>+2</x><y>+1</y>"), "11", Outcome::Read, "11|", none},
        {"white space around numbers", pair("<x>\n 2 </x><y>\t1\t</y>"), "11", Outcome::Read, "11|",
         none},
        {"trailing letters", pair("<x>2px</x><y>1 row</y>"), "10", Outcome::Read, "10|", none},
        {"a number in letters",
         pair("<x>two</x><y>1</y>"),
         "11",
         Outcome::Unchanged,
         "",
         {K::NotANumber, 1, 49}},
        {"an empty number element on a later line",
         pair("<x>1</x>\r\n  <y/>"),
         "1",
         Outcome::Unchanged,
         "",
         {K::NumberEmpty, 2, 3}},
        {"empty parameter file", "", "1", Outcome::Unchanged, "", {K::NotWellFormed, 1, 1}},
        {"truncated parameter file",
         pair(one).substr(0, 50),
         "1",
         Outcome::Unchanged,
         "",
         {K::NotWellFormed, 1, 49}},
        {"random bytes",
         randomBytes(4000, 1),
         "1",
         Outcome::Unchanged,
         "",
         {K::NotWellFormed, 1, 2}},
        {"nested a million levels deep",
         nested(1'000'000),
         "1",
         Outcome::Unchanged,
         "",
         {K::NestedTooDeep, 1, 3020}},
        {"entity expansion",
         billionLaughs(),
         "1",
         Outcome::Unchanged,
         "",
         {K::NotWellFormed, 1, 749}},
        {"external entity, nothing fetched",
         "<!DOCTYPE root [<!ENTITY ext SYSTEM \"file:///etc/passwd\">]><root>" + one +
             "<name>&ext;</name></root>",
         "1",
         Outcome::Unchanged,
         "",
         {K::ExternalEntity, 1, 88}},
        {"undefined entity",
         pair(one + "<name>&nbsp;</name>"),
         "1",
         Outcome::Unchanged,
         "",
         {K::NotWellFormed, 1, 71}},
        {"an entity of the internal subset",
         "<!DOCTYPE root [<!ENTITY n \"stage\">]><root>" + one + "<name>&n; 1</name></root>", "1",
         Outcome::Read, "1|", none},
        {"duplicate attribute",
         pair(one + "<name a='1' a='2'/>"),
         "1",
         Outcome::Unchanged,
         "",
         {K::NotWellFormed, 1, 77}},
        {"-- inside a comment",
         pair(one + "<!-- a -- b -->"),
         "1",
         Outcome::Unchanged,
         "",
         {K::NotWellFormed, 1, 74}},
        {"declaration not at the start",
         " " + pair(one),
         "1",
         Outcome::Unchanged,
         "",
         {K::NotWellFormed, 1, 2}},
        {"declaration of version 2.0",
         "<?xml version='2.0'?><root>" + one + "</root>",
         "1",
         Outcome::Unchanged,
         "",
         {K::NotWellFormed, 1, 1}},
        {"unknown encoding",
         "<?xml version='1.0' encoding='EBCDIC-XX'?><root/>",
         "1",
         Outcome::Unchanged,
         "",
         {K::UnknownEncoding, 1, 31}},
        {"invalid UTF-8",
         "<root><x>1</x><y>1</y><name>\xC0\xAF</name></root>",
         "1",
         Outcome::Unchanged,
         "",
         {K::NotWellFormed, 1, 29}},
        {"Shift_JIS ending inside a character",
         pair(one + "<name>\x83"),
         "1",
         Outcome::Unchanged,
         "",
         {K::NotWellFormed, 1, 71}},
        {"invalid Shift_JIS on a later line",
         pair(one + "\n<name>\x83\x58\x83\x20</name>"),
         "1",
         Outcome::Unchanged,
         "",
         {K::NotWellFormed, 2, 8}},
        {"NUL byte in a name",
         pair(one + std::string("<name>a\0b</name>", 16)),
         "1",
         Outcome::Unchanged,
         "",
         {K::NotWellFormed, 1, 72}},
        {"surplus and unknown elements", pair("<z>1</z>" + one + "<x2>5</x2><name><b/></name>"),
         "1", Outcome::Read, "1|", none},
        {"empty grid file", pair("<x>2</x><y>2</y>"), "", Outcome::Read, "00|00|", none},
        {"grid of other characters", pair("<x>3</x><y>1</y>"), "a1\xFF", Outcome::Read, "010|",
         none},
    };
}

class BadInputCatalogue : public testing::Test {
  protected:
    void SetUp() override {
        document.resizeGrid(4, 3);
        document.setCell(1, 1, 1);
        document.setMapName("open map");
        document.applyThresholds(10, 20, 90, 80);
        before = document;
    }
    Result<PairSources> open(const std::string& mapPath) {
        return ReadMapFilePair(mapPath, document);
    }
    void expectUnchanged(const char* what) { EXPECT_TRUE(document == before) << what; }
    TempFolder folder;
    MapDocument document, before;
};

TEST_F(BadInputCatalogue, DamagedParameterFilesAreRefusedWithTheirReasonOrReadByTheRules) {
    for (const BadInput& input : catalogue()) {
        document = before;
        writeFileBytes(folder.file("bad.xml"), input.xml);
        writeFileBytes(folder.file("bad.map"), input.grid);
        const Result<PairSources> read = open(folder.file("bad.map"));
        if (input.outcome == Outcome::Unchanged) {
            ASSERT_FALSE(read.ok()) << input.what;
            expectUnchanged(input.what);
            const Failure& failure = read.failure();
            EXPECT_EQ(failure.file, folder.file("bad.xml")) << input.what;
            EXPECT_EQ(FailureKindName(failure.kind), FailureKindName(input.reason.kind))
                << input.what;
            EXPECT_EQ(failure.line, input.reason.line) << input.what;
            EXPECT_EQ(failure.column, input.reason.column) << input.what;
        } else {
            ASSERT_TRUE(read.ok()) << input.what << ": " << FailureEnglish(read.failure());
            EXPECT_EQ(rowsOf(document), input.rows) << input.what;
        }
    }
}

#ifdef KALMIA_CLI
// The command-line tool, run as a user runs it, agrees with the Open on
// every case: exit 0 where the pair is read, 1 and the same reason where
// it is refused.
TEST_F(BadInputCatalogue, KalmiaCliCheckAgreesWithTheOpen) {
    for (const BadInput& input : catalogue()) {
        writeFileBytes(folder.file("bad.xml"), input.xml);
        writeFileBytes(folder.file("bad.map"), input.grid);
        const std::string command =
            std::string(KALMIA_CLI) + " check --json '" + folder.file("bad.map") + "' 2>/dev/null";
        FILE* output = popen(command.c_str(), "r");
        ASSERT_NE(output, nullptr);
        std::string json;
        char buffer[4096];
        while (size_t count = std::fread(buffer, 1, sizeof buffer, output))
            json.append(buffer, count);
        const int status = pclose(output);
        const bool refused = input.outcome == Outcome::Unchanged;
        EXPECT_EQ(WEXITSTATUS(status), refused ? 1 : 0) << input.what;
        if (refused) {
            const std::string kind = "\"kind\":\"" + FailureKindName(input.reason.kind) + "\"";
            EXPECT_NE(json.find(kind), std::string::npos) << input.what << ": " << json;
        }
    }
}
#endif

TEST_F(BadInputCatalogue, MissingFolderOrOversizedFilesFailTheOpenNamingTheFile) {
    writeFileBytes(folder.file("lost.xml"), pair("<x>1</x><y>1</y>"));
    writeFileBytes(folder.file("dir.xml"), pair("<x>1</x><y>1</y>"));
    makeFolder(folder.file("dir.map"));
    makeFolder(folder.file("both.map"));
    makeFolder(folder.file("both.xml"));
    {
        // A sparse parameter file one byte over the limit.
        FILE* file = std::fopen(folder.file("huge.xml").c_str(), "wb");
        ASSERT_NE(file, nullptr);
        ASSERT_EQ(std::fseek(file, MAX_XML_FILE_BYTES, SEEK_SET), 0);
        std::fputc(' ', file);
        std::fclose(file);
    }
    struct FileCase {
        const char* name;
        const char* file;
        FailureKind kind;
    };
    const FileCase cases[] = {
        {"lost.map", "lost.map", K::FileUnreadable}, {"dir.map", "dir.map", K::FileUnreadable},
        {"both.map", "both.xml", K::FileUnreadable}, {"none.map", "none.xml", K::FileUnreadable},
        {"huge.map", "huge.xml", K::FileTooLarge},
    };
    for (const FileCase& c : cases) {
        const Result<PairSources> read = open(folder.file(c.name));
        ASSERT_FALSE(read.ok()) << c.name;
        EXPECT_EQ(read.failure().file, folder.file(c.file)) << c.name;
        EXPECT_EQ(read.failure().kind, c.kind) << c.name;
        EXPECT_EQ(read.failure().line, 0) << c.name;
    }
    expectUnchanged("missing, folder or oversized");
}

TEST_F(BadInputCatalogue, HugeGridFileForASmallMapIsReadOnlyAsFarAsNeeded) {
    writeFileBytes(folder.file("huge.xml"), pair("<x>3</x><y>2</y>"));
    {
        FILE* file = std::fopen(folder.file("huge.map").c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fputs("111\r\n101\r\n", file);
        // A sparse gigabyte after the rows: reading it would take seconds.
        ASSERT_EQ(std::fseek(file, 1LL << 30, SEEK_SET), 0);
        std::fputc('1', file);
        std::fclose(file);
    }
    ASSERT_TRUE(open(folder.file("huge.map")));
    EXPECT_EQ(rowsOf(document), "111|101|");
}

struct BadSave {
    const char* what;
    std::string path;
};

TEST_F(BadInputCatalogue, SavesThatCannotBeWrittenFail) {
    makeFolder(folder.file("taken.map"));
    std::string longName = folder.path() + "/";
    longName += std::string(259 - longName.size() - 4, 'n') + ".map";
    const BadSave saves[] = {
        {"missing folder", folder.file("missing/stage.map")},
        {"a folder where the grid file goes", folder.file("taken.map")},
    };
    // A disk that fills up: SafeSave.FullDiskLeavesTheOldPairAndNoNewFiles.
    for (const BadSave& save : saves)
        EXPECT_EQ(WriteMapFilePairFiles(save.path, document).failure().kind,
                  FailureKind::WriteFailed)
            << save.what;
#ifndef _WIN32
    // A device that is always full: every write of the grid text fails.
    EXPECT_FALSE(WriteGridFile("/dev/full", document.cells));
#endif
    // A path of 259 characters is as long as the file dialogs give; it saves.
    ASSERT_EQ(longName.size(), 259u);
    EXPECT_TRUE(WriteMapFilePairFiles(longName, document));
}

}  // namespace
