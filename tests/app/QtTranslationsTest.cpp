#include "app/QtTranslations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>

#include <gtest/gtest.h>

// The printer dialog of the printed lists and the file dialog of the exports
// are Qt's: their texts must be Italian like the rest of the program.
TEST(QtTranslations, QtsOwnDialogsSpeakItalian)
{
    QTranslator* translator = InstallQtTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr) << "Qt's Italian translation (package qt6-translations-l10n) not found";
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Stampa"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), QStringLiteral("&Nome del file:"));
    {
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Annulla"));
    }
    QCoreApplication::removeTranslator(translator);
    delete translator;
}
