// Finding a place: the Go to cell dialog's numbers, and the map path on the
// command line.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "view/goto_dialog.h"

namespace {

TEST(GoToCell, LinesAndColumnsCountFromOneAndPlacesOutsideTheMapGiveTheNearestCell) {
    MapDocument document;
    document.resizeGrid(300, 200);
    struct Case {
        const char *line, *column;
        CellPosition cell;
    };
    const Case cases[] = {
        {"1", "1", {0, 0}},       {"200", "300", {299, 199}},    {"17", "129", {128, 16}},
        {"0", "-5", {0, 0}},      {"999999", "301", {299, 199}}, {"x", "", {0, 0}},
        {" 12abc", "3", {2, 11}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GotoCell({c.line, c.column}, document), c.cell) << c.line << " " << c.column;
    const GotoTexts texts = GotoTextsFor({128, 16});
    EXPECT_EQ(texts.line, "17");
    EXPECT_EQ(texts.column, "129");
}

TEST(CommandLine, TheMapPathWithOrWithoutQuotes) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"   ", ""},
        {"stage.map", "stage.map"},
        {"  C:\\maps\\stage.map  ", "C:\\maps\\stage.map"},
        {"\"C:\\my maps\\stage 1.map\"", "C:\\my maps\\stage 1.map"},
        {"\"C:\\my maps\\stage.map\" --extra", "C:\\my maps\\stage.map"},
        {"C:\\my maps\\stage 1.map", "C:\\my maps\\stage 1.map"},
        {"\"unclosed path.map", "unclosed path.map"},
    };
    for (const auto& [line, path] : cases) EXPECT_EQ(MapPathFromCommandLine(line), path) << line;
}

}  // namespace
