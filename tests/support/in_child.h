#pragma once
// Runs a case in a child process of its own, for what lasts as long as a
// process does (the helper that reads mounts is forked once a process).

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs `body` in a child process; its exit status, or -1 when it had not
// ended `limitMs` after `body` said it was ending (through the pipe `ending`).
inline int inChild(const std::function<int(int ending)>& body, int limitMs = 10000) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return -2;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        std::exit(body(pipeFds[1]));  // static destructors run, as in main()
    }
    ::close(pipeFds[1]);
    char byte;
    [[maybe_unused]] const ssize_t n = ::read(pipeFds[0], &byte, 1);  // "ending", or its end
    ::close(pipeFds[0]);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -3;
}
