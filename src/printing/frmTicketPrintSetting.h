#pragma once
// The ticket print settings: the printer, how many tickets lie side by side on
// its form, the ticket geometry in millimetres and the layout script, with
// loading and saving of script files, the default script, a preview of an
// archived receipt and a test print.

#include "printing/TicketTarget.h"

#include <QDialog>
#include <memory>
#include <optional>

class DataObject;
class DatabaseEngine;
class DatabaseObject;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

class frmTicketPrintSetting : public QDialog
{
    Q_OBJECT

public:
    // The archive whose receipts the preview and test print; by default the
    // application's open archive.
    explicit frmTicketPrintSetting(QWidget* parent = nullptr, std::shared_ptr<DatabaseObject> database = {},
                                   std::shared_ptr<DatabaseEngine> engine = {});
    ~frmTicketPrintSetting() override;

    bool ScriptModified() const { return m_modified; }
    // The script in the box, lines ending in CR LF.
    QString ScriptText() const;

    // The geometry typed in the boxes, or nullopt after telling the user
    // which box holds no valid value (the focus is put there).
    std::optional<TicketGeometry> TypedGeometry();

protected:
    void reject() override;

private:
    QLineEdit* NumberBox(const QString& name, const QString& tip, bool whole);
    void Confirm();
    void LoadScript();
    void SaveScript();
    void SetDefaultScript();
    void PrinterSetup();
    void Preview();
    void TestPrint();
    // The receipt the user chooses in the selection list, current in the
    // data object returned; null when none was chosen.
    std::shared_ptr<DataObject> ChooseReceipt();
    QString ProposedScriptFile() const;

    QComboBox* m_cboPrinter = nullptr;
    QLineEdit* m_txtColumns = nullptr;
    QLineEdit* m_txtTicketHeight = nullptr;
    QLineEdit* m_txtTicketWidth = nullptr;
    QLineEdit* m_txtTicketTop = nullptr;
    QLineEdit* m_txtTicketLeft = nullptr;
    QLineEdit* m_txtTicketRowsDim = nullptr;
    QLineEdit* m_txtTicketRowsTop = nullptr;
    QLineEdit* m_txtTicketRowsBottom = nullptr;
    QPlainTextEdit* m_txtVBScript = nullptr;
    std::shared_ptr<DatabaseObject> m_database;
    std::shared_ptr<DatabaseEngine> m_engine;
    bool m_modified = false;
};
