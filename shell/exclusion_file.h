#pragma once
// The window's exclusion patterns, kept in a file of their own beside the
// settings file (the settings record keeps its format): one pattern a line,
// host bytes, LF line ends; lines that start with "#" and blank lines are
// skipped when read.

#include "engine/exclusions.h"

#include <QByteArray>
#include <QString>

namespace shell {

// $XDG_CONFIG_HOME/tolan/exclude.
QByteArray exclusionFilePath();

// The patterns of the file into `out` (none when there is no file); false
// with what is wrong in `problem` (the file cannot be read, or a pattern in
// it is bad), `out` then left without patterns.
bool loadExclusions(engine::Exclusions& out, QString& problem);

// Replaces the file atomically with `patterns` (empty for none); an error
// number, 0 when done.
int saveExclusions(const engine::Exclusions& patterns);

}  // namespace shell
