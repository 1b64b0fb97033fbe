// The record editor: its session over the data object (fields, read-only
// parts, rules as values change, storing and cancelling) and its window
// driven as a user would.
#include "EngineDialogsArchive.h"
#include "EngineWindowHelpers.h"

#include "component/RecordEditSession.h"
#include "component/widgets/RecordEditorWindow.h"
#include "support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>

using DialogTest::Child;
using DialogTest::Press;
using DialogTest::TypeAndLeave;

namespace {

QStringList FieldNames(const RecordEditSession& session)
{
    QStringList names;
    for (int index : session.Fields())
        names << session.Data().Field(index).name;
    return names;
}

qint64 AddRow(DialogTest::Archive& archive, const QString& dish, double quantity)
{
    auto rows = archive.Open(QStringLiteral("Righe"));
    auto dishes = archive.Open(QStringLiteral("Piatti"), QStringLiteral("Nome = '%1'").arg(dish));
    rows->AddRecord({QStringLiteral("OID_Piatti"), dishes->ValueAt(0), QStringLiteral("Quantità"), quantity});
    return rows->ValueAt(0).toLongLong();
}

} // namespace

TEST(RecordEditSession, NewRecordWithRulesLiveAndReadOnlyParts)
{
    DialogTest::Archive archive;
    auto rows = archive.Open(QStringLiteral("Righe"));
    RecordEditSession session(rows, EditMode::NewRecord);
    EXPECT_TRUE(session.IsNewRecord());
    EXPECT_EQ(FieldNames(session), (QStringList{"Nome", "Prezzo", "Ultima_Data", "Porzioni", "Peso", "Disponibile",
                                                "Codice", "Categoria", QStringLiteral("Quantità"), "Importo"}));
    const int price = rows->FieldIndex(QStringLiteral("Prezzo"));
    const int quantity = rows->FieldIndex(QStringLiteral("Quantità"));
    const int amount = rows->FieldIndex(QStringLiteral("Importo"));
    const int category = rows->FieldIndex(QStringLiteral("Categoria"));
    EXPECT_EQ(session.Value(quantity).toDouble(), 1.0) << "the new-row rule";
    EXPECT_TRUE(session.IsReadOnly(amount)) << "kept by the rules";
    EXPECT_FALSE(session.IsReadOnly(price));

    session.SetValue(price, QStringLiteral("4,50"));
    session.SetValue(quantity, 3);
    EXPECT_EQ(session.Value(amount).value<Currency>(), Currency::FromUnits(135000));
    EXPECT_THROW(session.SetValue(amount, 1), Exception);

    // A reference takes and gives the referenced record's key.
    auto categories = archive.Open(QStringLiteral("Categorie"), QStringLiteral("Descrizione = 'Dolci'"));
    const qint64 sweets = categories->ValueAt(0).toLongLong();
    session.SetValue(category, sweets);
    EXPECT_EQ(session.Value(category).toLongLong(), sweets);
    EXPECT_EQ(rows->GetValue(QStringLiteral("Categoria")).toString(), QStringLiteral("Dolci"));

    const qint64 oid = session.Save();
    EXPECT_FALSE(session.IsOpen());
    auto stored = archive.Open(QStringLiteral("Righe"), QStringLiteral("OID = %1").arg(oid));
    EXPECT_EQ(stored->GetValue(QStringLiteral("Importo")).value<Currency>(), Currency::FromUnits(135000));
    EXPECT_EQ(stored->GetValue(QStringLiteral("Categoria")).toString(), QStringLiteral("Dolci"));
}

TEST(RecordEditSession, TheBaseOptionLocksWhatTheRecordTookFromItsBase)
{
    DialogTest::Archive archive;
    AddRow(archive, QStringLiteral("Lasagne"), 2);
    auto rows = archive.Open(QStringLiteral("Righe"));
    RecordEditSession locked(rows, EditMode::CurrentRecord, RecordEditorOptions{255});
    for (const char* name : {"Nome", "Prezzo", "Porzioni", "Categoria"})
        EXPECT_TRUE(locked.IsReadOnly(rows->FieldIndex(QString::fromUtf8(name)))) << name;
    EXPECT_FALSE(locked.IsReadOnly(rows->FieldIndex(QStringLiteral("Quantità"))));
    EXPECT_THROW(locked.SetValue(rows->FieldIndex(QStringLiteral("Prezzo")), 1), Exception);
    locked.Cancel();

    // A column another table brings through the select list is shown, read-only.
    auto joined = archive.database->Tables().Item(QStringLiteral("Righe")).OpenDataObject(
        archive.engine, {}, {}, {}, QStringLiteral("*, Categorie.Descrizione"));
    RecordEditSession withJoin(joined, EditMode::CurrentRecord);
    const int description = joined->FieldIndex(QStringLiteral("Descrizione"));
    ASSERT_TRUE(withJoin.Fields().contains(description));
    EXPECT_TRUE(withJoin.IsReadOnly(description));
    EXPECT_EQ(withJoin.Value(description).toString(), QStringLiteral("Primi"));
    withJoin.Cancel();

    // On a table without a base the option changes nothing.
    auto dishes = archive.Open(QStringLiteral("Piatti"));
    RecordEditSession plain(dishes, EditMode::CurrentRecord, RecordEditorOptions{255});
    EXPECT_FALSE(plain.IsReadOnly(dishes->FieldIndex(QStringLiteral("Prezzo"))));
}

TEST(RecordEditSession, AFailedSaveKeepsTheEditAndCancelLeavesNothing)
{
    DialogTest::Archive archive;
    auto rows = archive.Open(QStringLiteral("Righe"));
    {
        RecordEditSession session(rows, EditMode::NewRecord);
        session.SetValue(rows->FieldIndex(QStringLiteral("Nome")), QStringLiteral("Acqua"));
        session.SetValue(rows->FieldIndex(QStringLiteral("Quantità")), 0);
        try {
            session.Save();
            FAIL() << "a quantity of zero was stored";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Description(), QStringLiteral("La quantità non può essere zero"));
        }
        EXPECT_TRUE(session.IsOpen());
        EXPECT_EQ(rows->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Acqua"));
        // Left without storing: the session cancels.
    }
    EXPECT_FALSE(rows->IsEditing());
    EXPECT_EQ(rows->RecordCount(), 0);

    auto dishes = archive.Open(QStringLiteral("Piatti"), QStringLiteral("Nome = 'Lasagne'"));
    // A change the caller made before the editor opened is kept...
    dishes->SetValue(QStringLiteral("Porzioni"), 6);
    {
        RecordEditSession session(dishes, EditMode::CurrentRecord);
        session.SetValue(dishes->FieldIndex(QStringLiteral("Porzioni")), 9);
        session.Cancel();
    }
    // ...and only the editor's own change is dropped.
    EXPECT_EQ(archive.Open(QStringLiteral("Piatti"), QStringLiteral("Nome = 'Lasagne'"))->GetValue(QStringLiteral("Porzioni")).toLongLong(), 6);

    auto none = archive.Open(QStringLiteral("Piatti"), QStringLiteral("Nome = 'Nessuno'"));
    try {
        RecordEditSession session(none, EditMode::CurrentRecord);
        FAIL() << "an editor opened on no record";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Number(), ComponentError::NoCurrentRecord);
    }
}

TEST(RecordEditorWindow, EditorsPerTypeFollowTheRulesAndOkStores)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto rows = archive.Open(QStringLiteral("Righe"));
    RecordEditorWindow window(rows, EditMode::NewRecord, {});
    EXPECT_EQ(window.objectName(), QStringLiteral("frmRecordEditor"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Righe vendute - Nuovo"));
    EXPECT_EQ(Child<QLabel>(window, QStringLiteral("lblPrezzo"))->text(), QStringLiteral("Prezzo di vendita:"));
    EXPECT_EQ(Child<QLineEdit>(window, QStringLiteral("txtPrezzo"))->toolTip(), QString());
    EXPECT_FALSE(Child<QLineEdit>(window, QStringLiteral("txtImporto"))->isEnabled());
    EXPECT_EQ(Child<QLineEdit>(window, QStringLiteral("txtQuantità"))->text(), QStringLiteral("1"));
    ASSERT_NE(Child<QDateTimeEdit>(window, QStringLiteral("dtpUltima_Data")), nullptr);
    auto* available = Child<QCheckBox>(window, QStringLiteral("chkDisponibile"));
    auto* category = Child<QComboBox>(window, QStringLiteral("cboCategoria"));
    ASSERT_EQ(category->count(), 3);
    EXPECT_EQ(category->itemText(0), QString());
    EXPECT_EQ(category->itemText(1), QStringLiteral("Dolci"));
    EXPECT_EQ(category->itemText(2), QStringLiteral("Primi"));

    TypeAndLeave(Child<QLineEdit>(window, QStringLiteral("txtNome")), QStringLiteral("Caffè"));
    TypeAndLeave(Child<QLineEdit>(window, QStringLiteral("txtPrezzo")), QStringLiteral("1,2"));
    TypeAndLeave(Child<QLineEdit>(window, QStringLiteral("txtQuantità")), QStringLiteral("3"));
    EXPECT_EQ(Child<QLineEdit>(window, QStringLiteral("txtPrezzo"))->text(), QStringLiteral("1,20"));
    EXPECT_EQ(Child<QLineEdit>(window, QStringLiteral("txtImporto"))->text(), QStringLiteral("3,60"))
        << "the amount follows price and quantity while the window is open";
    available->setChecked(true);
    category->setCurrentIndex(2);
    EXPECT_EQ(rows->GetValue(QStringLiteral("Categoria")).toString(), QStringLiteral("Primi"));

    // The last box is still being typed into when OK is pressed.
    auto* weight = Child<QLineEdit>(window, QStringLiteral("txtPeso"));
    DialogTest::Type(weight, QStringLiteral("0,3"));
    Press(window, QStringLiteral("cmdOk"));
    EXPECT_EQ(window.result(), QDialog::Accepted);
    ASSERT_TRUE(window.StoredKey().has_value());
    auto stored = archive.Open(QStringLiteral("Righe"), QStringLiteral("OID = %1").arg(*window.StoredKey()));
    EXPECT_EQ(stored->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Caffè"));
    EXPECT_EQ(stored->GetValue(QStringLiteral("Importo")).value<Currency>(), Currency::FromUnits(36000));
    EXPECT_EQ(stored->GetValue(QStringLiteral("Peso")).toDouble(), 0.3);
    EXPECT_TRUE(stored->GetValue(QStringLiteral("Disponibile")).toBool());
    EXPECT_EQ(stored->GetValue(QStringLiteral("Categoria")).toString(), QStringLiteral("Primi"));
    EXPECT_EQ(dialogs.Calls().size(), 0u);
}

TEST(RecordEditorWindow, RefusalsAreShownAndTheWindowStaysOpen)
{
    DialogTest::Archive archive;
    const qint64 row = AddRow(archive, QStringLiteral("Lasagne"), 2);
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto rows = archive.Open(QStringLiteral("Righe"));
    RecordEditorWindow window(rows, EditMode::CurrentRecord, RecordEditorOptions{255});
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Righe vendute - Modifica"));
    EXPECT_FALSE(Child<QLineEdit>(window, QStringLiteral("txtNome"))->isEnabled());
    EXPECT_FALSE(Child<QLineEdit>(window, QStringLiteral("txtPrezzo"))->isEnabled());
    EXPECT_FALSE(Child<QComboBox>(window, QStringLiteral("cboCategoria"))->isEnabled());
    auto* quantity = Child<QLineEdit>(window, QStringLiteral("txtQuantità"));
    EXPECT_TRUE(quantity->isEnabled());

    // A number that cannot be read: the message, and what was typed stays to
    // be corrected while the record keeps its value.
    dialogs.AnswerMessage(MsgResult::Ok);
    TypeAndLeave(quantity, QStringLiteral("1,2,3"));
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_TRUE(dialogs.LastCall().text.contains(QStringLiteral("1,2,3")));
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Exclamation);
    EXPECT_EQ(dialogs.LastCall().title, QStringLiteral("Righe vendute - Modifica"));
    EXPECT_EQ(quantity->text(), QStringLiteral("1,2,3"));
    EXPECT_EQ(rows->GetValue(QStringLiteral("Quantità")).toDouble(), 2.0);

    // The rules refuse to store: the message, and nothing is closed or stored.
    dialogs.AnswerMessage(MsgResult::Ok);
    TypeAndLeave(quantity, QStringLiteral("0"));
    Press(window, QStringLiteral("cmdOk"));
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("La quantità non può essere zero"));
    EXPECT_NE(window.result(), QDialog::Accepted);
    EXPECT_FALSE(window.StoredKey().has_value());

    TypeAndLeave(quantity, QStringLiteral("4"));
    Press(window, QStringLiteral("cmdOk"));
    ASSERT_EQ(window.StoredKey(), std::optional<qint64>(row));
    EXPECT_EQ(archive.Open(QStringLiteral("Righe"))->GetValue(QStringLiteral("Importo")).value<Currency>(),
              Currency::FromUnits(360000));
}

TEST(RecordEditorWindow, CancelDropsTheNewRecordAndEscCancelsToo)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto dishes = archive.Open(QStringLiteral("Piatti"));
    {
        RecordEditorWindow window(dishes, EditMode::NewRecord, {});
        TypeAndLeave(Child<QLineEdit>(window, QStringLiteral("txtNome")), QStringLiteral("Da non salvare"));
        Press(window, QStringLiteral("cmdCancel"));
        EXPECT_EQ(window.result(), QDialog::Rejected);
    }
    EXPECT_FALSE(dishes->IsEditing());
    EXPECT_EQ(dishes->RecordCount(), 5);

    dishes->FindFirst(QStringLiteral("Nome = 'Lasagne'"));
    {
        RecordEditorWindow window(dishes, EditMode::CurrentRecord, {});
        TypeAndLeave(Child<QLineEdit>(window, QStringLiteral("txtPorzioni")), QStringLiteral("8"));
        QTest::keyClick(&window, Qt::Key_Escape);
        EXPECT_EQ(window.result(), QDialog::Rejected);
    }
    EXPECT_EQ(archive.Open(QStringLiteral("Piatti"), QStringLiteral("Nome = 'Lasagne'"))->GetValue(QStringLiteral("Porzioni")).toLongLong(), 2);
}
