#pragma once
// Shared by the fuzz targets: a scratch folder for the run, and the input as
// text of the kinds the program meets.

#include "platform/forms/application.h"

#include <QByteArray>
#include <QDir>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <cstring>

// A folder of its own for this process, made once; settings and state
// point into it so that no target touches a real home.
inline const QByteArray& scratchFolder() {
    static const QByteArray folder = [] {
        char pattern[] = "/tmp/tolan-fuzz-XXXXXX";
        QByteArray made(::mkdtemp(pattern));
        setenv("HOME", made.constData(), 1);
        setenv("XDG_CONFIG_HOME", (made + "/config").constData(), 1);
        setenv("XDG_STATE_HOME", (made + "/state").constData(), 1);
        QDir().mkpath(QString::fromUtf8(made + "/config/tolan"));
        return made;
    }();
    return folder;
}

// The input read as UTF-16 code units, lone surrogates and all.
inline QString utf16(const uint8_t* data, size_t size) {
    QString s(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    std::memcpy(s.data(), data, (size / 2) * 2);
    return s;
}

// Program-wide services that do nothing.
class QuietApplication : public forms::Application {
  public:
    void letEventsRun() override {}
    void beep() override {}
    void clipboardClear() override {}
    void clipboardSetText(const QString&) override {}
    void end() override {}
};

// Stops the run with a message when an expectation fails.
#define FUZZ_CHECK(condition)                                                                   \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                       \
        }                                                                                       \
    } while (0)
