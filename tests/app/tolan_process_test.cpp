// The desktop program as a process: SIGTERM ends it as the close box does;
// --help and --version answer without a window.

#include "tests/support/temp_tree.h"
#include "tolan/version.h"

#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray readFile(const QByteArray& path) {
    QFile f(QString::fromUtf8(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Waits up to `ms` for the child; its exit status, or -1 when it still runs.
int waitFor(pid_t pid, int ms) {
    for (int waited = 0; waited < ms; waited += 20) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        QThread::msleep(20);
    }
    return -1;
}

}  // namespace

TEST(TolanProcess, EndsOnSignalsWithTheSettingsSaved) {
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        TempTree tree;
        const QByteArray settings = tree.path("config/tolan/settings");
        const pid_t pid = fork();
        if (pid == 0) {
            // A screen with room for the window's design size.
            setenv("QT_QPA_PLATFORM", "offscreen:configfile=" TOLAN_TEST_SCREENS "/desk.json", 1);
            setenv("HOME", tree.root().constData(), 1);
            setenv("XDG_CONFIG_HOME", tree.path("config").constData(), 1);
            setenv("XDG_STATE_HOME", tree.path("state").constData(), 1);
            setenv("XDG_RUNTIME_DIR", tree.root().constData(), 1);
            execl(TOLAN_APP, TOLAN_APP, static_cast<char*>(nullptr));
            _exit(98);
        }
        // The first run writes the default record while it starts.
        for (int i = 0; i < 500 && readFile(settings).isEmpty(); ++i) QThread::msleep(20);
        ASSERT_FALSE(readFile(settings).isEmpty()) << "tolan did not start";
        QThread::msleep(300);
        kill(pid, sig);
        const int status = waitFor(pid, 10000);
        if (status < 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
        EXPECT_EQ(status, 0) << "signal " << sig;
        // Plain decimals show that the record was written at the end, not at the start.
        EXPECT_EQ(readFile(settings),
                  QByteArray("0,0,9045,12045,C:\\,01065,02985,04140,02055,0\r\n\r\n"))
            << "signal " << sig;
    }
}

TEST(TolanProcess, AnswersHelpAndVersionWithoutADisplay) {
    const struct {
        const char* option;
        const char* starts;
    } cases[] = {{"--version", "tolan " TOLAN_VERSION "\n"}, {"--help", "usage: tolan [FOLDER]\n"}};
    for (const auto& c : cases) {
        const QByteArray command =
            QByteArray("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ") + TOLAN_APP + ' ' +
            c.option;
        FILE* out = ::popen(command.constData(), "r");
        ASSERT_NE(out, nullptr);
        QByteArray text;
        char buffer[256];
        while (const size_t n = std::fread(buffer, 1, sizeof buffer, out)) text.append(buffer, n);
        EXPECT_EQ(::pclose(out), 0) << c.option;
        EXPECT_TRUE(text.startsWith(c.starts)) << c.option << ": " << text.constData();
    }
}
