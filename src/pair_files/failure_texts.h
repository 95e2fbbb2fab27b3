// The texts of a Failure (system/failure.h): a stable name for machine-
// readable output, the reason in English for the command-line tool, and the
// Japanese sentence of the editor's failure box.
#pragma once

#include <string>

#include "system/failure.h"

// A short stable name of the kind for machine-readable output ("not-well-formed").
std::string FailureKindName(FailureKind kind);

// The reason in English, without file or place: "not well-formed XML: mismatched tag".
std::string FailureEnglish(const Failure& failure);

// One Japanese sentence in the ANSI code page, naming the file (a name, not a
// path) and the place where known:
// "stage.xml の 3 行 12 列: XML の書式が正しくありません。"
std::string FailureSentence(const Failure& failure, const std::string& fileName);

enum class FailedAction { Open, Save };

// The whole text of the failure box of an Open or a Save: the fixed first
// line ("読み込みに失敗しました", "保存に失敗しました"), a blank line, then
// the sentence.
std::string FailureBoxText(const Failure& failure, const std::string& fileName,
                           FailedAction action = FailedAction::Open);
