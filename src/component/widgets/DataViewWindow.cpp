#include "component/widgets/DataViewWindow.h"

#include "component/DataObject.h"
#include "component/TableDef.h"
#include "component/widgets/DialogService.h"
#include "component/widgets/GridBinding.h"
#include "component/widgets/GridColumns.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

DataViewWindow::DataViewWindow(std::shared_ptr<DataObject> data, const QString& caption, QWidget* parent)
    : QDialog(parent), m_data(std::move(data))
{
    setObjectName(QStringLiteral("frmDataWindow"));
    setWindowTitle(caption.isEmpty() ? m_data->Table().DisplayCaption() : caption);
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("dgView"));
    m_binding = std::make_unique<GridBinding>(m_grid);
    m_binding->SetDataObject(m_data);
    connect(m_binding.get(), &GridBinding::ErrorOccurred, this, [this](qint32, const QString& description) {
        Dialogs().MessageBox(description, MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::Button1, windowTitle());
    });
    connect(&m_binding->Model(), &QAbstractItemModel::modelReset, this, &DataViewWindow::ShowCount);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblCount"));
    auto* buttons = new QDialogButtonBox;
    QPushButton* close = buttons->addButton(QStringLiteral("&Chiudi"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_count, 1);
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    ShowCount();

    const int columns = FitColumnsToContents(*m_grid);
    const int screenWidth = screen() ? screen()->availableGeometry().width() : 1024;
    const int width = columns + m_grid->verticalHeader()->sizeHint().width() + 2 * m_grid->frameWidth() +
                      m_grid->verticalScrollBar()->sizeHint().width() + 24;
    resize(std::clamp(width, 420, screenWidth * 4 / 5), m_grid->verticalHeader()->defaultSectionSize() * 18 + 100);
}

DataViewWindow::~DataViewWindow() = default;

void DataViewWindow::ShowCount()
{
    const int count = m_binding->Model().rowCount();
    m_count->setText(QStringLiteral("%1 record").arg(QLocale(QLocale::Italian, QLocale::Italy).toString(count)));
}
