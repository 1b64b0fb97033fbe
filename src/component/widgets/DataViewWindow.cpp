#include "component/widgets/DataViewWindow.h"

#include "component/DataObject.h"
#include "component/TableDef.h"
#include "component/widgets/DialogService.h"
#include "component/widgets/GridBinding.h"
#include "component/widgets/GridColumns.h"
#include "component/widgets/RelatedNavigation.h"
#include "component/Exception.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
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
    m_related = new QMenu(this);
    m_related->setObjectName(QStringLiteral("mnuAssociation"));
    m_grid->viewport()->installEventFilter(this);

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

bool DataViewWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid->viewport() && event->type() == QEvent::ContextMenu) {
        const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        const QModelIndex index = m_grid->indexAt(menuEvent->pos());
        if (index.isValid()) {
            m_grid->setCurrentIndex(index);
            ShowRelated(menuEvent->globalPos());
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void DataViewWindow::ShowRelated(const QPoint& globalPosition)
{
    m_related->clear();
    std::optional<std::pair<RelatedItem::Group, int>> choice;
    RelatedNavigation::Fill(*m_related, m_data, [&choice](RelatedItem::Group group, int number) {
        choice = std::make_pair(group, number);
    });
    if (m_related->isEmpty())
        return;
    m_related->exec(globalPosition);
    if (!choice)
        return;
    // Once the menu has closed.
    try {
        RelatedNavigation::Open(m_data, choice->first, choice->second);
    } catch (const Exception& error) {
        Dialogs().MessageBox(error.Description(), MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::Button1, windowTitle());
    }
}
