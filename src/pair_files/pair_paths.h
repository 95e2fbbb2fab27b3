// The names of a map file pair and of the files a save keeps beside it.
#pragma once

#include <string>

// The parameter file's path: the last three characters replaced by "xml"
// ("stage.m" gives "stagxml"); a shorter path gets "xml" appended.
std::string MakeXmlPath(const std::string& mapPath);

// The part of a path after its last separator ("\\", "/" or a drive's ":"),
// found character by character, since on Windows the trail byte of a
// double-byte character of the ANSI code page may look like "\\".
std::string FileNameOf(const std::string& path);

// The pair and the side files of its saves. A side file is named after its
// target with "~" and a letter appended (stage.map~g), so that no two pairs
// share one. Windows refuses paths of 260 characters or more: a target too
// long for two more characters instead has its last two replaced by "#" and
// the letter (stage.m#g), which stays within the target's length.
//
// The pair's files are taken as resolved paths (document: ResolvedPath), so
// that every spelling of a path (relative, absolute, through a symbolic
// link) gives one set of side files, beside the files the links name.
struct SaveFiles {
    std::string grid, parameters;            // the pair itself, resolved
    std::string shownGrid, shownParameters;  // as the caller wrote them, for messages
    // The names a save gives its new content and the old files it keeps
    // aside, unless another file already has them (then SidePath's next
    // attempt); its journal records the names it took.
    std::string newGrid, newParameters;
    std::string oldGrid, oldParameters;
    std::string journal;       // the record of a save whose files are being put in place
    std::string journalDraft;  // the journal while it is written
    // Held by the one process that saves the pair. Named after the parameter
    // file, which two pairs can share (stage.map and stage.txt), so that their
    // saves take turns.
    std::string lock;
};

SaveFiles SaveFilesFor(const std::string& mapPath);

// The side file of `target` with `letter`, at the given attempt: the first
// is stage.map~g, the next stage.map~g2, stage.map~g3 and so on.
std::string SidePath(const std::string& target, char letter, int attempt = 1);

// The path of the file `name` in the folder of the file `beside`.
std::string PathBeside(const std::string& beside, const std::string& name);
