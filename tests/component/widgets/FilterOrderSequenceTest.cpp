// The complex filter, order and field-sequence dialogs driven offscreen,
// and the grid layout applied to a grid.
#include "EngineDialogsArchive.h"
#include "EngineWindowHelpers.h"

#include "component/ComplexFilter.h"
#include "component/GridLayout.h"
#include "component/widgets/ComplexFilterWindow.h"
#include "component/widgets/FieldListPicker.h"
#include "component/widgets/FieldSequenceWindow.h"
#include "component/widgets/GridBinding.h"
#include "component/widgets/GridLayoutBinding.h"
#include "component/widgets/OrderWindow.h"
#include "support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QListWidget>
#include <QTableView>
#include <QTreeWidget>

using DialogTest::Child;
using DialogTest::Press;

namespace {

QStringList Rows(const QTreeWidget* list, int column)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(column);
    return rows;
}

QStringList Items(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

void Choose(QComboBox* box, const QString& text)
{
    const int index = box->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    box->setCurrentIndex(index);
}

void AddCondition(ComplexFilterWindow& window, const QString& field, const QString& op, const QString& value)
{
    Choose(Child<QComboBox>(window, QStringLiteral("cboField")), field);
    Choose(Child<QComboBox>(window, QStringLiteral("cboOperator")), op);
    DialogTest::Type(Child<QLineEdit>(window, QStringLiteral("txtValue")), value);
    Press(window, QStringLiteral("cmdAdd"));
}

void SelectAvailable(QWidget& window, const QString& caption)
{
    auto* list = Child<QListWidget>(window, QStringLiteral("lstFields"));
    const QList<QListWidgetItem*> found = list->findItems(caption, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << caption.toStdString();
    list->clearSelection();
    found.first()->setSelected(true);
}

void SelectChosen(QWidget& window, const QString& caption)
{
    auto* list = Child<QTreeWidget>(window, QStringLiteral("lstChosen"));
    const QList<QTreeWidgetItem*> found = list->findItems(caption, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << caption.toStdString();
    list->setCurrentItem(found.first());
}

} // namespace

TEST(ComplexFilterWindow, ConditionsAreEditedOnACopyAndHandedOverOnOk)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    ComplexFilter filter(archive.database, QStringLiteral("Piatti"));
    filter.AddCondition(QStringLiteral("Disponibile"), true);
    {
        ComplexFilterWindow window(filter, *archive.database, QStringLiteral("FILTRO COMPLESSO"));
        EXPECT_EQ(window.objectName(), QStringLiteral("frmComplexFilter"));
        EXPECT_EQ(window.windowTitle(), QStringLiteral("FILTRO COMPLESSO"));
        auto* fields = Child<QComboBox>(window, QStringLiteral("cboField"));
        EXPECT_EQ(fields->itemText(1), QStringLiteral("Prezzo di vendita"));
        EXPECT_EQ(fields->itemText(fields->count() - 1), QStringLiteral("Categoria"));
        auto* list = Child<QTreeWidget>(window, QStringLiteral("lstConditions"));
        EXPECT_EQ(Rows(list, 0), QStringList{"Disponibile"});

        AddCondition(window, QStringLiteral("Prezzo di vendita"), QStringLiteral("> (maggiore di)"), QStringLiteral("5"));
        AddCondition(window, QStringLiteral("Nome"), QStringLiteral("= (uguale a)"), QStringLiteral("L*"));
        AddCondition(window, QStringLiteral("Categoria"), QStringLiteral("<> (diverso da)"), QString());
        EXPECT_EQ(Rows(list, 0), (QStringList{"Disponibile", "Prezzo di vendita", "Nome", "Categoria"}));
        EXPECT_EQ(Rows(list, 1), (QStringList{"= (uguale a)", "> (maggiore di)", "= (uguale a)", QStringLiteral("non è vuoto")}));
        EXPECT_EQ(Rows(list, 2), (QStringList{QStringLiteral("Sì"), "5,00", "L*", ""}));
        EXPECT_TRUE(dialogs.Calls().empty());

        // Values that do not suit the field are refused with a message.
        dialogs.AnswerMessage(MsgResult::Ok).AnswerMessage(MsgResult::Ok).AnswerMessage(MsgResult::Ok);
        AddCondition(window, QStringLiteral("Porzioni"), QStringLiteral("< (minore di)"), QString());
        EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Indicare il valore da confrontare."));
        AddCondition(window, QStringLiteral("Porzioni"), QStringLiteral("Like (simile a)"), QStringLiteral("2"));
        EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Il confronto Like vale solo per i campi di testo."));
        AddCondition(window, QStringLiteral("Ultima Data"), QStringLiteral(">= (maggiore o uguale)"), QStringLiteral("31/02/2024"));
        EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Exclamation);
        EXPECT_EQ(list->topLevelItemCount(), 4);

        // Enter in the value box adds the condition and keeps the dialog open.
        Choose(Child<QComboBox>(window, QStringLiteral("cboField")), QStringLiteral("Porzioni"));
        DialogTest::Type(Child<QLineEdit>(window, QStringLiteral("txtValue")), QStringLiteral("2"));
        QTest::keyClick(Child<QLineEdit>(window, QStringLiteral("txtValue")), Qt::Key_Return);
        EXPECT_EQ(list->topLevelItemCount(), 5);
        EXPECT_NE(window.result(), QDialog::Accepted);

        list->topLevelItem(0)->setSelected(true);
        Press(window, QStringLiteral("cmdRemove"));
        EXPECT_EQ(filter.Conditions().size(), 1) << "the filter waits for OK";
        Press(window, QStringLiteral("cmdCancel"));
    }
    EXPECT_EQ(filter.Conditions().size(), 1);
    EXPECT_EQ(filter.Render(), QStringLiteral("Disponibile = True"));

    ComplexFilterWindow window(filter, *archive.database, QStringLiteral("FILTRO COMPLESSO"));
    Press(window, QStringLiteral("cmdClear"));
    AddCondition(window, QStringLiteral("Prezzo di vendita"), QStringLiteral("> (maggiore di)"), QStringLiteral("5"));
    AddCondition(window, QStringLiteral("Nome"), QStringLiteral("= (uguale a)"), QStringLiteral("L*"));
    Press(window, QStringLiteral("cmdOk"));
    EXPECT_EQ(window.result(), QDialog::Accepted);
    auto dishes = archive.Open(QStringLiteral("Piatti"));
    dishes->SetFilter(filter.Render());
    ASSERT_EQ(dishes->RecordCount(), 1);
    EXPECT_EQ(dishes->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Lasagne"));
}

TEST(ComplexFilterWindow, SavedFiltersAreSavedLoadedAndDeleted)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    ComplexFilter filter(archive.database, QStringLiteral("Piatti"));
    ComplexFilterWindow window(filter, *archive.database, QStringLiteral("Selezioni predefinite"));
    auto* saved = Child<QComboBox>(window, QStringLiteral("cboSaved"));
    EXPECT_EQ(saved->count(), 0);

    AddCondition(window, QStringLiteral("Prezzo di vendita"), QStringLiteral(">= (maggiore o uguale)"), QStringLiteral("10"));
    dialogs.AnswerInput(QStringLiteral(" Cari "));
    Press(window, QStringLiteral("cmdSaveAs"));
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Nome del filtro:"));
    EXPECT_EQ(dialogs.LastCall().title, QStringLiteral("Salva filtro"));
    EXPECT_EQ(filter.SavedNames(), QStringLiteral("Cari"));
    EXPECT_EQ(saved->currentText(), QStringLiteral("Cari"));

    // The same name again asks first; No keeps the saved filter.
    Press(window, QStringLiteral("cmdClear"));
    dialogs.AnswerInput(QStringLiteral("Cari")).AnswerMessage(MsgResult::No);
    Press(window, QStringLiteral("cmdSaveAs"));
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Un filtro con questo nome esiste già.\rVuoi sostituirlo?"));
    EXPECT_EQ(dialogs.LastCall().defaultButton, MsgDefault::Button2);

    Press(window, QStringLiteral("cmdLoad"));
    ASSERT_EQ(window.Working().Conditions().size(), 1);
    EXPECT_EQ(window.Working().Render(), QStringLiteral("Prezzo >= 10"));

    // A filter deleted meanwhile is reported by the loading.
    ComplexFilter(archive.database, QStringLiteral("Piatti")).Delete(QStringLiteral("Cari"));
    dialogs.AnswerMessage(MsgResult::Ok);
    Press(window, QStringLiteral("cmdLoad"));
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Un filtro con questo nome non è presente!"));
    EXPECT_EQ(dialogs.LastCall().buttons, MsgButtons::Ok);
    EXPECT_EQ(saved->count(), 0);

    dialogs.AnswerInput(QStringLiteral("Economici"));
    Press(window, QStringLiteral("cmdSaveAs"));
    dialogs.AnswerMessage(MsgResult::Yes);
    Press(window, QStringLiteral("cmdDelete"));
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Vuoi eliminare il filtro «Economici»?"));
    EXPECT_EQ(filter.SavedNames(), QString());
    Press(window, QStringLiteral("cmdOk"));
    EXPECT_EQ(filter.CurrentName(), QString());
}

TEST(OrderWindow, ProposesTheCurrentOrderAndGivesTheChosenOne)
{
    DialogTest::Archive archive;
    auto dishes = archive.Open(QStringLiteral("Piatti"));
    OrderWindow window(*dishes, QStringLiteral("Ordinamento Complesso"),
                       QStringLiteral("Prezzo DESC, Piatti.Nome, Ricevute.Data"));
    EXPECT_EQ(window.objectName(), QStringLiteral("frmOrder"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Ordinamento Complesso"));
    auto* chosen = Child<QTreeWidget>(window, QStringLiteral("lstChosen"));
    EXPECT_EQ(Rows(chosen, 0), (QStringList{"Prezzo di vendita", "Nome", "Ricevute.Data"}));
    EXPECT_EQ(Rows(chosen, 1), (QStringList{"Decrescente", "Crescente", "Crescente"}));
    const QStringList available = Items(Child<QListWidget>(window, QStringLiteral("lstFields")));
    EXPECT_FALSE(available.contains(QStringLiteral("OID")));
    EXPECT_FALSE(available.contains(QStringLiteral("Nome")));
    EXPECT_TRUE(available.contains(QStringLiteral("Porzioni")));

    SelectChosen(window, QStringLiteral("Ricevute.Data"));
    Press(window, QStringLiteral("cmdRemove"));
    SelectAvailable(window, QStringLiteral("Porzioni"));
    Press(window, QStringLiteral("cmdAdd"));
    Child<QCheckBox>(window, QStringLiteral("chkDescending"))->setChecked(true);
    Press(window, QStringLiteral("cmdUp"));
    EXPECT_EQ(Rows(chosen, 0), (QStringList{"Prezzo di vendita", "Porzioni", "Nome"}));
    Press(window, QStringLiteral("cmdOk"));
    ASSERT_TRUE(window.Result().has_value());
    EXPECT_EQ(*window.Result(), QStringLiteral("Prezzo DESC, Porzioni DESC, Nome"));
    dishes->SetSort(*window.Result());
    EXPECT_EQ(dishes->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Panna cotta"));

    OrderWindow single(*dishes, QStringLiteral("Ordinamento Complesso"), QStringLiteral("Nome DESC"));
    SelectChosen(single, QStringLiteral("Nome"));
    EXPECT_TRUE(Child<QCheckBox>(single, QStringLiteral("chkDescending"))->isChecked());
    Child<QCheckBox>(single, QStringLiteral("chkDescending"))->setChecked(false);
    Press(single, QStringLiteral("cmdOk"));
    EXPECT_EQ(single.Result(), std::optional<QString>(QStringLiteral("Nome ASC")));

    OrderWindow cancelled(*dishes, QStringLiteral("Ordinamento Complesso"), QString());
    Press(cancelled, QStringLiteral("cmdCancel"));
    EXPECT_FALSE(cancelled.Result().has_value());
}

TEST(FieldSequenceWindow, StartsFromTheDefaultsAndGivesEmptyForThem)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto dishes = archive.Open(QStringLiteral("Piatti"));
    const QString title = QStringLiteral("Sequenza di Visualizzazione Campi");
    {
        FieldSequenceWindow window(*dishes, title, QString());
        EXPECT_EQ(window.objectName(), QStringLiteral("frmFieldSequence"));
        EXPECT_EQ(window.windowTitle(), title);
        EXPECT_EQ(Items(Child<QListWidget>(window, QStringLiteral("lstFields"))), QStringList{"Codice"});
        EXPECT_EQ(Rows(Child<QTreeWidget>(window, QStringLiteral("lstChosen")), 0),
                  (QStringList{"Nome", "Prezzo di vendita", "Ultima Data", "Porzioni", "Peso", "Disponibile", "Categoria"}));
        SelectAvailable(window, QStringLiteral("Codice"));
        Press(window, QStringLiteral("cmdAdd"));
        SelectChosen(window, QStringLiteral("Peso"));
        Press(window, QStringLiteral("cmdRemove"));
        Press(window, QStringLiteral("cmdOk"));
        EXPECT_EQ(window.Result(), std::optional<QString>(QStringLiteral("Nome,Prezzo,Ultima_Data,Porzioni,Disponibile,Categoria,Codice")));
    }
    {
        FieldSequenceWindow window(*dishes, title, QStringLiteral("prezzo, Nome, Colore, OID"));
        EXPECT_EQ(Rows(Child<QTreeWidget>(window, QStringLiteral("lstChosen")), 0), (QStringList{"Prezzo di vendita", "Nome"}));
        Press(window, QStringLiteral("cmdDefault"));
        Press(window, QStringLiteral("cmdOk"));
        EXPECT_EQ(window.Result(), std::optional<QString>(QString())) << "the default sequence is stored as none";
    }
    {
        FieldSequenceWindow window(*dishes, title, QStringLiteral("Nome"));
        SelectChosen(window, QStringLiteral("Nome"));
        Press(window, QStringLiteral("cmdRemove"));
        dialogs.AnswerMessage(MsgResult::Ok);
        Press(window, QStringLiteral("cmdOk"));
        EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Scegliere almeno un campo da visualizzare."));
        EXPECT_FALSE(window.Result().has_value());
    }
}

TEST(GridLayoutBinding, AppliesSequenceAndWidthsAndKeepsResizes)
{
    DialogTest::Archive archive;
    QTemporaryDir dir;
    GridLayout layout(dir.filePath(QStringLiteral("Mensora.INI")), QStringLiteral("Piatti"));
    layout.SetFieldSequence(QStringLiteral("Prezzo,Nome"));
    layout.SetFieldWidth(QStringLiteral("Nome"), 2880);

    QTableView view;
    GridBinding grid(&view);
    grid.SetDataObject(archive.Open(QStringLiteral("Piatti")));
    GridLayoutBinding binding(layout, grid);
    binding.Apply();
    ASSERT_EQ(grid.Model().columnCount(), 2);
    EXPECT_EQ(grid.Model().FieldNameOfColumn(0), QStringLiteral("Prezzo"));
    EXPECT_EQ(view.columnWidth(1), GridBinding::TwipsToPixels(2880, view.logicalDpiX()));

    view.horizontalHeader()->resizeSection(0, GridBinding::TwipsToPixels(1440, view.logicalDpiX()));
    EXPECT_EQ(layout.FieldWidth(QStringLiteral("Prezzo")), 1440);

    layout.Reset();
    binding.Apply();
    EXPECT_EQ(grid.Model().columnCount(), 7) << "no sequence: the default fields";
}
