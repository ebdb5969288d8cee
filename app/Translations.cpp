#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Where qt_add_translations embeds the .qm files.
constexpr const char* kEmbeddedFolder = ":/i18n";
constexpr const char* kSourceLanguageFile = "quavermill_en";

}  // namespace

void InstallTranslations(QCoreApplication& application) {
    const QLocale locale;
    auto* qtOwn = new QTranslator(&application);
    if (qtOwn->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtOwn);
    auto* ours = new QTranslator(&application);
    const QString folder = QString::fromLatin1(kEmbeddedFolder);
    if (ours->load(locale, QStringLiteral("quavermill"), QStringLiteral("_"), folder) ||
        ours->load(QString::fromLatin1(kSourceLanguageFile), folder))
        QCoreApplication::installTranslator(ours);
}
