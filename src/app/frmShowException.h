#pragma once
// The exception window: an error's code and detail, which the user can save
// to a text file, open in the browser or mail to the support service.

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class frmShowException : public QDialog
{
    Q_OBJECT

public:
    explicit frmShowException(QWidget* parent = nullptr);

    // Fills the code and the detail; a detail without CR LF pairs has each
    // CR shown as a line break.
    void SetError(const QString& code, const QString& detail);

    QString Code() const { return m_code; }
    QString Detail() const { return m_detail; }

    // The folder where "LastError.txt" is proposed and "Error.htm" written:
    // the executable's folder when writable, else the per-user data folder.
    QString Folder() const { return m_folder; }
    void SetFolder(const QString& folder) { m_folder = folder; }

private:
    void Save();
    void Browse();
    void MailSupport();

    QLabel* m_lblCode = nullptr;
    QPlainTextEdit* m_txtMsg = nullptr;
    QString m_code;
    QString m_detail;
    QString m_folder;
};
