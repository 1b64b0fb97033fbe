#include "browser/frmReportPreview.h"

#include "browser/ArchiveReport.h"
#include "browser/ReportPrinting.h"
#include "component/Exception.h"
#include "component/widgets/DialogService.h"

#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A magnifying glass, with a plus, a minus, or a frame for the whole page
// or its width.
QIcon ZoomIcon(QChar sign)
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    if (sign == u'w' || sign == u'p') {
        p.setPen(QPen(QColor(0x3c, 0x3c, 0x3c), 1.6));
        p.setBrush(Qt::white);
        p.drawRect(sign == u'w' ? QRectF(3, 8, 26, 17) : QRectF(8, 3, 16, 26));
        p.setPen(QPen(QColor(0x2a, 0x6f, 0xb5), 2.4, Qt::SolidLine, Qt::RoundCap));
        if (sign == u'w') {
            p.drawLine(QPointF(7, 16.5), QPointF(25, 16.5));
        } else {
            p.drawLine(QPointF(16, 7), QPointF(16, 25));
        }
        return QIcon(picture);
    }
    p.setPen(QPen(QColor(0x3c, 0x3c, 0x3c), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 20), QPointF(28, 28));
    p.setPen(QPen(QColor(0x3c, 0x3c, 0x3c), 2.0));
    p.setBrush(QColor(0xe8, 0xf1, 0xfb));
    p.drawEllipse(QPointF(13, 13), 9, 9);
    p.setPen(QPen(QColor(0x2a, 0x6f, 0xb5), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 13), QPointF(17, 13));
    if (sign == u'+')
        p.drawLine(QPointF(13, 9), QPointF(13, 17));
    return QIcon(picture);
}

void ReportFailure(const std::exception& error)
{
    const auto* own = dynamic_cast<const Exception*>(&error);
    Dialogs().MessageBox(QStringLiteral("Operazione fallita...\r\r") + (own ? own->Description() : QString::fromUtf8(error.what())),
                         MsgButtons::Ok, MsgIcon::Critical, MsgDefault::Button1, QString());
}

} // namespace

frmReportPreview::frmReportPreview(ArchiveReport& report, const QString& title, QWidget* parent)
    : QDialog(parent), m_report(report), m_printer(QPrinter::HighResolution)
{
    setObjectName(QStringLiteral("frmReportPreview"));
    setWindowTitle(QStringLiteral("Anteprima di stampa - ") + title);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    ReportPrinting::PreparePrinter(m_printer, m_report);
    m_report.Layout(m_printer, QSizeF(m_printer.width(), m_printer.height()));

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("tbPreview"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setIconSize(QSize(22, 22));
    const auto add = [this](const QString& name, const QString& caption, const QIcon& icon, const QKeySequence& key,
                            auto slot) {
        QAction* action = m_toolBar->addAction(icon, caption);
        action->setObjectName(name);
        action->setToolTip(QString(caption).remove(u'&'));
        // The commands without a picture show their caption.
        if (auto* button = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(action)); button && icon.isNull())
            button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        if (!key.isEmpty())
            action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    const auto standard = [this](QStyle::StandardPixmap icon) { return style()->standardIcon(icon); };
    add(QStringLiteral("cmdFirst"), QStringLiteral("Prima pagina"), standard(QStyle::SP_MediaSkipBackward), QKeySequence(Qt::CTRL | Qt::Key_Home),
        [this] { GoToPage(0); });
    add(QStringLiteral("cmdPrevious"), QStringLiteral("Pagina precedente"), standard(QStyle::SP_ArrowLeft), QKeySequence(Qt::Key_PageUp),
        [this] { GoToPage(CurrentPage() - 1); });
    m_pageBox = new QSpinBox(this);
    m_pageBox->setObjectName(QStringLiteral("txtPage"));
    m_pageBox->setRange(1, std::max(1, m_report.PageCount()));
    m_pageBox->setKeyboardTracking(false);
    m_pageBox->setAccessibleName(QStringLiteral("Pagina"));
    m_toolBar->addWidget(new QLabel(QStringLiteral(" Pagina "), this));
    m_toolBar->addWidget(m_pageBox);
    m_pageCount = new QLabel(QStringLiteral(" di %1 ").arg(m_report.PageCount()), this);
    m_pageCount->setObjectName(QStringLiteral("lblPageCount"));
    m_toolBar->addWidget(m_pageCount);
    connect(m_pageBox, &QSpinBox::valueChanged, this, [this](int value) {
        if (!m_moving)
            GoToPage(value - 1);
    });
    add(QStringLiteral("cmdNext"), QStringLiteral("Pagina successiva"), standard(QStyle::SP_ArrowRight), QKeySequence(Qt::Key_PageDown),
        [this] { GoToPage(CurrentPage() + 1); });
    add(QStringLiteral("cmdLast"), QStringLiteral("Ultima pagina"), standard(QStyle::SP_MediaSkipForward), QKeySequence(Qt::CTRL | Qt::Key_End),
        [this] { GoToPage(PageCount() - 1); });
    m_toolBar->addSeparator();
    add(QStringLiteral("cmdZoomOut"), QStringLiteral("Riduci"), ZoomIcon(u'-'), QKeySequence(QKeySequence::ZoomOut),
        [this] { m_preview->zoomOut(); });
    add(QStringLiteral("cmdZoomIn"), QStringLiteral("Ingrandisci"), ZoomIcon(u'+'), QKeySequence(QKeySequence::ZoomIn),
        [this] { m_preview->zoomIn(); });
    add(QStringLiteral("cmdFitWidth"), QStringLiteral("Larghezza pagina"), ZoomIcon(u'w'), QKeySequence(),
        [this] { m_preview->fitToWidth(); });
    add(QStringLiteral("cmdFitPage"), QStringLiteral("Pagina intera"), ZoomIcon(u'p'), QKeySequence(),
        [this] { m_preview->fitInView(); });
    m_toolBar->addSeparator();
    add(QStringLiteral("cmdPrint"), QStringLiteral("&Stampa..."), QIcon(), QKeySequence(Qt::CTRL | Qt::Key_P),
        [this] { PrintList(); });
    add(QStringLiteral("cmdPdf"), QStringLiteral("Esporta &PDF..."), QIcon(), QKeySequence(),
        [this] { SaveList(); });
    m_toolBar->addSeparator();
    add(QStringLiteral("cmdClose"), QStringLiteral("&Chiudi"), QIcon(), QKeySequence(), [this] { reject(); });

    m_preview = new QPrintPreviewWidget(&m_printer, this);
    m_preview->setObjectName(QStringLiteral("pvReport"));
    m_preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    m_preview->setZoomMode(QPrintPreviewWidget::FitToWidth);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, &frmReportPreview::Paint);
    connect(m_preview, &QPrintPreviewWidget::previewChanged, this, &frmReportPreview::FollowPreview);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_preview, 1);

    const QRect screenArea = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 1024);
    resize(std::min(900, screenArea.width() * 9 / 10), screenArea.height() * 9 / 10);
    m_preview->updatePreview();
    ShowPosition();
}

frmReportPreview::~frmReportPreview() = default;

QAction* frmReportPreview::Command(const QString& name) const
{
    return findChild<QAction*>(name);
}

int frmReportPreview::PageCount() const
{
    return m_report.PageCount();
}

int frmReportPreview::DrawnPages() const
{
    return std::clamp(PageCount() - m_first, 0, PagesAtOnce);
}

int frmReportPreview::CurrentPage() const
{
    return m_first + std::max(1, m_preview->currentPage()) - 1;
}

void frmReportPreview::Paint(QPrinter* printer)
{
    // The printer may have been used for another device since: measure again
    // (the count is kept by the data object).
    try {
        m_report.Layout(*printer, QSizeF(printer->width(), printer->height()));
        m_first = std::clamp(m_first, 0, std::max(0, PageCount() - 1));
        QPainter painter(printer);
        for (int page = m_first; page < m_first + DrawnPages(); ++page) {
            if (page > m_first)
                printer->newPage();
            m_report.PaintPage(painter, page);
        }
    } catch (const std::exception& error) {
        ReportFailure(error);
    }
}

void frmReportPreview::GoToPage(int page)
{
    page = std::clamp(page, 0, std::max(0, PageCount() - 1));
    m_wanted = page;
    if (page < m_first || page >= m_first + DrawnPages()) {
        m_first = page / PagesAtOnce * PagesAtOnce;
        m_preview->updatePreview();
    }
    m_preview->setCurrentPage(page - m_first + 1);
    ShowPosition();
}

void frmReportPreview::FollowPreview()
{
    ShowPosition();
}

void frmReportPreview::ShowPosition()
{
    m_moving = true;
    m_pageBox->setRange(1, std::max(1, PageCount()));
    m_pageBox->setValue(CurrentPage() + 1);
    m_pageCount->setText(QStringLiteral(" di %1 ").arg(PageCount()));
    m_moving = false;
    Command(QStringLiteral("cmdFirst"))->setEnabled(CurrentPage() > 0);
    Command(QStringLiteral("cmdPrevious"))->setEnabled(CurrentPage() > 0);
    Command(QStringLiteral("cmdNext"))->setEnabled(CurrentPage() < PageCount() - 1);
    Command(QStringLiteral("cmdLast"))->setEnabled(CurrentPage() < PageCount() - 1);
}

void frmReportPreview::PrintList()
{
    try {
        ReportPrinting::Print(m_report, this);
    } catch (const std::exception& error) {
        ReportFailure(error);
    }
    Redraw();
}

void frmReportPreview::SaveList()
{
    try {
        ReportPrinting::ExportPdf(m_report, this);
    } catch (const std::exception& error) {
        ReportFailure(error);
    }
    Redraw();
}

void frmReportPreview::Redraw()
{
    m_preview->updatePreview();
    m_preview->setCurrentPage(m_wanted - m_first + 1);
    ShowPosition();
}
