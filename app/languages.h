#pragma once
// The window's language, chosen as Qt programs choose theirs: from the
// user's preferred languages (LANGUAGE, then LANG and LC_*), with no
// setting of the program's own.

#include <QStringList>

namespace app {

enum class Language { Japanese, English };

// Japanese when the preferences name Japanese before any other language,
// or name none at all (the C and POSIX locales); English otherwise, as for
// the languages the program has no catalogue for.
Language chooseLanguage(const QStringList& uiLanguages);

// Installs the catalogues of `language` in the running application: ours
// for English, Qt's own for Japanese (the texts of its print and file
// dialogs). A catalogue that is missing or damaged leaves the texts of
// record, Japanese. Returns whether our catalogue was loaded.
bool installLanguage(Language language);
// Removes what installLanguage() installed.
void removeLanguage();

}  // namespace app
