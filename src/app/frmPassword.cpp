#include "app/frmPassword.h"

#include "app/PasswordStore.h"
#include "component/Exception.h"
#include "component/widgets/DialogService.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

QString& PasswordFileOverride()
{
    static QString path;
    return path;
}

QLineEdit* PasswordBox(QWidget* owner, const QString& name, const QString& toolTip)
{
    auto* box = new QLineEdit(owner);
    box->setObjectName(name);
    box->setToolTip(toolTip);
    box->setEchoMode(QLineEdit::Password);
    box->setMinimumWidth(box->fontMetrics().averageCharWidth() * 24);
    return box;
}

void Inform(const QString& text, MsgIcon icon)
{
    Dialogs().MessageBox(text, MsgButtons::Ok, icon, MsgDefault::Button1, QString());
}

} // namespace

frmPassword::frmPassword(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(QStringLiteral("Password di accesso"));

    auto* lblPassword = new QLabel(QStringLiteral("&Password:"), this);
    lblPassword->setObjectName(QStringLiteral("lblPassword"));
    m_txtPassword = PasswordBox(this, QStringLiteral("txtPassword"), QStringLiteral("Immetti la password di accesso"));
    lblPassword->setBuddy(m_txtPassword);

    m_chkNew = new QCheckBox(QStringLiteral("C&ambia"), this);
    m_chkNew->setObjectName(QStringLiteral("chkNew"));
    m_chkNew->setToolTip(QStringLiteral("Attiva la possibilita' di cambiare la password"));

    m_newPanel = new QWidget(this);
    m_lblNew = new QLabel(QStringLiteral("&Nuova:"), m_newPanel);
    m_lblNew->setObjectName(QStringLiteral("lblNew"));
    m_txtNewPwd = PasswordBox(m_newPanel, QStringLiteral("txtNewPwd"), QStringLiteral("Specifica la nuova password"));
    m_lblNew->setBuddy(m_txtNewPwd);
    m_lblConfirmNewPwd = new QLabel(QStringLiteral("Conferma:"), m_newPanel);
    m_lblConfirmNewPwd->setObjectName(QStringLiteral("lblConfirmNewPwd"));
    m_txtConfirmNewPwd = PasswordBox(m_newPanel, QStringLiteral("txtConfirmNewPwd"), QStringLiteral("Conferma la nuova password"));
    m_lblConfirmNewPwd->setBuddy(m_txtConfirmNewPwd);

    auto* cmdConfirm = new QPushButton(QStringLiteral("&Conferma"), this);
    cmdConfirm->setObjectName(QStringLiteral("cmdConfirm"));
    cmdConfirm->setDefault(true);
    auto* cmdCancel = new QPushButton(QStringLiteral("&Annulla"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    // The boxes on the left, the buttons on the right; the new-password rows
    // below, shown only in the tall window.
    auto* fields = new QGridLayout;
    fields->addWidget(lblPassword, 0, 0);
    fields->addWidget(m_txtPassword, 0, 1);
    fields->addWidget(m_chkNew, 1, 1);
    fields->setColumnStretch(1, 1);
    const int labelWidth = std::max({lblPassword->sizeHint().width(), m_lblNew->sizeHint().width(),
                                     m_lblConfirmNewPwd->sizeHint().width()});
    fields->setColumnMinimumWidth(0, labelWidth);

    auto* newRows = new QGridLayout(m_newPanel);
    newRows->setContentsMargins(0, 0, 0, 0);
    newRows->addWidget(m_lblNew, 0, 0);
    newRows->addWidget(m_txtNewPwd, 0, 1);
    newRows->addWidget(m_lblConfirmNewPwd, 1, 0);
    newRows->addWidget(m_txtConfirmNewPwd, 1, 1);
    newRows->setColumnMinimumWidth(0, labelWidth);
    newRows->setColumnStretch(1, 1);
    newRows->setHorizontalSpacing(fields->horizontalSpacing());

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(m_newPanel);
    left->addStretch(1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdConfirm);
    buttons->addWidget(cmdCancel);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(left, 1);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(m_chkNew, &QCheckBox::toggled, this, &frmPassword::SetTall);
    connect(cmdConfirm, &QPushButton::clicked, this, &frmPassword::Confirm);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPassword::reject);
    SetTall(false);
}

bool frmPassword::CheckAccess(QWidget* owner, bool changeRequested, bool changeDisabled)
{
    QString stored;
    try {
        stored = ReadStoredPassword(PasswordFile());
    } catch (const Exception& e) {
        // An unreadable password file must not open the archive to everybody.
        Inform(QStringLiteral("Impossibile verificare la password di accesso.\r\r") + e.Description(), MsgIcon::Critical);
        return false;
    }
    frmPassword window(owner);
    window.Prepare(stored, changeRequested, changeDisabled);
    if (!stored.isEmpty() || changeRequested)
        Dialogs().ExecModal(window);
    return window.Confirmed();
}

bool frmPassword::IsTall() const
{
    return !m_newPanel->isHidden();
}

QString frmPassword::PasswordFile()
{
    return PasswordFileOverride().isEmpty() ? PasswordFilePath() : PasswordFileOverride();
}

void frmPassword::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // An owner disabled by the message window must not disable this window.
    if (!isEnabled())
        setEnabled(true);
    if (m_txtPassword->isEnabled())
        m_txtPassword->setFocus();
    else if (IsTall())
        m_txtNewPwd->setFocus();
}

void frmPassword::Prepare(const QString& stored, bool changeRequested, bool changeDisabled)
{
    m_stored = stored;
    m_confirmed = stored.isEmpty();
    m_txtNewPwd->clear();
    m_txtConfirmNewPwd->clear();
    if (changeRequested && !changeDisabled) {
        m_chkNew->setChecked(true);
        m_chkNew->setEnabled(false);
        m_txtPassword->setText(ScrambleText(stored, false));
        m_txtPassword->setEnabled(false);
    } else {
        m_chkNew->setChecked(false);
        m_chkNew->setVisible(!changeDisabled);
        m_chkNew->setEnabled(!changeDisabled);
        m_txtPassword->clear();
        m_txtPassword->setEnabled(true);
    }
    SetTall(m_chkNew->isChecked());
}

void frmPassword::SetTall(bool tall)
{
    m_newPanel->setEnabled(tall);
    m_newPanel->setVisible(tall);
    layout()->activate();
}

void frmPassword::Confirm()
{
    if (ScrambleText(m_txtPassword->text(), true) != m_stored) {
        Dialogs().Beep();
        Inform(QStringLiteral("La password non è corretta.\r\rFare attenzione all'utilizzo delle maiuscole/minuscole"),
               MsgIcon::Information);
        m_txtPassword->setFocus();
        m_txtPassword->selectAll();
        return;
    }
    if (m_chkNew->isChecked()) {
        if (m_txtNewPwd->text() != m_txtConfirmNewPwd->text()) {
            Dialogs().Beep();
            Inform(QStringLiteral("La password di conferma non corrisponde..."), MsgIcon::Exclamation);
            m_txtConfirmNewPwd->setFocus();
            m_txtConfirmNewPwd->selectAll();
            return;
        }
        const QString newPassword = m_txtNewPwd->text();
        try {
            WritePassword(PasswordFile(), newPassword);
        } catch (const Exception& e) {
            // The old password stays; the user can try again or cancel.
            Inform(QStringLiteral("Modifica della password fallita: \r\r") + e.Description(), MsgIcon::Critical);
            m_txtNewPwd->setFocus();
            return;
        }
        m_stored = newPassword;
        m_changed = true;
        Dialogs().Beep();
        QString text = QStringLiteral("La password e' stata modificata.");
        if (newPassword.isEmpty())
            text += QStringLiteral("\r\rNOTA: Senza password sono disattivate tutte le restrizioni di accesso.");
        Inform(text, MsgIcon::Information);
    }
    m_confirmed = true;
    accept();
}

void frmPassword::reject()
{
    // "Annulla", Esc and the close box all refuse.
    m_confirmed = false;
    QDialog::reject();
}

ScopedPasswordFile::ScopedPasswordFile(const QString& path)
    : m_previous(std::exchange(PasswordFileOverride(), path))
{
}

ScopedPasswordFile::~ScopedPasswordFile()
{
    PasswordFileOverride() = m_previous;
}
