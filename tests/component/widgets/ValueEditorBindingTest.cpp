// The value editor (one field, set on OK, never stored) and the text-box
// binding (typing sets the field, changes of the record show in the box).
#include "EngineDialogsArchive.h"
#include "EngineWindowHelpers.h"

#include "component/widgets/TextBoxBinding.h"
#include "component/widgets/ValueEditorWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QDateTimeEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using DialogTest::Child;
using DialogTest::Press;
using DialogTest::TypeAndLeave;

namespace {

std::shared_ptr<DataObject> Lasagne(DialogTest::Archive& archive)
{
    return archive.Open(QStringLiteral("Piatti"), QStringLiteral("Nome = 'Lasagne'"));
}

} // namespace

TEST(ValueEditorWindow, SetsTheFieldOnlyWhenConfirmedAndChanged)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto dish = Lasagne(archive);
    dish->SetValue(QStringLiteral("Ultima_Data"), QDateTime(QDate(2024, 3, 9), QTime(20, 30, 15)));
    dish->SaveRecord();
    {
        ValueEditorWindow window(dish, QStringLiteral("Ultima_Data"), QStringLiteral("Data e ora"));
        EXPECT_EQ(window.objectName(), QStringLiteral("frmValueEditor"));
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Data e ora"));
        EXPECT_EQ(Child<QLabel>(window, QStringLiteral("lblField"))->text(), QStringLiteral("Ultima Data:"));
        auto* date = Child<QDateTimeEdit>(window, QStringLiteral("dtpUltima_Data"));
        EXPECT_EQ(date->text(), QStringLiteral("09/03/2024 20:30"));
        Press(window, QStringLiteral("cmdOk"));
        EXPECT_EQ(window.result(), QDialog::Accepted);
        EXPECT_FALSE(window.Changed()) << "seconds the box does not show are no change";
        EXPECT_FALSE(dish->IsEditing());
    }
    {
        ValueEditorWindow window(dish, QStringLiteral("Ultima_Data"), QString());
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Ultima Data"));
        Child<QDateTimeEdit>(window, QStringLiteral("dtpUltima_Data"))->setDateTime(QDateTime(QDate(2025, 1, 2), QTime(9, 0)));
        Press(window, QStringLiteral("cmdCancel"));
        EXPECT_FALSE(window.Changed());
        EXPECT_FALSE(dish->IsEditing());
    }
    {
        ValueEditorWindow window(dish, QStringLiteral("Ultima_Data"), QString());
        Child<QDateTimeEdit>(window, QStringLiteral("dtpUltima_Data"))->setDateTime(QDateTime(QDate(2025, 1, 2), QTime(9, 0)));
        Press(window, QStringLiteral("cmdOk"));
        EXPECT_TRUE(window.Changed());
    }
    EXPECT_EQ(dish->GetValue(QStringLiteral("Ultima_Data")).toDateTime(), QDateTime(QDate(2025, 1, 2), QTime(9, 0)));
    EXPECT_EQ(Lasagne(archive)->GetValue(QStringLiteral("Ultima_Data")).toDateTime().date(), QDate(2024, 3, 9))
        << "the caller stores the record";
    EXPECT_TRUE(dialogs.Calls().empty());
}

TEST(ValueEditorWindow, AValueTheFieldRefusesKeepsTheWindowOpen)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto dish = Lasagne(archive);
    ValueEditorWindow window(dish, QStringLiteral("Prezzo"), QStringLiteral("Prezzo"));
    auto* price = Child<QLineEdit>(window, QStringLiteral("txtPrezzo"));
    EXPECT_EQ(price->text(), QStringLiteral("9,00"));
    DialogTest::Type(price, QStringLiteral("1,2,3"));
    dialogs.AnswerMessage(MsgResult::Ok);
    Press(window, QStringLiteral("cmdOk"));
    EXPECT_NE(window.result(), QDialog::Accepted);
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Exclamation);
    EXPECT_EQ(dish->GetValue(QStringLiteral("Prezzo")).value<Currency>(), Currency::FromUnits(90000));
    DialogTest::Type(price, QStringLiteral("9,5"));
    Press(window, QStringLiteral("cmdOk"));
    EXPECT_TRUE(window.Changed());
    EXPECT_EQ(dish->GetValue(QStringLiteral("Prezzo")).value<Currency>(), Currency::FromUnits(95000));

    ValueEditorWindow reference(dish, QStringLiteral("Categoria"), QString());
    auto* category = Child<QComboBox>(reference, QStringLiteral("cboCategoria"));
    EXPECT_EQ(category->currentText(), QStringLiteral("Primi"));
    category->setCurrentIndex(category->findText(QStringLiteral("Dolci")));
    Press(reference, QStringLiteral("cmdOk"));
    EXPECT_TRUE(reference.Changed());
    EXPECT_EQ(dish->GetValue(QStringLiteral("Categoria")).toString(), QStringLiteral("Dolci"));

    EXPECT_THROW(ValueEditorWindow(dish, QStringLiteral("Colore"), QString()), Exception);
}

TEST(TextBoxBinding, TypingSetsTheFieldAndTheRecordShowsInTheBox)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto dishes = archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome"));
    QLineEdit name;
    auto* binding = new TextBoxBinding(&name, dishes, QStringLiteral("Nome"));
    EXPECT_EQ(binding->parent(), &name);
    EXPECT_EQ(name.text(), QStringLiteral("Lasagne"));

    DialogTest::Type(&name, QStringLiteral("Lasagne al forno"));
    EXPECT_TRUE(dishes->IsEditing()) << "a text is set as it is typed";
    EXPECT_EQ(dishes->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Lasagne al forno"));

    dishes->SetValue(QStringLiteral("Nome"), QStringLiteral("Lasagne verdi"));
    EXPECT_EQ(name.text(), QStringLiteral("Lasagne verdi"));
    dishes->SaveRecord();
    dishes->MoveNext();
    EXPECT_EQ(name.text(), QStringLiteral("Panna cotta")) << "the box follows the current record";

    QLineEdit price;
    new TextBoxBinding(&price, dishes, QStringLiteral("Prezzo"));
    EXPECT_EQ(price.text(), QStringLiteral("1234,50"));
    DialogTest::Type(&price, QStringLiteral("12,5"));
    EXPECT_FALSE(dishes->IsEditing()) << "a number is set when the box is left";
    TypeAndLeave(&price, QStringLiteral("12,5"));
    EXPECT_EQ(dishes->GetValue(QStringLiteral("Prezzo")).value<Currency>(), Currency::FromUnits(125000));
    EXPECT_EQ(price.text(), QStringLiteral("12,50"));

    dialogs.AnswerMessage(MsgResult::Ok);
    TypeAndLeave(&price, QStringLiteral("1,2,3"));
    EXPECT_EQ(dialogs.Count(DialogKind::MessageBox), 1);
    EXPECT_EQ(price.text(), QStringLiteral("12,50")) << "a refused value shows the field again";

    binding->Bind(nullptr, QString());
    EXPECT_EQ(name.text(), QString());
}

TEST(TextBoxBinding, MultiLineBoxesRulesAndReadOnlyFields)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto dish = Lasagne(archive);
    QPlainTextEdit note;
    new TextBoxBinding(&note, dish, QStringLiteral("Nome"));
    EXPECT_EQ(note.toPlainText(), QStringLiteral("Lasagne"));
    note.setPlainText(QString(30, u'x'));
    EXPECT_EQ(dish->GetValue(QStringLiteral("Nome")).toString(), QString(30, u'x'));

    auto rows = archive.Open(QStringLiteral("Righe"));
    rows->AddNew();
    rows->SetValue(QStringLiteral("Prezzo"), 3);
    QLineEdit amount;
    new TextBoxBinding(&amount, rows, QStringLiteral("Importo"));
    EXPECT_TRUE(amount.isReadOnly());
    EXPECT_EQ(amount.text(), QStringLiteral("3,00"));
    rows->SetValue(QStringLiteral("Quantità"), 4);
    EXPECT_EQ(amount.text(), QStringLiteral("12,00")) << "a field the rules change shows its new value";
}

// A text pasted into a bound box that is longer than its column: the
// engine's message, and the box shows the field as it was; nothing is cut
// to fit, in a one-line box (whose own length limit would cut it silently)
// nor in a multi-line one.
TEST(TextBoxBinding, APastedTextLongerThanTheColumnIsRefusedWithTheEngineMessage)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto dish = Lasagne(archive);
    QWidget window;
    auto* name = new QLineEdit(&window);
    auto* note = new QPlainTextEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(name);
    layout->addWidget(note);
    new TextBoxBinding(name, dish, QStringLiteral("Nome"));
    new TextBoxBinding(note, dish, QStringLiteral("Codice"));
    ASSERT_TRUE(UserInput::BringToFront(window));
    const QString message = QStringLiteral("Il testo per il campo «Nome» è lungo 31 caratteri: il massimo è 30");

    QGuiApplication::clipboard()->setText(QStringLiteral("Tagliatelle al ragù d'Ortensia")); // 30 characters
    UserInput::Click(*name);
    UserInput::PressKey(Qt::Key_A, Qt::ControlModifier);
    UserInput::PressKey(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dish->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Tagliatelle al ragù d'Ortensia"));
    EXPECT_EQ(dialogs.Count(DialogKind::MessageBox), 0);

    QGuiApplication::clipboard()->setText(QStringLiteral("Tagliatelle al ragù d'Ortensia!")); // 31 characters
    dialogs.AnswerMessage(MsgResult::Ok);
    UserInput::PressKey(Qt::Key_A, Qt::ControlModifier);
    UserInput::PressKey(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(dialogs.Count(DialogKind::MessageBox), 1);
    EXPECT_EQ(dialogs.LastCall().text, message);
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Exclamation);
    EXPECT_EQ(name->text(), QStringLiteral("Tagliatelle al ragù d'Ortensia")) << "refused whole, not cut to 30";
    EXPECT_EQ(dish->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Tagliatelle al ragù d'Ortensia"));

    // A multi-line box: the same refusal ("Codice" holds 8 characters).
    QGuiApplication::clipboard()->setText(QStringLiteral("AB-12345"));
    UserInput::Click(*note);
    UserInput::PressKey(Qt::Key_A, Qt::ControlModifier);
    UserInput::PressKey(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dish->GetValue(QStringLiteral("Codice")).toString(), QStringLiteral("AB-12345"));
    dialogs.AnswerMessage(MsgResult::Ok);
    UserInput::TypeText(QStringLiteral("6"));
    ASSERT_EQ(dialogs.Count(DialogKind::MessageBox), 2);
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Il testo per il campo «Codice» è lungo 9 caratteri: il massimo è 8"));
    EXPECT_EQ(note->toPlainText(), QStringLiteral("AB-12345"));
    EXPECT_EQ(dish->GetValue(QStringLiteral("Codice")).toString(), QStringLiteral("AB-12345"));
    UserInput::PressKey(Qt::Key_Backspace);
    EXPECT_EQ(dish->GetValue(QStringLiteral("Codice")).toString(), QStringLiteral("AB-1234")) << "the cursor stays at the end";
}
