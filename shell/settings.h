#pragma once
// The settings record: where the main window was and how large, the output
// directory and format, and where the two dialogs were last placed. One line
// of ten comma-separated fields in the settings file.

#include "platform/forms/form.h"

#include <QByteArray>
#include <QString>

namespace shell {

struct Settings {
    QString windowTop, windowLeft, windowHeight, windowWidth;
    QString outputDir;
    QString saveDialogTop, saveDialogLeft;
    QString settingsDialogTop, settingsDialogLeft;
    int csvOutput = 0;       // 0: comma-separated text files; otherwise CSV files
    bool leaveFile = false;  // the file could not be read nor set aside: not saved over
};

// The record a new settings file receives; a place or size out of its range
// falls back to its field here.
inline const Settings kDefaults{QStringLiteral("00000"),
                                QStringLiteral("00000"),
                                QStringLiteral("09045"),
                                QStringLiteral("12045"),
                                QStringLiteral("C:"),
                                QStringLiteral("01065"),
                                QStringLiteral("02985"),
                                QStringLiteral("04140"),
                                QStringLiteral("02055"),
                                0,
                                false};

// $XDG_CONFIG_HOME/tolan/settings.
QByteArray settingsPath();

// Leading spaces skipped, an optional sign, digits and an optional decimal
// part; a text without a leading number is 0.
double leadingNumber(const QString& text);

// Fills the fields from the settings file, or with defaults; creates the
// file with the default record when there is none. A file that cannot be
// read as a record (a pipe, binary, a first line too long) gives the
// defaults' places and the start drive, and is renamed to `settings.bad`
// beside it (or .bad.2, ...), so that the next save makes a new one;
// returns that name, else empty. When it cannot be renamed it stays and its
// own name comes back: SaveSettings then leaves it alone.
QByteArray LoadSettings(Settings& s, const QString& startDrive);

// Range-checks the fields and gives the window its top, left, height and
// width, in that order (each size change runs the layout).
void ApplySettings(Settings& s, forms::Form& window);

// Writes the record from the fields and the window's current geometry.
// Returns an error number; the previous file stays whole on failure.
int SaveSettings(Settings& s, const forms::Form& window);

}  // namespace shell
