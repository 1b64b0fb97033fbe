#include "app/ErrorReportText.h"
#include "component/ComponentErrors.h"
#include "support/QtPrinting.h"

#include <gtest/gtest.h>

using namespace ErrorReport;

namespace {
QString Message124()
{
    return QStringLiteral("Operazione annullata.");
}
} // namespace

TEST(ErrorReportText, FirstTextLeadsWithContextElseDescription)
{
    EXPECT_EQ(FirstText(5, QStringLiteral("Chiamata non valida"), QStringLiteral("Errore in conferma dati: "), Message124),
              QStringLiteral("Errore in conferma dati:  ..."));
    EXPECT_EQ(FirstText(5, QStringLiteral("Chiamata non valida"), QString(), Message124),
              QStringLiteral("Chiamata non valida ..."));
    const QString longContext(250, QLatin1Char('x'));
    EXPECT_EQ(FirstText(5, QString(), longContext, Message124), QString(200, QLatin1Char('x')) + QStringLiteral(" ..."));
}

TEST(ErrorReportText, CancelledErrorsOfTheArchiveEngineShowItsOwnMessage)
{
    int asked = 0;
    const auto message = [&asked] {
        ++asked;
        return Message124();
    };
    EXPECT_EQ(FirstText(ComponentError::Base + 124, QStringLiteral("x"), QStringLiteral("y"), message), Message124());
    EXPECT_EQ(FirstText(ComponentError::Base + 32755, QStringLiteral("x"), QString(), message), Message124());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(FirstText(ComponentError::Base + 125, QStringLiteral("x"), QString(), message), QStringLiteral("x ..."));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(Question(QStringLiteral("Testo")), QStringLiteral("Testo\r\rVisualizzare dettagli ?"));
}

TEST(ErrorReportText, DetailAddsADifferentContext)
{
    EXPECT_EQ(Detail(QStringLiteral("Descrizione"), QString()), QStringLiteral("Descrizione"));
    EXPECT_EQ(Detail(QStringLiteral("Descrizione"), QStringLiteral("Descrizione")), QStringLiteral("Descrizione"));
    EXPECT_EQ(Detail(QStringLiteral("Descrizione"), QStringLiteral("Contesto")),
              QStringLiteral("Descrizione\r\n\r\nContesto"));
}

TEST(ErrorReportText, CodeIsRelativeToTheEngineBaseOnlyInsideItsRange)
{
    EXPECT_EQ(Code(ComponentError::Base + 124), QStringLiteral("124 (8004007C)"));
    EXPECT_EQ(Code(ComponentError::Base + 32755), QStringLiteral("32755 (80047FF3)"));
    EXPECT_EQ(Code(ComponentError::Base), QStringLiteral("0 (80040000)"));
    EXPECT_EQ(Code(ComponentError::Base - 1), QStringLiteral("-1 (8003FFFF)"));
    EXPECT_EQ(Code(5), QStringLiteral("5 (5)"));
    EXPECT_EQ(Code(0), QStringLiteral("0 (0)")) << "a difference of exactly 7FFC0000 is not below it";
    EXPECT_EQ(Code(-1), QStringLiteral("2147221503 (FFFFFFFF)"));
    EXPECT_EQ(Code(0x7FFFFFFF), QStringLiteral("2147483647 (7FFFFFFF)"));
    EXPECT_EQ(Code(qint32(0x80000000u)), QStringLiteral("-262144 (80000000)"));
}

TEST(ErrorReportText, ShownDetailTurnsLoneCarriageReturnsIntoLineBreaks)
{
    EXPECT_EQ(ShownDetail(QStringLiteral("a\rb\rc")), QStringLiteral("a\r\nb\r\nc"));
    EXPECT_EQ(ShownDetail(QStringLiteral("a\r\nb\rc")), QStringLiteral("a\r\nb\rc"));
    EXPECT_EQ(ShownDetail(QStringLiteral("a\nb")), QStringLiteral("a\nb"));
}

TEST(ErrorReportText, SavedLineAndSupportMail)
{
    const QString code = Code(ComponentError::Base + 124);
    EXPECT_EQ(SavedLine(code, QStringLiteral("Dettaglio")), QStringLiteral("Error: 124 (8004007C)Dettaglio\r\n"));

    EXPECT_EQ(SupportMailBody(code, QStringLiteral("Riga 1\r\nRiga 2")),
              QStringLiteral("Error:%20124%20(8004007C)Riga%201%0d%0aRiga%202"));
    EXPECT_EQ(SupportMailBody(QStringLiteral("1 (1)"), QStringLiteral("a&b=c#d%e+f")),
              QStringLiteral("Error:%201%20(1)a%26b=c%23d%25e%2Bf"));
    EXPECT_EQ(SupportMailBody(QStringLiteral("1 (1)"), QStringLiteral("perch\u00e9 \U0001F600")),
              QStringLiteral("Error:%201%20(1)perch%C3%A9%20%F0%9F%98%80"));
    EXPECT_EQ(SupportMailUrl(QStringLiteral("1 (1)"), QStringLiteral("x")),
              QStringLiteral("mailto:assistenza@mensora.invalid?subject=SUPPORT%20REQUEST&body=Error:%201%20(1)x"));
}

TEST(ErrorReportText, ErrorPageEscapesTheDetail)
{
    const QString page = ErrorPage(QStringLiteral("<script>alert(1)</script> & \"x\"\r\nriga"));
    EXPECT_FALSE(page.contains(QStringLiteral("<script>")));
    EXPECT_TRUE(page.contains(QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt; &amp; &quot;x&quot;\r\nriga")));
}
