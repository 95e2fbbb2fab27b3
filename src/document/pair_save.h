// Saving a map file pair all or nothing, even across a crash or a power cut.
//
// The new grid and parameter files are first written completely beside the
// targets. Then a journal file is created: from that moment the save counts
// as made, and whoever reads the pair next finishes putting the new files in
// place if the saving process died. Before the journal exists, the old pair
// is untouched. So any read of the pair sees exactly the old map or exactly
// the new one.
#pragma once

#include <functional>
#include <string>

// The files of one save. Each side file is named after its target with the
// last two characters replaced (stage.map -> stage.m~g), so that a target
// path as long as Windows allows still gives side paths within the limit.
struct SaveFiles {
    std::string grid, parameters;        // the pair itself
    std::string newGrid, newParameters;  // the new content, written first
    std::string oldGrid, oldParameters;  // the old files, kept aside until the end
    std::string journal;                 // present while the new pair is put in place
};

SaveFiles SaveFilesFor(const std::string& mapPath);

// The moments of a save, in order, for tests that interrupt one.
enum class SaveStep {
    Started,
    NewFilesWritten,
    JournalWritten,
    ParameterFileAside,
    ParameterFileInPlace,
    GridFileAside,
    GridFileInPlace,
    JournalRemoved,
};
using SaveStepObserver = std::function<void(SaveStep)>;

// The files a read of the pair must take.
struct PairSources {
    std::string grid, parameters;
    bool saveFinished = true;  // false: an interrupted save could not be finished here
};

// Finishes a save that was interrupted after its journal was written: the
// new files are put in place and the journal removed. Where that is
// refused (a read-only folder), the sources are the new files themselves.
// Without a journal, the pair is read as it is.
PairSources FinishInterruptedSave(const std::string& mapPath);
