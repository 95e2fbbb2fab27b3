#include "cli/git_commands.h"

#include <iostream>

#include "cli/console_text.h"
#include "cli/text_printer.h"
#include "cli/version_merge.h"
#include "system/file_output.h"
#include "xml/xml_saving.h"

namespace {

constexpr long long LARGEST_FILE = 1LL << 31;
constexpr size_t CONFLICTS_PRINTED = 100;

bool readVersion(const std::string& path, std::string& bytes) {
    if (ReadWholeFile(path, LARGEST_FILE, bytes)) return true;
    PrintFailure({FailureKind::FileUnreadable, path, 0, 0, ""});
    return false;
}

bool readParameters(const std::string& path, PairParameters& parameters) {
    const auto read = ReadPairParameters(path);
    if (!read) {
        PrintFailure(read.failure());
        return false;
    }
    parameters = read.value();
    return true;
}

ExitStatus reportConflicts(const std::vector<PairMessage>& conflicts) {
    PrintMessages(conflicts, "conflict", CONFLICTS_PRINTED);
    return conflicts.empty() ? ExitStatus::Yes : ExitStatus::No;
}

bool writeResult(const std::string& path, const std::string& bytes) {
    if (WriteWholeFile(path, bytes)) return true;
    PrintFailure(SystemFailure(FailureKind::WriteFailed, path));
    return false;
}

ExitStatus mergeGridFiles(const std::string versions[3], const std::string& current,
                          const std::string& shown) {
    const GridMerge merge = MergeGrids(SplitGridText(versions[0]), SplitGridText(versions[1]),
                                       SplitGridText(versions[2]), shown);
    if (!writeResult(current, JoinGridText(merge.merged))) return ExitStatus::NotAnswered;
    return reportConflicts(merge.conflicts);
}

// Written as the editor's Save writes a parameter file.
ExitStatus mergeParameterFiles(const std::string& base, const std::string& current,
                               const std::string& other, const std::string& currentText,
                               const std::string& shown) {
    PairParameters parameters[3];
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
        const GridText text = SplitGridText(bytes);
        for (size_t line = 0; line < text.lines.size(); ++line) {
            const std::string& cells = text.lines[line];
            for (size_t column = 0; column == 0 || column < cells.size(); column += 64)
                std::cout << line + 1 << ":" << column + 1 << " " << cells.substr(column, 64)
                          << "\n";
        }
        return ExitStatus::Yes;
    }
    PairParameters parameters;
    if (!readParameters(file, parameters)) return ExitStatus::NotAnswered;
    std::cout << "x: " << parameters.x << "\ny: " << parameters.y << "\nrank1: " << parameters.rank1
              << "\nrank2: " << parameters.rank2 << "\nrate1: " << parameters.rate1
              << "\nrate2: " << parameters.rate2 << "\nname: " << Utf8FromAnsi(parameters.name)
              << "\n";
    return ExitStatus::Yes;
}
