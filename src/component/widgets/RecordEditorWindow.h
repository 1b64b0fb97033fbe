#pragma once
// The record editor: one labelled editor per field of a new or current
// record. Values are set as each field is left, so that the table's rules
// update the computed fields while the window is open; "OK" stores the
// record (an error of the archive is shown and the window stays open),
// "Annulla" and Esc drop the changes.

#include "component/RecordEditSession.h"

#include <QDialog>
#include <memory>
#include <optional>
#include <vector>

class FieldEditor;
class QPushButton;

class RecordEditorWindow : public QDialog
{
    Q_OBJECT

public:
    RecordEditorWindow(std::shared_ptr<DataObject> data, EditMode mode, RecordEditorOptions options,
                       QWidget* parent = nullptr);
    ~RecordEditorWindow() override;

    // The stored record's OID, once "OK" stored it.
    const std::optional<qint64>& StoredKey() const { return m_key; }

    void accept() override;
    void reject() override;

private:
    void BuildForm();
    bool Apply(FieldEditor& editor);
    void Refresh(const QString& field);

    RecordEditSession m_session;
    std::vector<std::unique_ptr<FieldEditor>> m_editors;
    std::optional<qint64> m_key;
    QPushButton* m_cancel = nullptr;
    bool m_applying = false;
};
