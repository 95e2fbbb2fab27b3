#include "pair_files/failure_texts.h"

#include <iterator>

#include "system/code_page.h"

namespace {

// "{}" stands for the failure's detail. Japanese texts are UTF-8 here and
// reach the user in the ANSI code page.
struct KindTexts {
    FailureKind kind;
    const char* name;
    const char* japanese;
    const char* english;
};

constexpr KindTexts KIND_TEXTS[] = {
    {FailureKind::FileUnreadable, "file-unreadable", u8"ファイルが見つからないか、読み込めません。",
     "file is missing or cannot be read"},
    {FailureKind::FileTooLarge, "file-too-large", u8"ファイルが大きすぎます（64 MB まで）。",
     "file is larger than 64 MB"},
    {FailureKind::NotWellFormed, "not-well-formed", u8"XML の書式が正しくありません。",
     "not well-formed XML: {}"},
    {FailureKind::UnknownEncoding, "unknown-encoding", u8"文字コード {} には対応していません。",
     "unknown character encoding '{}'"},
    {FailureKind::NestedTooDeep, "nested-too-deep", u8"要素の入れ子が深すぎます（1000 段まで）。",
     "elements nested deeper than 1000 levels"},
    {FailureKind::ExternalEntity, "external-entity",
     u8"ファイルの外で定義された実体を参照しています。", "{}; such entities are never read"},
    {FailureKind::NumberEmpty, "number-empty", u8"要素 {} が空です。", "element <{}> is empty"},
    {FailureKind::NotANumber, "not-a-number", u8"要素 {} の値が数値ではありません。",
     "element <{}> does not hold a number"},
    {FailureKind::NumberOutOfRange, "number-out-of-range", u8"要素 {} の値が範囲外です。",
     "element <{}> is outside the 32-bit range"},
    {FailureKind::SizeRefused, "size-refused", u8"マップの大きさ {} は扱えません。",
     "map size {} refused: no rows, or over 100,000 rows or 100,000,000 cells"},
    {FailureKind::WriteFailed, "write-failed", u8"ファイルを書き込めません（{}）。",
     "cannot write: {}"},
    {FailureKind::Busy, "busy", u8"別のプログラムがこのファイルを保存しています。",
     "another program is saving this pair; try again later"},
};

const KindTexts& textsOf(FailureKind kind) {
    for (const KindTexts& texts : KIND_TEXTS)
        if (texts.kind == kind) return texts;
    return KIND_TEXTS[0];
}

std::string withDetail(const char* pattern, const std::string& detail) {
    std::string text = pattern;
    const size_t at = text.find("{}");
    if (at != std::string::npos) text.replace(at, 2, detail);
    return text;
}

}  // namespace

std::string FailureKindName(FailureKind kind) { return textsOf(kind).name; }

std::string FailureEnglish(const Failure& failure) {
    return withDetail(textsOf(failure.kind).english, failure.detail);
}

std::string FailureSentence(const Failure& failure, const std::string& fileName) {
    std::string place;
    if (failure.line > 0)
        place = u8" の " + std::to_string(failure.line) + u8" 行 " +
                std::to_string(failure.column) + u8" 列";
    const std::string sentence =
        place + ": " + withDetail(textsOf(failure.kind).japanese, failure.detail);
    return fileName + Utf8ToCodePage(CodePage::Ansi, sentence);
}

std::string FailureBoxText(const Failure& failure, const std::string& fileName,
                           FailedAction action) {
    const char* firstLine =
        action == FailedAction::Open ? u8"読み込みに失敗しました\n\n" : u8"保存に失敗しました\n\n";
    return Utf8ToCodePage(CodePage::Ansi, firstLine) + FailureSentence(failure, fileName);
}
