#pragma once
// The main window with its output menu over a temporary tree (C: is the
// folder "c", D: the tree, Q: a drive whose folder is missing), after a
// scan of C:\work.

#include "output/output_commands.h"
#include "platform/dosfs/fault_seam.h"
#include "platform/forms/manual_clock.h"
#include "tests/support/program_fixture.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

#include <gtest/gtest.h>

class OutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.file("c/work/a.txt", 1200);
        tree.file("c/work/b,c.doc", 34567);
        tree.file("c/work/sub/日本語.txt", 10);
        w = std::make_unique<ProgramFixture>(tree);
        menu = w->output;
        w->open(QStringLiteral("C:\\work"));
        w->form->Command3.raiseClick();
    }
    void TearDown() override { dosfs::faults::clearAll(); }

    shell::Form1& main() { return *w->form; }
    shell::Settings& settings() { return w->form->state.settings; }
    QByteArray read(const QByteArray& rel) {
        QFile f(QString::fromUtf8(tree.path(rel)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void write(const QByteArray& rel, const QByteArray& bytes) {
        QFile f(QString::fromUtf8(tree.path(rel)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QStringList entries(const QByteArray& rel) {
        return QDir(QString::fromUtf8(tree.path(rel))).entryList(QDir::Files | QDir::Hidden);
    }

    TempTree tree;
    std::unique_ptr<ProgramFixture> w;
    output::OutputCommands* menu = nullptr;
};
