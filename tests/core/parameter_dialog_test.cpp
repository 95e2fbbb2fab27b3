#include "view/parameter_dialog.h"

#include <gtest/gtest.h>

#include "document/decimal_text.h"
#include "system/code_page.h"
#include "test_support.h"

namespace {

struct NumberCase {
    const char* text;
    int dialogValue;
    bool inParameterFile;  // whether the parameter file would accept it
};

TEST(NumberConversion, DialogFieldsAndParameterFilesReadTheSameDigits) {
    const NumberCase cases[] = {
        {"12abc", 12, true},
        {"  7", 7, true},
        {"-5", -5, true},
        {"+8", 8, true},
        {"\t\n 3", 3, true},
        {"abc", 0, false},
        {"", 0, false},
        {"-", 0, false},
        {"- 5", 0, false},
        {"2147483647", 2147483647, true},
        {"-2147483648", -2147483647 - 1, true},
        {"2147483648", 2147483647, false},
        {"99999999999", 2147483647, false},
        {"-99999999999", -2147483647 - 1, false},
        {"000000000000000000042", 42, true},
        {"123456789012345678901234567890", 2147483647, false},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(parseDialogNumber(c.text), c.dialogValue) << '"' << c.text << '"';
        const ParameterNumber fileValue = ReadParameterNumber(c.text);
        EXPECT_EQ(fileValue.problem == NumberProblem::None, c.inParameterFile)
            << '"' << c.text << '"';
        if (fileValue.problem == NumberProblem::None) {
            EXPECT_EQ(fileValue.value, c.dialogValue);
        }
    }
}

ParameterTexts textsOf(const char* name, const char* x, const char* y, const char* rank1,
                       const char* rank2, const char* rate1, const char* rate2) {
    return {name, x, y, rank1, rank2, rate1, rate2};
}

TEST(ParameterTextsLoad, NewDocumentShowsItsDefaults) {
    const ParameterTexts texts = loadParameterTexts(MapDocument());
    EXPECT_EQ(texts.name, "");
    EXPECT_EQ(texts.x, "50");
    EXPECT_EQ(texts.y, "50");
    EXPECT_EQ(texts.rank1, "999");
    EXPECT_EQ(texts.rank2, "999");
    EXPECT_EQ(texts.rate1, "100");
    EXPECT_EQ(texts.rate2, "100");
}

struct ApplyCase {
    const char* what;
    ParameterTexts texts;
    int rank1, rank2, rate1, rate2;
};

TEST(ParameterTextsApply, ThresholdsFollowTheOrderingRule) {
    const ApplyCase cases[] = {
        {"time A/B below S/A is dropped", textsOf("", "50", "50", "500", "400", "100", "100"), 500,
         999, 100, 100},
        {"equal times accepted", textsOf("", "50", "50", "500", "500", "100", "100"), 500, 500, 100,
         100},
        {"rate A/B above S/A is dropped", textsOf("", "50", "50", "999", "999", "80", "90"), 999,
         999, 80, 100},
        {"equal rates accepted", textsOf("", "50", "50", "999", "999", "80", "80"), 999, 999, 80,
         80},
        {"both beyond the old pair", textsOf("", "50", "50", "1200", "1100", "100", "100"), 1200,
         999, 100, 100},
    };
    for (const ApplyCase& c : cases) {
        MapDocument document;
        applyParameterTexts(c.texts, document);
        EXPECT_EQ(document.rank1, c.rank1) << c.what;
        EXPECT_EQ(document.rank2, c.rank2) << c.what;
        EXPECT_EQ(document.rate1, c.rate1) << c.what;
        EXPECT_EQ(document.rate2, c.rate2) << c.what;
    }
}

TEST(ParameterTextsApply, RefusedSizeStillStoresNameAndThresholds) {
    const char* refusedSizes[][2] = {{"0", "10"}, {"-3", "10"},       {"", "10"},
                                     {"10", "0"}, {"10001", "10000"}, {"99999999999", "2"}};
    for (const auto& size : refusedSizes) {
        MapDocument document;
        document.setCell(49, 49, 1);
        applyParameterTexts(textsOf("renamed", size[0], size[1], "10", "20", "90", "80"), document);
        EXPECT_EQ(document.gridSize(), std::make_pair(50, 50)) << size[0] << "x" << size[1];
        EXPECT_EQ(document.cells[49][49], 1);
        EXPECT_EQ(document.name, "renamed");
        EXPECT_EQ(document.rank1, 10);
        EXPECT_EQ(document.rank2, 20);
        EXPECT_EQ(document.rate1, 90);
        EXPECT_EQ(document.rate2, 80);
    }
}

TEST(ParameterTextsApply, NewSizeKeepsTheOverlap) {
    MapDocument document;
    document.setCell(49, 39, 1);
    document.setCell(49, 45, 1);
    applyParameterTexts(textsOf("", "60", "40", "999", "999", "100", "100"), document);
    EXPECT_EQ(document.gridSize(), std::make_pair(60, 40));
    EXPECT_EQ(document.cells[39][49], 1);
    for (int x = 50; x < 60; ++x) EXPECT_EQ(document.cells[39][x], 0);
}

TEST(ParameterTextsApply, OkWithNothingEditedLeavesTheDocumentAsItWas) {
    MapDocument document;
    document.resizeGrid(31, 17);
    document.setCell(3, 4, 1);
    document.applyThresholds(-20, 40, 70, 60);
    document.setMapName(sjis(u8"ステージ"));
    const MapDocument before = document;
    applyParameterTexts(loadParameterTexts(document), document);
    EXPECT_TRUE(document == before);
}

TEST(FieldText, LongTextsAreCutAt254BytesWithoutHalfACharacter) {
    EXPECT_EQ(CutFieldText(std::string(300, 'a'), IsShiftJisLeadByte), std::string(254, 'a'));
    EXPECT_EQ(CutFieldText(std::string(254, 'b'), IsShiftJisLeadByte), std::string(254, 'b'));
    EXPECT_EQ(CutFieldText("short", IsShiftJisLeadByte), "short");

    std::string japanese;
    while (japanese.size() < 300) japanese += sjis(u8"森");  // two bytes each
    EXPECT_EQ(CutFieldText(japanese, IsShiftJisLeadByte), japanese.substr(0, 254));
    const std::string shifted = "a" + japanese;  // a character would straddle byte 254
    const std::string cut = CutFieldText(shifted, IsShiftJisLeadByte);
    EXPECT_EQ(cut.size(), 253u);
    EXPECT_EQ(cut, shifted.substr(0, 253));
    const std::string halfKana = "a" + sjis(u8"ｱ") + japanese;  // single-byte kana stays one byte
    EXPECT_EQ(CutFieldText(halfKana, IsShiftJisLeadByte).size(), 254u);
    EXPECT_EQ(CutFieldText("ab\x83", IsShiftJisLeadByte),
              "ab");  // a lead byte without its second half
}

}  // namespace
