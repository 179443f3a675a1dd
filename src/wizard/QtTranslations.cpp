#include "wizard/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallQtTranslations() {
    static QTranslator *translator = nullptr;
    if (translator) return true;
    auto *candidate = new QTranslator(QCoreApplication::instance());
    if (!candidate->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete candidate;
        return false;
    }
    QCoreApplication::installTranslator(candidate);
    translator = candidate;
    return true;
}
