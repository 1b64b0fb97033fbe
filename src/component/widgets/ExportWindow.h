#pragma once
// The export dialog: a format (text separated by semicolons, or an HTML
// page) and a file, then the export of the data object's records there,
// reporting to a progress sink. It asks before replacing a file; an error
// is shown and the dialog stays open.

#include <QDialog>
#include <memory>

class DataObject;
class itfProgress;
class QComboBox;
class QLineEdit;

class ExportWindow : public QDialog
{
    Q_OBJECT

public:
    ExportWindow(std::shared_ptr<DataObject> data, itfProgress* progress, QWidget* parent = nullptr);

    // True once a file was written.
    bool Exported() const { return m_exported; }
    // The format code chosen (DataExport::Csv or DataExport::Html).
    int Format() const;

    // Asks for the file through the save dialog.
    void Browse();
    void accept() override;

private:
    void FollowFormat();

    std::shared_ptr<DataObject> m_data;
    itfProgress* m_progress;
    QComboBox* m_format = nullptr;
    QLineEdit* m_file = nullptr;
    bool m_exported = false;
};
