#include "component/widgets/SelectionListWindow.h"

#include "component/DataObject.h"
#include "component/Exception.h"
#include "component/SelectionSearch.h"
#include "component/TableDef.h"
#include "component/widgets/DialogButtons.h"
#include "component/widgets/DialogService.h"
#include "component/widgets/GridBinding.h"
#include "component/widgets/GridColumns.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

SelectionListWindow::SelectionListWindow(std::shared_ptr<DataObject> data, const QString& title,
                                         const QString& searchField, QWidget* parent)
    : QDialog(parent), m_data(std::move(data)), m_searchField(searchField)
{
    setObjectName(QStringLiteral("frmSelectionList"));
    setWindowTitle(title.isEmpty() ? m_data->Table().DisplayCaption() : title);
    if (!m_data->NoCurrentRecord())
        m_startKey = m_data->ValueAt(0).toLongLong();

    auto* layout = new QVBoxLayout(this);
    if (!m_searchField.isEmpty()) {
        const FieldInfo& field = m_data->RequireField(m_searchField);
        auto* row = new QHBoxLayout;
        auto* label = new QLabel(QStringLiteral("&Cerca %1:").arg(field.caption), this);
        label->setObjectName(QStringLiteral("lblSearch"));
        m_search = new QLineEdit(this);
        m_search->setObjectName(QStringLiteral("txtSearch"));
        if (field.size > 0)
            m_search->setMaxLength(field.size);
        label->setBuddy(m_search);
        row->addWidget(label);
        row->addWidget(m_search, 1);
        layout->addLayout(row);
        connect(m_search, &QLineEdit::textEdited, this, [this](const QString& text) { Search(text); });
        m_search->installEventFilter(this);
    }

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("dgList"));
    m_binding = std::make_unique<GridBinding>(m_grid);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setTabKeyNavigation(false);
    m_grid->verticalHeader()->hide();
    m_binding->SetDataObject(m_data);
    connect(m_binding.get(), &GridBinding::ErrorOccurred, this, [this](qint32, const QString& description) {
        Dialogs().MessageBox(description, MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::Button1, windowTitle());
    });
    connect(m_grid, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            accept();
    });
    layout->addWidget(m_grid, 1);

    QDialogButtonBox* buttons = OkCancelButtons(*this).box;
    layout->addWidget(buttons);

    const int columns = FitColumnsToContents(*m_grid);
    const int rowHeight = m_grid->verticalHeader()->defaultSectionSize();
    const int screenWidth = screen() ? screen()->availableGeometry().width() : 1024;
    const int width = columns + 2 * m_grid->frameWidth() + m_grid->verticalScrollBar()->sizeHint().width() + 24;
    resize(std::clamp(width, 380, screenWidth * 3 / 4), rowHeight * 16 + 120);
    if (m_search)
        m_search->setFocus();
    else
        m_grid->setFocus();
}

SelectionListWindow::~SelectionListWindow() = default;

bool SelectionListWindow::Search(const QString& text)
{
    bool found = true;
    if (!text.isEmpty()) {
        try {
            found = m_data->FindFirst(StartsWithCriteria(m_searchField, text));
        } catch (const Exception& e) {
            found = false;
            Dialogs().MessageBox(e.Description(), MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::Button1,
                                 windowTitle());
        }
        if (found)
            m_binding->FollowCurrentRecord();
    }
    if (m_search) {
        QPalette palette = m_search->palette();
        palette.setColor(QPalette::Text, found ? QApplication::palette().color(QPalette::Text) : QColor(Qt::red));
        m_search->setPalette(palette);
    }
    return found;
}

bool SelectionListWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The arrow and page keys move through the list while the focus stays
    // in the search box.
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QApplication::sendEvent(m_grid, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SelectionListWindow::accept()
{
    const QModelIndex current = m_grid->currentIndex();
    try {
        if (!current.isValid() || !m_binding->Model().MoveToRow(current.row())) {
            Dialogs().Beep();
            return;
        }
        m_key = m_data->ValueAt(0).toLongLong();
    } catch (const Exception& e) {
        Dialogs().MessageBox(e.Description(), MsgButtons::Ok, MsgIcon::Exclamation, MsgDefault::Button1, windowTitle());
        return;
    }
    QDialog::accept();
}

void SelectionListWindow::reject()
{
    try {
        if (m_startKey)
            m_data->FindKey(*m_startKey);
    } catch (const Exception&) {
        // The record the list started on is gone; the cursor stays where it is.
    }
    QDialog::reject();
}
