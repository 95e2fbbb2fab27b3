// The child process that saves the new map of save_kill_maps.h over a pair
// (save_kill_child.cpp), as the interrupted-save tests drive it.
#pragma once

#include <sys/types.h>

#include <string>

struct SaveChild {
    pid_t pid = -1;
    int output = -1;  // the read end of the child's standard output: one byte per step
};

// Starts the child; given a step (a SaveStep's number), it stops itself
// there with SIGSTOP, else it runs to the end.
SaveChild StartSaveChild(const std::string& mapPath, int stopAt);

// Waits until the child has stopped itself at its step.
bool WaitUntilStopped(const SaveChild& child);

// The last step the child reported before it ended, or `last`.
int LastStepReported(int output, int last = -1);

// Ends a stopped or running child with SIGKILL and reaps it; true when the
// kill, not the child's own end, ended it.
bool KillChild(const SaveChild& child);

// Lets a stopped child go on and waits for its end: its exit status.
int ResumeChild(const SaveChild& child);
