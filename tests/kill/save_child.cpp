#include "kill/save_child.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

SaveChild StartSaveChild(const std::string& mapPath, int stopAt) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    const std::string stop = std::to_string(stopAt);
    char* arguments[] = {const_cast<char*>(KALMIA_SAVE_CHILD), const_cast<char*>(mapPath.c_str()),
                         const_cast<char*>(stop.c_str()), nullptr};
    SaveChild child;
    if (posix_spawn(&child.pid, KALMIA_SAVE_CHILD, &actions, nullptr, arguments, environ) != 0)
        child.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    child.output = pipeEnds[0];
    return child;
}

bool WaitUntilStopped(const SaveChild& child) {
    int status = 0;
    return waitpid(child.pid, &status, WUNTRACED) == child.pid && WIFSTOPPED(status);
}

int LastStepReported(int output, int last) {
    char steps[64];
    ssize_t count;
    while ((count = read(output, steps, sizeof steps)) > 0) last = steps[count - 1];
    close(output);
    return last;
}

bool KillChild(const SaveChild& child) {
    kill(child.pid, SIGKILL);
    int status = 0;
    waitpid(child.pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

int ResumeChild(const SaveChild& child) {
    kill(child.pid, SIGCONT);
    int status = 0;
    waitpid(child.pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
