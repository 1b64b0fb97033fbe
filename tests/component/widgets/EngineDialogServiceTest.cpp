// The engine's windows reached through the dialog interface: the Qt service
// builds the real window (a scripted user acts on it through ExecModal) and
// turns its outcome into the result; the scripted double answers callers'
// tests and records what they asked.
#include "EngineDialogsArchive.h"
#include "EngineWindowHelpers.h"

#include "component/ComplexFilter.h"
#include "component/DataExport.h"
#include "component/widgets/FieldListPicker.h"
#include "component/widgets/QtDialogService.h"
#include "support/ScriptedDialogs.h"

#include <QComboBox>
#include <QFile>
#include <QTableView>
#include <QTreeWidget>
#include <gtest/gtest-spi.h>

using DialogTest::Child;
using DialogTest::Press;

namespace {

// Acts on the window and closes it as the button named does.
std::function<int(QDialog&)> Then(const QString& button, std::function<void(QDialog&)> act = {})
{
    return [button, act](QDialog& window) {
        if (act)
            act(window);
        Press(window, button);
        return window.result();
    };
}

} // namespace

TEST(QtDialogServiceEngine, EachWindowGivesItsResult)
{
    DialogTest::Archive archive;
    ScriptedDialogs user;
    ScopedDialogService use(user);
    QtDialogService service;
    auto dishes = archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome"));

    user.AnswerWindow(Then(QStringLiteral("cmdOk"), [](QDialog& w) {
        DialogTest::Type(Child<QLineEdit>(w, QStringLiteral("txtSearch")), QStringLiteral("ris"));
    }));
    const std::optional<qint64> chosen = service.SelectionList(dishes, QString(), QStringLiteral("Nome"));
    EXPECT_EQ(user.LastCall().window, QStringLiteral("frmSelectionList"));
    EXPECT_EQ(user.LastCall().title, QStringLiteral("Piatti del giorno"));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(dishes->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Risotto \"nero\"; al nero"));
    user.AnswerWindow(Then(QStringLiteral("cmdCancel")));
    EXPECT_EQ(service.SelectionList(dishes, QString(), QString()), std::nullopt);

    user.AnswerWindow(Then(QStringLiteral("cmdOk"), [](QDialog& w) {
        DialogTest::TypeAndLeave(Child<QLineEdit>(w, QStringLiteral("txtPorzioni")), QStringLiteral("4"));
    }));
    EXPECT_EQ(service.RecordEditor(dishes, EditMode::CurrentRecord, {}), chosen);
    EXPECT_EQ(archive.Open(QStringLiteral("Piatti"), QStringLiteral("OID = %1").arg(*chosen))->GetValue(QStringLiteral("Porzioni")).toLongLong(), 4);
    user.AnswerWindow(Then(QStringLiteral("cmdCancel")));
    EXPECT_EQ(service.RecordEditor(dishes, EditMode::NewRecord, {}), std::nullopt);
    EXPECT_EQ(dishes->RecordCount(), 5);

    user.AnswerWindow(Then(QStringLiteral("cmdOk"), [](QDialog& w) {
        DialogTest::Type(Child<QLineEdit>(w, QStringLiteral("txtPorzioni")), QStringLiteral("6"));
    }));
    EXPECT_TRUE(service.ValueEditor(dishes, QStringLiteral("Porzioni"), QStringLiteral("Porzioni")));
    user.AnswerWindow(Then(QStringLiteral("cmdOk")));
    EXPECT_FALSE(service.ValueEditor(dishes, QStringLiteral("Porzioni"), QStringLiteral("Porzioni")));
    dishes->CancelUpdate();

    ComplexFilter filter(archive.database, QStringLiteral("Piatti"));
    user.AnswerWindow(Then(QStringLiteral("cmdOk"), [](QDialog& w) {
        DialogTest::Type(Child<QLineEdit>(w, QStringLiteral("txtValue")), QStringLiteral("Lasagne"));
        Press(w, QStringLiteral("cmdAdd"));
    }));
    EXPECT_TRUE(service.ComplexFilterDialog(filter, *archive.database, QStringLiteral("FILTRO COMPLESSO")));
    EXPECT_EQ(user.LastCall().title, QStringLiteral("FILTRO COMPLESSO"));
    EXPECT_EQ(filter.Render(), QStringLiteral("Nome = 'Lasagne'"));
    user.AnswerWindow(Then(QStringLiteral("cmdCancel"), [](QDialog& w) { Press(w, QStringLiteral("cmdClear")); }));
    EXPECT_FALSE(service.ComplexFilterDialog(filter, *archive.database, QStringLiteral("FILTRO COMPLESSO")));
    EXPECT_EQ(filter.Conditions().size(), 1);

    user.AnswerWindow(Then(QStringLiteral("cmdOk")));
    EXPECT_EQ(service.OrderDialog(dishes, QStringLiteral("Ordinamento Complesso"), QStringLiteral("Nome, Prezzo DESC")),
              std::optional<QString>(QStringLiteral("Nome, Prezzo DESC")));
    user.AnswerWindow(Then(QStringLiteral("cmdCancel")));
    EXPECT_EQ(service.OrderDialog(dishes, QStringLiteral("Ordinamento Complesso"), QString()), std::nullopt);

    user.AnswerWindow(Then(QStringLiteral("cmdOk")));
    EXPECT_EQ(service.FieldSequenceDialog(dishes, QStringLiteral("Sequenza di Visualizzazione Campi"), QStringLiteral("Prezzo,Nome")),
              std::optional<QString>(QStringLiteral("Prezzo,Nome")));
    EXPECT_EQ(user.LastCall().window, QStringLiteral("frmFieldSequence"));

    const QString path = archive.Path(QStringLiteral("dati.csv"));
    user.AnswerWindow(Then(QStringLiteral("cmdExport"), [&](QDialog& w) { Child<QLineEdit>(w, QStringLiteral("txtFile"))->setText(path); }));
    EXPECT_TRUE(service.ExportDialog(dishes, nullptr));
    EXPECT_TRUE(QFile::exists(path));
    user.AnswerWindow(Then(QStringLiteral("cmdCancel")));
    EXPECT_FALSE(service.ExportDialog(dishes, nullptr));

    int rows = 0;
    user.AnswerWindow(Then(QStringLiteral("cmdClose"), [&](QDialog& w) {
        rows = Child<QTableView>(w, QStringLiteral("dgView"))->model()->rowCount();
    }));
    service.DataWindow(dishes, QStringLiteral("Dati associati"));
    EXPECT_EQ(user.LastCall().title, QStringLiteral("Dati associati"));
    EXPECT_EQ(rows, 5);
}

TEST(ScriptedDialogsEngine, AnswersCallersAndRecordsWhatWasAsked)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    DialogService& service = dialogs;
    auto dishes = archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome"));

    dialogs.AnswerSelectionRow(1).AnswerSelection(std::nullopt);
    const std::optional<qint64> second = service.SelectionList(dishes, QStringLiteral("Piatti"), QStringLiteral("Nome"));
    EXPECT_EQ(dishes->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Panna cotta"));
    EXPECT_EQ(second, std::optional<qint64>(dishes->ValueAt(0).toLongLong()));
    EXPECT_EQ(dialogs.LastCall().kind, DialogKind::SelectionList);
    EXPECT_EQ(dialogs.LastCall().table, QStringLiteral("Piatti"));
    EXPECT_EQ(dialogs.LastCall().field, QStringLiteral("Nome"));
    EXPECT_EQ(service.SelectionList(dishes, QString(), QString()), std::nullopt);

    // The record editor stores through the data object as the real one does.
    auto rows = archive.Open(QStringLiteral("Righe"));
    dialogs.AnswerRecordEditor([](DataObject& row) {
        row.SetValue(QStringLiteral("Nome"), QStringLiteral("Acqua"));
        row.SetValue(QStringLiteral("Prezzo"), 2);
        return true;
    });
    const std::optional<qint64> added = service.RecordEditor(rows, EditMode::NewRecord, RecordEditorOptions{255});
    ASSERT_TRUE(added.has_value());
    EXPECT_TRUE(dialogs.LastCall().newRecord);
    EXPECT_EQ(dialogs.LastCall().baseTableOption, 255);
    EXPECT_EQ(rows->GetValue(QStringLiteral("Importo")).value<Currency>(), Currency::FromUnits(20000));

    dialogs.AnswerRecordEditor([](DataObject& row) {
        row.SetValue(QStringLiteral("Quantità"), 0);
        return true;
    });
    dialogs.AnswerMessage(MsgResult::Ok);
    EXPECT_EQ(service.RecordEditor(rows, EditMode::CurrentRecord, {}), std::nullopt);
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("La quantità non può essere zero"));
    EXPECT_FALSE(rows->IsEditing());
    dialogs.AnswerRecordEditorCancel().AnswerRecordEditorOk();
    EXPECT_EQ(service.RecordEditor(rows, EditMode::NewRecord, {}), std::nullopt);
    EXPECT_EQ(service.RecordEditor(rows, EditMode::CurrentRecord, {}), added);
    EXPECT_EQ(rows->RecordCount(), 1);

    dialogs.AnswerValueEditor(QVariant(qint64(3))).AnswerValueEditor(QVariant(qint64(3))).AnswerValueEditor(std::nullopt);
    EXPECT_TRUE(service.ValueEditor(rows, QStringLiteral("Quantità"), QStringLiteral("Quantità")));
    EXPECT_EQ(dialogs.LastCall().field, QStringLiteral("Quantità"));
    EXPECT_FALSE(service.ValueEditor(rows, QStringLiteral("Quantità"), QString())) << "the same value is no change";
    EXPECT_FALSE(service.ValueEditor(rows, QStringLiteral("Quantità"), QString()));
    rows->CancelUpdate();

    ComplexFilter filter(archive.database, QStringLiteral("Piatti"));
    dialogs.AnswerComplexFilter([](ComplexFilter& f) {
        f.AddCondition(QStringLiteral("Nome"), QStringLiteral("T*"));
        return true;
    });
    dialogs.AnswerComplexFilter([](ComplexFilter& f) {
        f.Clear();
        return false;
    });
    dialogs.AnswerComplexFilterConfirmed(false);
    EXPECT_TRUE(service.ComplexFilterDialog(filter, *archive.database, QStringLiteral("Selezioni predefinite")));
    EXPECT_EQ(dialogs.LastCall().table, QStringLiteral("Piatti"));
    EXPECT_FALSE(service.ComplexFilterDialog(filter, *archive.database, QString()));
    EXPECT_EQ(filter.Conditions().size(), 1) << "a cancelled edit leaves the filter as it was";
    EXPECT_FALSE(service.ComplexFilterDialog(filter, *archive.database, QString()));

    dialogs.AnswerOrder(QStringLiteral("Prezzo DESC")).AnswerFieldSequence(std::nullopt);
    EXPECT_EQ(service.OrderDialog(dishes, QStringLiteral("Ordinamento Complesso"), QStringLiteral("Nome")),
              std::optional<QString>(QStringLiteral("Prezzo DESC")));
    EXPECT_EQ(dialogs.LastCall().defaultText, QStringLiteral("Nome"));
    EXPECT_EQ(service.FieldSequenceDialog(dishes, QString(), QStringLiteral("Nome,Prezzo")), std::nullopt);
    EXPECT_EQ(dialogs.LastCall().kind, DialogKind::FieldSequence);
    EXPECT_EQ(dialogs.LastCall().defaultText, QStringLiteral("Nome,Prezzo"));

    const QString path = archive.Path(QStringLiteral("TableData.htm"));
    dialogs.AnswerExport(DataExport::Html, path).AnswerExportCancel();
    EXPECT_TRUE(service.ExportDialog(dishes, nullptr));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(service.ExportDialog(dishes, nullptr));

    qint64 shown = 0;
    dialogs.AnswerDataWindow([&](DataObject& data) { shown = data.RecordCount(); });
    service.DataWindow(dishes, QStringLiteral("Piatti da importare"));
    EXPECT_EQ(dialogs.LastCall().title, QStringLiteral("Piatti da importare"));
    EXPECT_EQ(shown, 5);
}

TEST(ScriptedDialogsEngine, UnscriptedOrMismatchedEngineDialogsFail)
{
    DialogTest::Archive archive;
    auto dishes = archive.Open(QStringLiteral("Piatti"));
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            EXPECT_EQ(dialogs.RecordEditor(dishes, EditMode::NewRecord, {}), std::nullopt);
        },
        "Unscripted record editor");
    EXPECT_FALSE(dishes->IsEditing()) << "an unscripted editor begins nothing";
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.AnswerOrder(QStringLiteral("Nome"));
            EXPECT_EQ(dialogs.SelectionList(dishes, QString(), QString()), std::nullopt);
        },
        "where the script expected a order dialog");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.AnswerSelectionRow(9);
            EXPECT_EQ(dialogs.SelectionList(dishes, QString(), QString()), std::nullopt);
        },
        "has no row 9");
}
