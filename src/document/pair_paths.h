// The names of a map file pair and of the files a save keeps beside it.
#pragma once

#include <string>

// The parameter file's path: the last three characters replaced by "xml"
// ("stage.m" gives "stagxml"); a shorter path gets "xml" appended.
std::string MakeXmlPath(const std::string& mapPath);

// The part of a path after its last separator. A Shift_JIS trail byte may
// look like "\", but two spellings of one path (relative, absolute) still
// give the same tail, which is all a save's journal compares.
std::string FileNameOf(const std::string& path);

// The pair and the side files of its saves. A side file is named after its
// target with "~" and a letter appended (stage.map~g), so that no two pairs
// share one. Windows refuses paths of 260 characters or more: a target too
// long for two more characters instead has its last two replaced by "#" and
// the letter (stage.m#g), which stays within the target's length.
struct SaveFiles {
    std::string grid, parameters;        // the pair itself
    std::string newGrid, newParameters;  // the new content, written first
    std::string oldGrid, oldParameters;  // the old files, kept for a rollback until the end
    std::string journal;                 // the record of a save whose files are being put in place
    std::string journalDraft;            // the journal while it is written
    // Held by the one process that saves the pair. Named after the parameter
    // file, which two pairs can share (stage.map and stage.txt), so that their
    // saves take turns.
    std::string lock;
};

SaveFiles SaveFilesFor(const std::string& mapPath);
