#include "app/DefaultTicketScript.h"
#include "support/QtPrinting.h"

#include <gtest/gtest.h>

TEST(DefaultTicketScript, MaskThenRowEachEndingWithAnEmptyLine)
{
    const QString mask = DefaultTicketMaskScript();
    const QString row = DefaultTicketRowScript();
    EXPECT_EQ(DefaultTicketScript(), mask + row);

    EXPECT_TRUE(mask.startsWith(
        QStringLiteral("Function PrintTicketMask(flds, fldsCliente, fldsTipoDoc, prn, sName, bTotal)\r\n")));
    EXPECT_TRUE(row.startsWith(QStringLiteral("Function PrintTicketRow(flds, prn, nRow)\r\n")));
    EXPECT_TRUE(mask.endsWith(QStringLiteral("  PrintTicketMask = True\r\n\r\nEnd Function\r\n\r\n")));
    EXPECT_TRUE(row.endsWith(QStringLiteral("  PrintTicketRow = True\r\n\r\nEnd Function\r\n\r\n")));

    // Every line break is a CR LF pair: 21 mask lines and 18 row lines, each
    // followed by one, plus the extra pair after each "End Function".
    EXPECT_EQ(mask.count(QStringLiteral("\r\n")), 22);
    EXPECT_EQ(row.count(QStringLiteral("\r\n")), 19);
    EXPECT_EQ(DefaultTicketScript().count(QLatin1Char('\r')), 41);
    EXPECT_EQ(DefaultTicketScript().count(QLatin1Char('\n')), 41);
}

TEST(DefaultTicketScript, KeepsTheAccentedFieldNames)
{
    EXPECT_TRUE(DefaultTicketRowScript().contains(
        QStringLiteral("  ' Dati disponibili in flds(): Nome, Importo_Riga, Quantit\u00e0, Descrizione, Portata "
                       "(Prezzo, Fuori_Men\u00f9, Data, Progressivo)\r\n")));
    EXPECT_TRUE(DefaultTicketMaskScript().contains(QStringLiteral("  ' relativi alla Ricevuta corrente, l'oggetto di stampa (prn),\r\n")));
}
