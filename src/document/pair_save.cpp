#include "document/pair_save.h"

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "document/map_file_pair.h"
#include "system/file_output.h"
#include "xml/xml_saving.h"

namespace {

bool isPathSeparator(char character) {
    return character == '/' || character == '\\' || character == ':';
}

bool samePathIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// The target with its last two characters replaced by "~" and the marker.
// A name of fewer than two characters, or one that would become a target's
// own name, gets the two characters appended instead.
std::string sidePath(const std::string& target, char marker, const std::string& gridPath,
                     const std::string& parameterPath) {
    const std::string tag{'~', marker};
    const size_t size = target.size();
    if (size < 2 || isPathSeparator(target[size - 1]) || isPathSeparator(target[size - 2]))
        return target + tag;
    const std::string side = target.substr(0, size - 2) + tag;
    if (samePathIgnoringCase(side, gridPath) || samePathIgnoringCase(side, parameterPath))
        return target + tag;
    return side;
}

const char JOURNAL_TEXT[] = "Kalmia: a new map file pair is being put in place.\r\n";

// One file of the pair while the new content replaces the old.
struct TargetSave {
    const std::string& target;
    const std::string& newFile;
    const std::string& oldFile;
    enum class Aside { NotYet, NoOldFile, Renamed, Copied } aside = Aside::NotYet;
    bool installed = false;
    bool touched = false;  // the target was opened to be rewritten in place
};

// Keeps the old file: renamed aside where possible, else copied, for a
// target that another program holds open and that must be rewritten in place.
bool putAside(TargetSave& save) {
    using Aside = TargetSave::Aside;
    if (pathKind(save.target) == PathKind::Missing)
        save.aside = Aside::NoOldFile;
    else if (replaceFile(save.target, save.oldFile))
        save.aside = Aside::Renamed;
    else if (copyFileContent(save.target, save.oldFile))
        save.aside = Aside::Copied;
    else
        return false;
    return true;
}

bool putInPlace(TargetSave& save) {
    save.installed = save.aside == TargetSave::Aside::Copied
                         ? copyFileContent(save.newFile, save.target, &save.touched)
                         : replaceFile(save.newFile, save.target);
    return save.installed;
}

// Undoes putInPlace and putAside. A new file renamed into place goes back to
// its side name first, so that whenever the process dies the journal still
// finds every new file that is not in place.
bool putBack(TargetSave& save) {
    using Aside = TargetSave::Aside;
    switch (save.aside) {
        case Aside::NotYet:
            return true;
        case Aside::NoOldFile:
            return !save.installed || replaceFile(save.target, save.newFile);
        case Aside::Renamed:
            if (save.installed && !replaceFile(save.target, save.newFile)) return false;
            return replaceFile(save.oldFile, save.target);
        case Aside::Copied:
            return !save.touched || copyFileContent(save.oldFile, save.target);
    }
    return false;
}

void removeSideFiles(const SaveFiles& files) {
    for (const std::string* side :
         {&files.newGrid, &files.newParameters, &files.oldGrid, &files.oldParameters})
        removeFile(*side);
}

// Ends a save whose journal exists: after the folder is flushed, removing
// the journal makes the pair on the disk the one that counts.
void endSave(const SaveFiles& files) {
    flushFolderOf(files.journal);
    removeFile(files.journal);
    flushFolderOf(files.journal);
    removeSideFiles(files);
}

// A failure after the journal: the old files go back. Should that be refused
// too, the journal stays, and the next read puts the new pair in place.
SaveOutcome rollBack(const SaveFiles& files, TargetSave* targets, size_t count) {
    for (size_t i = count; i-- > 0;)
        if (!putBack(targets[i])) return SaveOutcome::Failed;
    endSave(files);
    return SaveOutcome::Failed;
}

bool writeNewFiles(const SaveFiles& files, const MapDocument& document) {
    const auto parameterFile = SerializeXMLDocument(BuildParameterTree(document));
    return parameterFile && WriteGridFile(files.newGrid, document.cells) &&
           writeWholeFile(files.newParameters, *parameterFile) && flushFolderOf(files.grid);
}

bool writeJournal(const SaveFiles& files) {
    return writeWholeFile(files.journal, JOURNAL_TEXT) && flushFolderOf(files.journal);
}

}  // namespace

SaveFiles SaveFilesFor(const std::string& mapPath) {
    const std::string xmlPath = MakeXmlPath(mapPath);
    auto side = [&](const std::string& target, char marker) {
        return sidePath(target, marker, mapPath, xmlPath);
    };
    return {mapPath,
            xmlPath,
            side(mapPath, 'g'),
            side(xmlPath, 'p'),
            side(mapPath, 'h'),
            side(xmlPath, 'q'),
            side(mapPath, 'j')};
}

PairSources FinishInterruptedSave(const std::string& mapPath) {
    const SaveFiles files = SaveFilesFor(mapPath);
    PairSources sources{files.grid, files.parameters, true};
    if (pathKind(files.journal) != PathKind::File) return sources;
    const std::pair<const std::string*, std::string*> moves[] = {
        {&files.newParameters, &sources.parameters}, {&files.newGrid, &sources.grid}};
    for (const auto& [newFile, source] : moves) {
        if (pathKind(*newFile) != PathKind::File) continue;  // already in place
        if (replaceFile(*newFile, *source)) continue;
        if (copyFileContent(*newFile, *source)) {
            removeFile(*newFile);
            continue;
        }
        *source = *newFile;
        sources.saveFinished = false;
    }
    if (sources.saveFinished) endSave(files);
    return sources;
}

SaveOutcome WriteMapFilePairFiles(const std::string& mapPath, const MapDocument& document,
                                  const SaveStepObserver& observer) {
    auto reached = [&](SaveStep step) {
        if (observer) observer(step);
    };
    reached(SaveStep::Started);
    const SaveFiles files = SaveFilesFor(mapPath);
    // A folder (or anything but a file) standing where a file goes would be
    // moved aside like an old file; refuse it before anything is written.
    if (pathKind(files.grid) == PathKind::Other || pathKind(files.parameters) == PathKind::Other) {
        errno = EISDIR;
        return SaveOutcome::Failed;
    }
    if (!FinishInterruptedSave(mapPath).saveFinished) return SaveOutcome::Failed;
    if (!writeNewFiles(files, document)) {
        removeSideFiles(files);
        return SaveOutcome::Failed;
    }
    reached(SaveStep::NewFilesWritten);
    if (!writeJournal(files)) {
        removeFile(files.journal);
        removeSideFiles(files);
        return SaveOutcome::Failed;
    }
    reached(SaveStep::JournalWritten);
    TargetSave targets[] = {{files.parameters, files.newParameters, files.oldParameters},
                            {files.grid, files.newGrid, files.oldGrid}};
    const SaveStep steps[][2] = {{SaveStep::ParameterFileAside, SaveStep::ParameterFileInPlace},
                                 {SaveStep::GridFileAside, SaveStep::GridFileInPlace}};
    for (size_t i = 0; i < 2; ++i) {
        if (!putAside(targets[i])) return rollBack(files, targets, i + 1);
        reached(steps[i][0]);
        if (!putInPlace(targets[i])) return rollBack(files, targets, i + 1);
        reached(steps[i][1]);
    }
    endSave(files);
    reached(SaveStep::JournalRemoved);
    return SaveOutcome::Saved;
}
