#include "cli/git_commands.h"

#include <iostream>
#include <variant>

#include "cli/console_text.h"
#include "cli/version_merge.h"
#include "document/load_failure.h"
#include "system/file_output.h"
#include "xml/xml_saving.h"

namespace {

constexpr long long LARGEST_FILE = 1LL << 31;
constexpr size_t CONFLICTS_PRINTED = 100;

bool readVersion(const std::string& path, std::string& bytes) {
    if (readWholeFile(path, LARGEST_FILE, bytes)) return true;
    std::cerr << path << ": error: cannot read the file\n";
    return false;
}

bool readParameters(const std::string& path, PairParameters& parameters) {
    const auto read = ReadPairParameters(path);
    if (const auto* failure = std::get_if<LoadFailure>(&read)) {
        std::cerr << formatPairMessage(
                         {path, failure->line, failure->column, LoadFailureKindName(failure->kind),
                          LoadFailureEnglish(*failure)},
                         "error")
                  << "\n";
        return false;
    }
    parameters = std::get<PairParameters>(read);
    return true;
}

int reportConflicts(const std::vector<PairMessage>& conflicts) {
    for (size_t i = 0; i < conflicts.size() && i < CONFLICTS_PRINTED; ++i)
        std::cerr << formatPairMessage(conflicts[i], "conflict") << "\n";
    if (conflicts.size() > CONFLICTS_PRINTED)
        std::cerr << "... and " << conflicts.size() - CONFLICTS_PRINTED << " more conflicts\n";
    return conflicts.empty() ? 0 : 1;
}

bool writeResult(const std::string& path, const std::string& bytes) {
    if (writeWholeFile(path, bytes)) return true;
    std::cerr << path << ": error: cannot write the merged file\n";
    return false;
}

int mergeGridFiles(const std::string versions[3], const std::string& current,
                   const std::string& shown) {
    const GridMerge merge = MergeGrids(SplitGridText(versions[0]), SplitGridText(versions[1]),
                                       SplitGridText(versions[2]), shown);
    if (!writeResult(current, JoinGridText(merge.merged))) return 2;
    return reportConflicts(merge.conflicts);
}

// Written as the editor's Save writes a parameter file.
int mergeParameterFiles(const std::string& base, const std::string& current,
                        const std::string& other, const std::string& currentText,
                        const std::string& shown) {
    PairParameters parameters[3];
    if (!readParameters(base, parameters[0]) || !readParameters(current, parameters[1]) ||
        !readParameters(other, parameters[2]))
        return 2;
    const ParameterMerge merge =
        MergeParameters(parameters[0], parameters[1], parameters[2], currentText, shown);
    const auto text = SerializeXMLDocument(BuildParameterTreeOf(merge.merged));
    if (!text) {
        std::cerr << shown << ": error: the merged name cannot be written as XML\n";
        return 2;
    }
    if (!writeResult(current, *text)) return 2;
    return reportConflicts(merge.conflicts);
}

}  // namespace

int RunMerge(const std::string& base, const std::string& current, const std::string& other,
             const std::string& path) {
    std::string versions[3];
    if (!readVersion(base, versions[0]) || !readVersion(current, versions[1]) ||
        !readVersion(other, versions[2]))
        return 2;
    const std::string shown = path.empty() ? current : path;
    if (KindOfPairFile(path, current, versions[1]) == PairFileKind::Grid)
        return mergeGridFiles(versions, current, shown);
    return mergeParameterFiles(base, current, other, versions[1], shown);
}

int RunTextconv(const std::string& file) {
    std::string bytes;
    if (!readVersion(file, bytes)) return 2;
    if (KindOfPairFile("", file, bytes) == PairFileKind::Grid) {
        const GridText text = SplitGridText(bytes);
        for (size_t line = 0; line < text.lines.size(); ++line) {
            const std::string& cells = text.lines[line];
            for (size_t column = 0; column == 0 || column < cells.size(); column += 64)
                std::cout << line + 1 << ":" << column + 1 << " " << cells.substr(column, 64)
                          << "\n";
        }
        return 0;
    }
    PairParameters parameters;
    if (!readParameters(file, parameters)) return 2;
    std::cout << "x: " << parameters.x << "\ny: " << parameters.y << "\nrank1: " << parameters.rank1
              << "\nrank2: " << parameters.rank2 << "\nrate1: " << parameters.rate1
              << "\nrate2: " << parameters.rate2 << "\nname: " << Utf8FromAnsi(parameters.name)
              << "\n";
    return 0;
}
