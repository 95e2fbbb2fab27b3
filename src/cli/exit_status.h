// The one exit-status policy of kalmia-cli, as the README's table gives it.
#pragma once

enum class ExitStatus {
    // The command did what was asked, and the answer is yes: every pair
    // opens, the maps are the same, the merge is clean, the file is written.
    Yes = 0,
    // The answer is no: a pair the editor refuses (or, with --strict, one it
    // warns about), maps that differ, a merge with conflicts.
    No = 1,
    // The command could not give an answer: a file it writes was not written,
    // a file it needs to compare or merge was not read, or the command line
    // was wrong.
    NotAnswered = 2,
};

// Of several parts of one command, the worst decides.
inline ExitStatus Worst(ExitStatus a, ExitStatus b) { return a > b ? a : b; }

inline int ExitCode(ExitStatus status) { return static_cast<int>(status); }
