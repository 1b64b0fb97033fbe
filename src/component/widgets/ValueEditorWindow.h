#pragma once
// The value editor: one field of the current record in a small window.
// "OK" sets the value when it differs from the record's (the caller stores
// the record); "Annulla" and Esc leave the record as it was.

#include <QDialog>
#include <memory>

class DataObject;
class FieldEditor;

class ValueEditorWindow : public QDialog
{
    Q_OBJECT

public:
    // Throws Exception when the field does not exist or there is no
    // current record.
    ValueEditorWindow(std::shared_ptr<DataObject> data, const QString& field, const QString& title,
                      QWidget* parent = nullptr);
    ~ValueEditorWindow() override;

    bool Changed() const { return m_changed; }
    void accept() override;

private:
    std::shared_ptr<DataObject> m_data;
    int m_field = -1;
    bool m_readOnly = false;
    std::unique_ptr<FieldEditor> m_editor;
    bool m_changed = false;
};
