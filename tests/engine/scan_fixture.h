#pragma once
// Runs a scan over a TempTree mapped to drive C: and keeps what it emitted.

#include "engine/module1.h"
#include "tests/support/recording_host.h"
#include "tests/support/temp_tree.h"

class ScanFixture {
  public:
    explicit ScanFixture(const TempTree& tree);

    RecordingHost host;
    dosfs::FileSystem fs;
    dosfs::NumberedFiles files{fs};
    engine::Module1 scan{host, fs, files};

    using Mode = engine::ScanMode;
    // Runs one scan of `root` and returns the lines of the work file.
    QStringList run(Mode mode, const QString& root = QStringLiteral("C:\\"),
                    engine::ListType listType = engine::ListType::FullPaths,
                    const QString& ext = QStringLiteral("*"));
    QByteArray workFileBytes;

  private:
    QByteArray workFile_;
};

// The lines of the banner and drive list every scan but a plain one starts with.
QString banner(int nameFieldWidth = 57, const QString& type = engine::kFullPathsCaption,
               const QString& ext = QStringLiteral("*"));
QString sp(int n);
