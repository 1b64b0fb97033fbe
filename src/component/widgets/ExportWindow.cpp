#include "component/widgets/ExportWindow.h"

#include "component/ComponentGlobal.h"
#include "component/DataExport.h"
#include "component/DataObject.h"
#include "component/Exception.h"
#include "component/TableDef.h"
#include "component/widgets/DialogButtons.h"
#include "component/widgets/DialogService.h"
#include "component/widgets/WaitCursor.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString SuffixOf(int format)
{
    return format == DataExport::Html ? QStringLiteral("htm") : QStringLiteral("csv");
}

QString FilterOf(int format)
{
    return format == DataExport::Html ? QStringLiteral("Pagina HTML|*.htm;*.html") : QStringLiteral("Testo CSV|*.csv");
}


} // namespace

ExportWindow::ExportWindow(std::shared_ptr<DataObject> data, itfProgress* progress, QWidget* parent)
    : QDialog(parent), m_data(std::move(data)), m_progress(progress)
{
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(QStringLiteral("Esportazione dati"));

    m_format = new QComboBox(this);
    m_format->setObjectName(QStringLiteral("cboFormat"));
    m_format->addItem(QStringLiteral("Testo separato da punto e virgola (CSV)"), DataExport::Csv);
    m_format->addItem(QStringLiteral("Pagina HTML"), DataExport::Html);
    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("txtFile"));
    const QString folder = ComponentGlobal::DocumentsFolder();
    m_file->setText(QDir::toNativeSeparators(QDir(folder).filePath(m_data->TableName() + QStringLiteral(".csv"))));
    auto* browse = new QPushButton(QStringLiteral("..."), this);
    browse->setObjectName(QStringLiteral("cmdBrowse"));
    browse->setToolTip(QStringLiteral("Scegli il file"));
    browse->setAutoDefault(false);
    browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    connect(browse, &QPushButton::clicked, this, &ExportWindow::Browse);
    connect(m_format, &QComboBox::currentIndexChanged, this, &ExportWindow::FollowFormat);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browse);
    auto* rows = new QFormLayout;
    rows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    auto* records = new QLabel(m_data->Table().DisplayCaption(), this);
    records->setObjectName(QStringLiteral("lblData"));
    rows->addRow(QStringLiteral("Dati:"), records);
    rows->addRow(QStringLiteral("&Formato:"), m_format);
    rows->addRow(QStringLiteral("F&ile:"), fileRow);
    if (auto* label = qobject_cast<QLabel*>(rows->labelForField(fileRow)))
        label->setBuddy(m_file);

    QDialogButtonBox* buttons = OkCancelButtons(*this, QStringLiteral("&Esporta"), QStringLiteral("cmdExport")).box;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addStretch(1);
    layout->addWidget(buttons);
    setMinimumWidth(520);
}

int ExportWindow::Format() const
{
    return m_format->currentData().toInt();
}

void ExportWindow::FollowFormat()
{
    QString path = m_file->text().trimmed();
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    const QString suffix = info.suffix().toLower();
    if (suffix == QLatin1String("csv") || suffix == QLatin1String("htm") || suffix == QLatin1String("html"))
        path.chop(info.suffix().size() + 1);
    m_file->setText(path + u'.' + SuffixOf(Format()));
}

void ExportWindow::Browse()
{
    const QFileInfo current(QDir::fromNativeSeparators(m_file->text().trimmed()));
    const std::optional<QString> chosen = Dialogs().GetSaveFileName(
        QStringLiteral("Esporta in"), current.path(), current.fileName(), FilterOf(Format()));
    if (chosen)
        m_file->setText(QDir::toNativeSeparators(*chosen));
}

void ExportWindow::accept()
{
    const QString path = QDir::fromNativeSeparators(m_file->text().trimmed());
    auto warn = [this](const QString& text, MsgIcon icon) {
        Dialogs().MessageBox(text, MsgButtons::Ok, icon, MsgDefault::Button1, windowTitle());
    };
    if (path.isEmpty() || QFileInfo(path).isDir()) {
        warn(QStringLiteral("Indicare il file in cui esportare i dati."), MsgIcon::Exclamation);
        m_file->setFocus();
        return;
    }
    if (QFileInfo::exists(path) &&
        Dialogs().MessageBox(QStringLiteral("Il file «%1» esiste già.\rVuoi sostituirlo?").arg(QDir::toNativeSeparators(path)),
                             MsgButtons::YesNo, MsgIcon::Question, MsgDefault::Button2, windowTitle()) != MsgResult::Yes)
        return;
    bool completed = false;
    try {
        const WaitCursor wait;
        completed = DataExport::Export(*m_data, Format(), path, m_progress);
    } catch (const Exception& e) {
        warn(QStringLiteral("Esportazione non riuscita.\r\r") + e.Description(), MsgIcon::Critical);
        return;
    }
    if (!completed) {
        QDialog::reject(); // stopped by the user: nothing was written
        return;
    }
    m_exported = true;
    QDialog::accept();
}
