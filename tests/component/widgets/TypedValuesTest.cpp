// The record and value editors driven with real keys and the clipboard:
// amounts and quantities typed as the grid shows them, and a pasted text
// longer than its column, which is refused, never cut.
#include "EngineDialogsArchive.h"

#include "component/Currency.h"
#include "component/widgets/RecordEditorWindow.h"
#include "component/widgets/ValueEditorWindow.h"
#include "support/QtPrinting.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLineEdit* Box(const QWidget& window, const char* name)
{
    auto* box = window.findChild<QLineEdit*>(QString::fromUtf8(name));
    EXPECT_NE(box, nullptr) << name;
    return box;
}

// Replaces the box's text with keys, then leaves it with Tab.
void Retype(QLineEdit& box, const QString& text)
{
    UserInput::Click(box);
    UserInput::PressKey(Qt::Key_A, Qt::ControlModifier);
    UserInput::PressKey(Qt::Key_Delete);
    UserInput::TypeText(text);
    UserInput::PressKey(Qt::Key_Tab);
}

void PressOk(QDialog& window)
{
    auto* ok = window.findChild<QPushButton*>(QStringLiteral("cmdOk"));
    ASSERT_NE(ok, nullptr);
    UserInput::Click(*ok);
}

Currency Money(qint64 units) { return Currency::FromUnits(units); }

TEST(TypedValues, AmountsAndQuantitiesAsTheGridShowsThem)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto rows = archive.Open(QStringLiteral("Righe"));
    RecordEditorWindow window(rows, EditMode::NewRecord, {});
    ASSERT_TRUE(UserInput::BringToFront(window));
    QLineEdit* price = Box(window, "txtPrezzo");
    QLineEdit* quantity = Box(window, "txtQuantità");
    QLineEdit* amount = Box(window, "txtImporto");

    Retype(*price, QStringLiteral("1.500"));
    EXPECT_EQ(price->text(), QStringLiteral("1500,00")) << "fifteen hundred, not one and a half";
    Retype(*quantity, QStringLiteral("1.000"));
    EXPECT_EQ(amount->text(), QStringLiteral("1500000,00"));
    Retype(*quantity, QStringLiteral("2,5"));
    EXPECT_EQ(amount->text(), QStringLiteral("3750,00"));

    // An amount that could be read two ways: the message, and the text
    // stays to be corrected; the record keeps its price.
    dialogs.AnswerMessage(MsgResult::Ok);
    Retype(*price, QStringLiteral("1.50,5"));
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Valore non valido per il campo «Prezzo di vendita»: «1.50,5» non "
                                                      "è un importo. Scrivere i decimali dopo la virgola e, se si vuole, "
                                                      "il punto per le migliaia: 1.500,50"));
    EXPECT_EQ(price->text(), QStringLiteral("1.50,5"));
    EXPECT_EQ(QApplication::focusWidget(), price);
    EXPECT_EQ(rows->GetValue(QStringLiteral("Prezzo")).value<Currency>(), Money(15000000));
    dialogs.AnswerMessage(MsgResult::Ok);
    PressOk(window);
    EXPECT_NE(window.result(), QDialog::Accepted) << "OK does not store past a refused value";

    Retype(*price, QStringLiteral("1.500,50"));
    PressOk(window);
    ASSERT_TRUE(window.StoredKey().has_value());
    auto stored = archive.Open(QStringLiteral("Righe"), QStringLiteral("OID = %1").arg(*window.StoredKey()));
    EXPECT_EQ(stored->GetValue(QStringLiteral("Prezzo")).value<Currency>(), Money(15005000));
    EXPECT_EQ(stored->GetValue(QStringLiteral("Quantità")).toDouble(), 2.5);

    // The value editor reads the same way.
    auto dish = archive.Open(QStringLiteral("Piatti"), QStringLiteral("Nome = 'Lasagne'"));
    ValueEditorWindow value(dish, QStringLiteral("Prezzo"), QString());
    ASSERT_TRUE(UserInput::BringToFront(value));
    Retype(*Box(value, "txtPrezzo"), QStringLiteral("2.000"));
    PressOk(value);
    EXPECT_EQ(value.result(), QDialog::Accepted);
    EXPECT_EQ(dish->GetValue(QStringLiteral("Prezzo")).value<Currency>(), Money(20000000));
}

TEST(TypedValues, APastedTextLongerThanItsColumnIsRefusedNotCut)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto dishes = archive.Open(QStringLiteral("Piatti"));
    RecordEditorWindow window(dishes, EditMode::NewRecord, {});
    ASSERT_TRUE(UserInput::BringToFront(window));
    QLineEdit* name = Box(window, "txtNome");

    const QString pasted = QStringLiteral("Tagliatelle al ragù della nonna"); // 31 characters, the column holds 30
    QGuiApplication::clipboard()->setText(pasted);
    UserInput::Click(*name);
    UserInput::PressKey(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(name->text(), pasted) << "nothing is cut";
    dialogs.AnswerMessage(MsgResult::Ok);
    UserInput::PressKey(Qt::Key_Tab);
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Il testo per il campo «Nome» è lungo 31 caratteri: il massimo è 30"));
    EXPECT_EQ(name->text(), pasted) << "the text stays to be shortened";

    dialogs.AnswerMessage(MsgResult::Ok);
    PressOk(window);
    EXPECT_NE(window.result(), QDialog::Accepted);
    EXPECT_FALSE(window.StoredKey().has_value());

    UserInput::Click(*name);
    UserInput::PressKey(Qt::Key_End);
    UserInput::PressKey(Qt::Key_Backspace);
    PressOk(window);
    ASSERT_TRUE(window.StoredKey().has_value());
    auto stored = archive.Open(QStringLiteral("Piatti"), QStringLiteral("OID = %1").arg(*window.StoredKey()));
    EXPECT_EQ(stored->GetValue(QStringLiteral("Nome")).toString(), pasted.left(30));
}

} // namespace
