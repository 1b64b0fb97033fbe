#include "app/frmOptions.h"

#include "app/AppSettings.h"
#include "app/frmSelectDir.h"
#include "component/Exception.h"
#include "component/widgets/DialogService.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QLineEdit* Box(QWidget* owner, const QString& name, const QString& text)
{
    auto* box = new QLineEdit(text, owner);
    box->setObjectName(name);
    return box;
}

// A margin in millimetres: up to three digits and two decimals.
QLineEdit* MarginBox(QWidget* owner, const QString& name, const QString& text)
{
    QLineEdit* box = Box(owner, name, text);
    static const QRegularExpression pattern(QStringLiteral("\\d{0,3}([,.]\\d{0,2})?"));
    box->setValidator(new QRegularExpressionValidator(pattern, box));
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000,00")) + 16);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QLabel* Caption(QWidget* owner, const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, owner);
    label->setBuddy(buddy);
    return label;
}

} // namespace

frmOptions::frmOptions(QWidget* parent, std::function<void()> releaseDatabase)
    : QDialog(parent), m_releaseDatabase(std::move(releaseDatabase))
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Impostazioni"));
    // An owner disabled by the message window must not disable this window.
    setEnabled(true);

    const AppSettings& settings = Settings();
    m_txtWorkDir = Box(this, QStringLiteral("txtWorkDir"), settings.RootDir);
    m_txtWorkDir->setMinimumWidth(fontMetrics().averageCharWidth() * 52);
    auto* cmdSelWorkDir = new QToolButton(this);
    cmdSelWorkDir->setObjectName(QStringLiteral("cmdSelWorkDir"));
    cmdSelWorkDir->setText(QStringLiteral("..."));
    cmdSelWorkDir->setToolTip(QStringLiteral("Seleziona l'indirizzario di lavoro"));
    m_txtRestaurantName = Box(this, QStringLiteral("txtRestaurantName"), settings.RestaurantName);

    auto* frame = new QGroupBox(QStringLiteral("Parametri di stampa Corrispettivi:"), this);
    frame->setObjectName(QStringLiteral("fraPrint"));
    m_txtPrintTop = MarginBox(frame, QStringLiteral("txtPrintTop"), settings.PrintTop);
    m_txtPrintLeft = MarginBox(frame, QStringLiteral("txtPrintLeft"), settings.PrintLeft);
    auto* margins = new QHBoxLayout(frame);
    margins->addWidget(Caption(frame, QStringLiteral("Margine Superiore stampa (mm):"), m_txtPrintTop));
    margins->addWidget(m_txtPrintTop);
    margins->addSpacing(24);
    margins->addWidget(Caption(frame, QStringLiteral("Sinistro (mm):"), m_txtPrintLeft));
    margins->addWidget(m_txtPrintLeft);
    margins->addStretch(1);

    auto* cmdOk = new QPushButton(QStringLiteral("&OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    auto* cmdCancel = new QPushButton(QStringLiteral("&Esci"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(Caption(this, QStringLiteral("Indirizzario di lavoro:"), m_txtWorkDir), 0, 0);
    auto* workDir = new QHBoxLayout;
    workDir->setSpacing(2);
    workDir->addWidget(m_txtWorkDir, 1);
    workDir->addWidget(cmdSelWorkDir);
    fields->addLayout(workDir, 0, 1);
    fields->addWidget(Caption(this, QStringLiteral("Nome Ristorante:"), m_txtRestaurantName), 1, 0);
    fields->addWidget(m_txtRestaurantName, 1, 1);
    fields->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addWidget(frame);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    connect(cmdSelWorkDir, &QToolButton::clicked, this, &frmOptions::SelectWorkDir);
    connect(cmdOk, &QPushButton::clicked, this, &frmOptions::Confirm);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool frmOptions::DirectoryChanged(const QString& oldDirectory, const QString& newDirectory)
{
    if (oldDirectory.compare(newDirectory, Qt::CaseInsensitive) != 0)
        return true;
    if (oldDirectory == newDirectory)
        return false;
    const QFileInfo oldInfo(oldDirectory);
    const QFileInfo newInfo(newDirectory);
    return oldInfo.isDir() && newInfo.isDir() && oldInfo.canonicalFilePath() != newInfo.canonicalFilePath();
}

void frmOptions::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!isEnabled())
        setEnabled(true);
}

void frmOptions::SelectWorkDir()
{
    frmSelectDir chooser(this);
    chooser.SetDirectory(m_txtWorkDir->text());
    Dialogs().ExecModal(chooser);
    if (!chooser.Directory().isEmpty())
        m_txtWorkDir->setText(chooser.Directory());
}

bool frmOptions::Ask(const QString& question)
{
    return Dialogs().MessageBox(question + QStringLiteral("\r\rConfermi ?"), MsgButtons::YesNo, MsgIcon::Question,
                                MsgDefault::Button1, QString())
           == MsgResult::Yes;
}

void frmOptions::Confirm()
{
    AppSettings& settings = Settings();
    const QString workDir = m_txtWorkDir->text();
    if (DirectoryChanged(settings.RootDir, workDir)) {
        if (!QFileInfo(workDir).isDir()) {
            // The archive could not be created there; say so now rather than
            // at the next opening.
            Dialogs().MessageBox(QStringLiteral("L'indirizzario di lavoro non esiste.\r\r") + QDir::toNativeSeparators(workDir),
                                 MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::Button1, QString());
            m_txtWorkDir->setFocus();
            return;
        }
        if (!Ask(QStringLiteral("L'indirizzario di lavoro e' cambiato.")))
            return;
        settings.RootDir = workDir;
        if (m_releaseDatabase)
            m_releaseDatabase();
    }
    const QString name = m_txtRestaurantName->text();
    if (settings.RestaurantName.compare(name, Qt::CaseInsensitive) != 0) {
        if (!Ask(QStringLiteral("Il nome del ristorante e' cambiato.")))
            return;
        settings.RestaurantName = name;
    }
    settings.PrintTop = m_txtPrintTop->text().isEmpty() ? QStringLiteral("0") : m_txtPrintTop->text();
    settings.PrintLeft = m_txtPrintLeft->text().isEmpty() ? QStringLiteral("0") : m_txtPrintLeft->text();
    try {
        SaveSettings();
    } catch (const Exception& e) {
        Dialogs().MessageBox(QStringLiteral("Salvataggio delle impostazioni fallito: \r\r") + e.Description(),
                             MsgButtons::Ok, MsgIcon::Critical, MsgDefault::Button1, QString());
        return;
    }
    m_confirmed = true;
    accept();
}
