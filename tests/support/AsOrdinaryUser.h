#pragma once
// Runs `check` in a child process that is not the superuser, so that file permissions apply to
// it as they do to a user, and returns what `check` returned (2 when the child could not give up
// the superuser's rights, 100 when it did not exit).

#include <cstdlib>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

inline int AsOrdinaryUser(const std::function<int()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::getuid() == 0 && ::setuid(65534) != 0) std::_Exit(2);
        std::_Exit(check());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}
