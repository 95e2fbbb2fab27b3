// The texts that tell the user why an Open was refused: the Japanese
// sentence of the failure box and the English reason of the tool.
#include <gtest/gtest.h>

#include <vector>

#include "pair_files/failure_texts.h"
#include "test_support.h"

namespace {

struct TextCase {
    Failure failure;
    std::string fileName;
    const char* sentence;  // UTF-8
    const char* english;
};

using K = FailureKind;

TEST(FailureTexts, EachKindNamesTheFileThePlaceAndWhatIsWrong) {
    const std::vector<TextCase> cases = {
        {{K::NotWellFormed, "", 3, 12, "mismatched tag"},
         "stage.xml",
         u8"stage.xml の 3 行 12 列: XML の書式が正しくありません。",
         "not well-formed XML: mismatched tag"},
        {{K::FileUnreadable, "", 0, 0, ""},
         "stage.xml",
         u8"stage.xml: ファイルが見つからないか、読み込めません。",
         "file is missing or cannot be read"},
        {{K::FileUnreadable, "", 0, 0, ""},
         "stage.map",
         u8"stage.map: ファイルが見つからないか、読み込めません。",
         "file is missing or cannot be read"},
        {{K::FileTooLarge, "", 0, 0, ""},
         "big.xml",
         u8"big.xml: ファイルが大きすぎます（64 MB まで）。",
         "file is larger than 64 MB"},
        {{K::UnknownEncoding, "", 1, 31, "EBCDIC"},
         "a.xml",
         u8"a.xml の 1 行 31 列: 文字コード EBCDIC には対応していません。",
         "unknown character encoding 'EBCDIC'"},
        {{K::NestedTooDeep, "", 2, 5, ""},
         "a.xml",
         u8"a.xml の 2 行 5 列: 要素の入れ子が深すぎます（1000 段まで）。",
         "elements nested deeper than 1000 levels"},
        {{K::ExternalEntity, "", 1, 9, "reference to an external entity"},
         "a.xml",
         u8"a.xml の 1 行 9 列: ファイルの外で定義された実体を参照しています。",
         "reference to an external entity; such entities are never read"},
        {{K::NumberEmpty, "", 4, 1, "y"},
         "a.xml",
         u8"a.xml の 4 行 1 列: 要素 y が空です。",
         "element <y> is empty"},
        {{K::NotANumber, "", 1, 2, "rank1"},
         "a.xml",
         u8"a.xml の 1 行 2 列: 要素 rank1 の値が数値ではありません。",
         "element <rank1> does not hold a number"},
        {{K::NumberOutOfRange, "", 1, 2, "x"},
         "a.xml",
         u8"a.xml の 1 行 2 列: 要素 x の値が範囲外です。",
         "element <x> is outside the 32-bit range"},
        {{K::SizeRefused, "", 0, 0, "1 x 0"},
         "a.xml",
         u8"a.xml: マップの大きさ 1 x 0 は扱えません。",
         "map size 1 x 0 refused: no rows, or over 100,000 rows or 100,000,000 cells"},
        {{K::WriteFailed, "", 0, 0, "No space left on device"},
         "a.map",
         u8"a.map: ファイルを書き込めません（No space left on device）。",
         "cannot write: No space left on device"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(FailureSentence(c.failure, c.fileName), sjis(c.sentence)) << c.english;
        EXPECT_EQ(FailureEnglish(c.failure), c.english);
    }
    // A Japanese file name stays as the dialog gave it.
    const Failure failure{K::NotWellFormed, "", 1, 1, "syntax error"};
    EXPECT_EQ(FailureSentence(failure, sjis(u8"ステージ１.xml")),
              sjis(u8"ステージ１.xml の 1 行 1 列: XML の書式が正しくありません。"));
}

TEST(FailureTexts, TheBoxKeepsItsFirstLineAndAddsTheSentenceAfterABlankLine) {
    const Failure failure{K::NumberEmpty, "", 2, 3, "x"};
    EXPECT_EQ(FailureBoxText(failure, "s.xml"),
              sjis(u8"読み込みに失敗しました\n\ns.xml の 2 行 3 列: 要素 x が空です。"));
}

}  // namespace
