#include "app/QtTranslations.h"

#include "app/AppPaths.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

#include <memory>

QTranslator* InstallQtTranslations(QCoreApplication& application)
{
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    auto translator = std::make_unique<QTranslator>(&application);
    // Where the system keeps Qt's translations, else beside the program.
    for (const QString& folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath), AppPaths::ExecutableDir()})
        if (translator->load(italian, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator.get());
            return translator.release();
        }
    return nullptr;
}
