#include "app/languages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace app {
namespace {

std::unique_ptr<QTranslator>& ours() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}
std::unique_ptr<QTranslator>& qts() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

}  // namespace

Language chooseLanguage(const QStringList& uiLanguages) {
    for (const QString& name : uiLanguages) {
        if (name == u"C" || name == u"POSIX" || name.isEmpty()) continue;
        return name == u"ja" || name.startsWith(u"ja-") || name.startsWith(u"ja_")
                   ? Language::Japanese
                   : Language::English;
    }
    return Language::Japanese;
}

bool installLanguage(Language language) {
    removeLanguage();
    auto translator = std::make_unique<QTranslator>();
    if (language == Language::Japanese) {
        if (translator->load(QStringLiteral("qtbase_ja"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(translator.get());
            qts() = std::move(translator);
        }
        return false;
    }
    if (!translator->load(QStringLiteral(":/i18n/tolan_en.qm"))) return false;
    QCoreApplication::installTranslator(translator.get());
    ours() = std::move(translator);
    return true;
}

void removeLanguage() {
    for (std::unique_ptr<QTranslator>* t : {&ours(), &qts()})
        if (*t) {
            QCoreApplication::removeTranslator(t->get());
            t->reset();
        }
}

}  // namespace app
