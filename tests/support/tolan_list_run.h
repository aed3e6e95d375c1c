#pragma once
// tolan-list run as a separate process, as scripts run it, with its
// standard output and error and its exit status.

#include "tests/support/temp_tree.h"

#include <QByteArray>

#include <cstdlib>
#include <string>
#include <vector>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

struct Result {
    int status = -1;
    QByteArray out, err;
};

inline QByteArray readAll(int fd) {
    QByteArray data;
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) data.append(buffer, n);
    return data;
}

// Runs tolan-list with `args`; `asNobody` drops root's privileges first, so
// that permission bits apply. Such a run starts a copy of the program at
// `program`, since the build folder may be closed to others.
inline Result run(const std::vector<std::string>& args, bool asNobody = false,
                  const char* epoch = "1796738584", const std::string& program = TOLAN_LIST) {
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        close(out[0]);
        close(err[0]);
        if (epoch) setenv("SOURCE_DATE_EPOCH", epoch, 1);
        if (asNobody) {
            setgroups(0, nullptr);
            if (setgid(65534) != 0 || setuid(65534) != 0) _exit(99);
        }
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(98);
    }
    close(out[1]);
    close(err[1]);
    Result r;
    r.out = readAll(out[0]);  // the listings in these tests fit the pipe
    r.err = readAll(err[0]);
    close(out[0]);
    close(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

inline std::string drive(const TempTree& tree) {
    return "--drive=C:=" + tree.root().toStdString();
}
