#pragma once
// The access password window: asks the password at start-up, and sets,
// changes or removes it (the box "Cambia").

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

class frmPassword : public QDialog
{
    Q_OBJECT

public:
    explicit frmPassword(QWidget* owner);

    // Start-up: (splash, false, false). The main window's change command:
    // (main window, true, false). With no password stored and no change
    // requested nothing is shown and access is granted. A password file that
    // exists but cannot be read refuses access with a message.
    static bool CheckAccess(QWidget* owner, bool changeRequested, bool changeDisabled);

    bool Confirmed() const { return m_confirmed; }
    bool Changed() const { return m_changed; }
    // Whether the new-password boxes are shown (the tall window).
    bool IsTall() const;

    // The password file in force: the installation's, or the one a
    // ScopedPasswordFile set.
    static QString PasswordFile();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void Prepare(const QString& stored, bool changeRequested, bool changeDisabled);
    void SetTall(bool tall);
    void Confirm();

    QLineEdit* m_txtPassword = nullptr;
    QCheckBox* m_chkNew = nullptr;
    QLabel* m_lblNew = nullptr;
    QLineEdit* m_txtNewPwd = nullptr;
    QLabel* m_lblConfirmNewPwd = nullptr;
    QLineEdit* m_txtConfirmNewPwd = nullptr;
    QWidget* m_newPanel = nullptr;

    QString m_stored; // scrambled, as read from the file
    bool m_confirmed = false;
    bool m_changed = false;
};

// While alive, the password window reads and writes the given file.
class ScopedPasswordFile
{
public:
    explicit ScopedPasswordFile(const QString& path);
    ~ScopedPasswordFile();
    ScopedPasswordFile(const ScopedPasswordFile&) = delete;
    ScopedPasswordFile& operator=(const ScopedPasswordFile&) = delete;

private:
    QString m_previous;
};
