#include "cli/git_commands.h"

#include <algorithm>
#include <iostream>
#include <string_view>

#include "cli/console_text.h"
#include "cli/text_printer.h"
#include "cli/version_merge.h"
#include "system/file_system.h"
#include "xml/xml_saving.h"

namespace {

constexpr long long LARGEST_FILE = 1LL << 31;

bool readVersion(const std::string& path, std::string& bytes) {
    Result<std::string> read = ReadWholeFile(path, LARGEST_FILE);
    if (!read) {
        PrintFailure(read.failure());
        return false;
    }
    bytes = std::move(read.value());
    return true;
}

bool readParameters(const std::string& path, MapParameters& parameters) {
    const auto read = ReadPairParameters(path);
    if (!read) {
        PrintFailure(read.failure());
        return false;
    }
    parameters = read.value();
    return true;
}

ExitStatus reportConflicts(const Conflicts& conflicts) {
    PrintMessages(conflicts.first, "conflict", Conflicts::KEPT, conflicts.count);
    return conflicts.count == 0 ? ExitStatus::Yes : ExitStatus::No;
}

// Written beside CURRENT and renamed over it, so that a failed write (a full
// disk) leaves the user's version exactly as it was.
bool writeResult(const std::string& path, const std::string& bytes) {
    const Result<void> written = ReplaceFileWith(path, [&](FILE* file) {
        return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    });
    if (!written) PrintFailure(written.failure());
    return written.ok();
}

ExitStatus mergeGridFiles(const std::string versions[3], const std::string& current,
                          const std::string& shown) {
    const GridMerge merge = MergeGrids(versions[0], versions[1], versions[2], shown);
    if (!writeResult(current, merge.merged)) return ExitStatus::NotAnswered;
    return reportConflicts(merge.conflicts);
}

// Written as the editor's Save writes a parameter file.
ExitStatus mergeParameterFiles(const std::string& base, const std::string& current,
                               const std::string& other, const std::string& currentText,
                               const std::string& shown) {
    MapParameters parameters[3];
    if (!readParameters(base, parameters[0]) || !readParameters(current, parameters[1]) ||
        !readParameters(other, parameters[2]))
        return ExitStatus::NotAnswered;
    const ParameterMerge merge =
        MergeParameters(parameters[0], parameters[1], parameters[2], currentText, shown);
    const auto text = SerializeXMLDocument(BuildParameterTreeOf(merge.merged));
    if (!text) {
        PrintFailure(InFile(text.failure(), shown));
        return ExitStatus::NotAnswered;
    }
    if (!writeResult(current, text.value())) return ExitStatus::NotAnswered;
    return reportConflicts(merge.conflicts);
}

}  // namespace

ExitStatus RunMerge(const std::string& base, const std::string& current, const std::string& other,
                    const std::string& path) {
    std::string versions[3];
    if (!readVersion(base, versions[0]) || !readVersion(current, versions[1]) ||
        !readVersion(other, versions[2]))
        return ExitStatus::NotAnswered;
    const std::string shown = path.empty() ? current : path;
    if (KindOfPairFile(path, current, versions[1]) == PairFileKind::Grid)
        return mergeGridFiles(versions, current, shown);
    return mergeParameterFiles(base, current, other, versions[1], shown);
}

ExitStatus RunTextconv(const std::string& file) {
    std::string bytes;
    if (!readVersion(file, bytes)) return ExitStatus::NotAnswered;
    if (KindOfPairFile("", file, bytes) == PairFileKind::Grid) {
        GridLines lines(bytes);
        GridLine line;
        for (size_t number = 1; lines.next(line); ++number)
            for (size_t column = 0; column == 0 || column < line.length; column += 64)
                std::cout << number << ":" << column + 1 << " "
                          << std::string_view(bytes).substr(
                                 line.start + column, std::min<size_t>(64, line.length - column))
                          << "\n";
        return ExitStatus::Yes;
    }
    MapParameters parameters;
    if (!readParameters(file, parameters)) return ExitStatus::NotAnswered;
    for (const NumberField& field : NUMBER_FIELDS)
        std::cout << field.element << ": " << parameters.*field.value << "\n";
    std::cout << NAME_ELEMENT << ": " << Utf8FromAnsi(parameters.name) << "\n";
    return ExitStatus::Yes;
}
