// Why an Open refused a map file pair: which file, where in it, and what is
// wrong, with the texts the user and the command-line tool are shown.
#pragma once

#include <string>

enum class PairFile { ParameterFile, GridFile };

enum class LoadFailureKind {
    FileUnreadable,    // missing, a folder, locked, unreadable
    FileTooLarge,      // a parameter file over 64 MB
    NotWellFormed,     // detail: the XML parser's message
    UnknownEncoding,   // detail: the declared encoding
    NestedTooDeep,     // elements nested deeper than the loader takes
    ExternalEntity,    // an entity whose text lies outside the file
    NumberEmpty,       // detail: the element's name
    NotANumber,        // detail: the element's name
    NumberOutOfRange,  // detail: the element's name
    SizeRefused,       // detail: "x × y"
};

struct LoadFailure {
    PairFile file = PairFile::ParameterFile;
    LoadFailureKind kind = LoadFailureKind::FileUnreadable;
    int line = 0;    // 1-based; 0 where no place applies
    int column = 0;  // 1-based, in characters of the file as stored
    std::string detail;
};

// A short stable name of the kind for machine-readable output ("not-well-formed").
std::string LoadFailureKindName(LoadFailureKind kind);

// The reason in English, without file or place: "not well-formed XML: mismatched tag".
std::string LoadFailureEnglish(const LoadFailure& failure);

// One Japanese sentence in the ANSI code page, naming the file (a name, not a
// path) and the place where known:
// "stage.xml の 3 行 12 列: XML の書式が正しくありません。"
std::string LoadFailureSentence(const LoadFailure& failure, const std::string& fileName);

// The whole text of the load failure box: the fixed first line, a blank line,
// then the sentence.
std::string LoadFailureBoxText(const LoadFailure& failure, const std::string& fileName);
