#include "app/frmMessage.h"

#include "app/AppInfo.h"
#include "app/ProgressText.h"
#include "component/widgets/DialogService.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <chrono>
#include <limits>
#include <memory>

namespace {

constexpr int kHourglassFrames = 8;
constexpr int kHourglassInterval = 150; // milliseconds
constexpr int kHourglassSize = 32;      // logical pixels
const QString kWaitText = QStringLiteral("Attendere...");

// One picture of the hourglass: the sand runs from the top bulb to the bottom
// one over the frames.
QPixmap HourglassPicture(int frame, qreal pixelRatio)
{
    const int side = kHourglassSize;
    QPixmap picture(QSize(side, side) * pixelRatio);
    picture.setDevicePixelRatio(pixelRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    const qreal left = 7, right = side - 7, top = 3, bottom = side - 3, middle = side / 2.0;
    QPainterPath glass;
    glass.moveTo(left, top);
    glass.lineTo(right, top);
    glass.lineTo(middle + 1.5, middle);
    glass.lineTo(right, bottom);
    glass.lineTo(left, bottom);
    glass.lineTo(middle - 1.5, middle);
    glass.closeSubpath();

    const qreal run = qreal(frame) / (kHourglassFrames - 1);
    const QColor sand(0xd9, 0xa4, 0x41);
    painter.save();
    painter.setClipPath(glass);
    const qreal topSand = (middle - top) * (1.0 - run);
    painter.fillRect(QRectF(left, middle - topSand, right - left, topSand), sand);
    const qreal bottomSand = (bottom - middle) * run;
    painter.fillRect(QRectF(left, bottom - bottomSand, right - left, bottomSand), sand);
    if (frame > 0 && frame < kHourglassFrames - 1)
        painter.fillRect(QRectF(middle - 0.75, middle, 1.5, bottom - middle - bottomSand), sand);
    painter.restore();

    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 1.5));
    painter.drawPath(glass);
    painter.setPen(QPen(QColor(0x6b, 0x4a, 0x2b), 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(left - 3, top), QPointF(right + 3, top));
    painter.drawLine(QPointF(left - 3, bottom), QPointF(right + 3, bottom));
    return picture;
}

// Whether a modal window is up that the parent does not belong to: the
// message window could not be used then, and is not shown.
bool BlockedByModalWindow(const QWidget* parent)
{
    const QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return false;
    for (const QWidget* w = parent ? parent->window() : nullptr; w; w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        if (w == modal)
            return false;
    }
    return true;
}

int TwipsToPixels(int twips, const QWidget* widget)
{
    return int(qint64(twips) * widget->logicalDpiY() / 1440);
}

std::unique_ptr<frmMessage>& Instance()
{
    static std::unique_ptr<frmMessage> instance;
    return instance;
}

} // namespace

frmMessage::frmMessage()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmMessage"));
    setWindowTitle(AppInfo::ProductName());
    setModal(false);

    m_imgHourglass = new QLabel(this);
    m_imgHourglass->setObjectName(QStringLiteral("imgHourglass"));
    m_imgHourglass->setFixedSize(kHourglassSize, kHourglassSize);
    m_imgHourglass->setPixmap(HourglassPicture(0, devicePixelRatioF()));

    m_lblMessage = new QLabel(kWaitText, this);
    m_lblMessage->setObjectName(QStringLiteral("lblMessage"));
    m_lblMessage->setWordWrap(true);
    m_lblMessage->setMinimumWidth(fontMetrics().averageCharWidth() * 44);

    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("shpFrame"));
    m_frame->setFrameShape(QFrame::StyledPanel);
    m_frame->setFrameShadow(QFrame::Sunken);
    m_pbNotify = new QProgressBar(m_frame);
    m_pbNotify->setObjectName(QStringLiteral("pbNotify"));
    m_pbNotify->setTextVisible(false);
    m_lblCount = new QLabel(m_frame);
    m_lblCount->setObjectName(QStringLiteral("lblCount"));
    m_lblTime = new QLabel(m_frame);
    m_lblTime->setObjectName(QStringLiteral("lblTime"));
    m_lblTime->setToolTip(QStringLiteral("Tempo rimanente (stimato)"));
    m_lblTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* labels = new QHBoxLayout;
    labels->addWidget(m_lblCount);
    labels->addStretch(1);
    labels->addWidget(m_lblTime);
    auto* frameLayout = new QVBoxLayout(m_frame);
    frameLayout->addWidget(m_pbNotify);
    frameLayout->addLayout(labels);

    m_cmdStop = new QPushButton(QStringLiteral("&Stop"), this);
    m_cmdStop->setObjectName(QStringLiteral("cmdStop"));
    m_cmdStop->setToolTip(QStringLiteral("Interrompe l'esecuzione"));
    m_cmdStop->setAutoDefault(false);
    connect(m_cmdStop, &QPushButton::clicked, this, &frmMessage::AskStop);

    auto* top = new QHBoxLayout;
    top->addWidget(m_imgHourglass, 0, Qt::AlignTop);
    top->addSpacing(6);
    top->addWidget(m_lblMessage, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(m_cmdStop);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(top);
    layout->addWidget(m_frame);
    layout->addLayout(bottom);

    m_frame->hide();
    m_cmdStop->hide();

    m_tmHourglass = new QTimer(this);
    m_tmHourglass->setObjectName(QStringLiteral("tmHourglass"));
    m_tmHourglass->setInterval(kHourglassInterval);
    connect(m_tmHourglass, &QTimer::timeout, this, &frmMessage::NextHourglassFrame);
}

frmMessage::~frmMessage()
{
    ReleaseParent();
}

void frmMessage::ShowMsg(const QString& text, QWidget* parent, int top, int left)
{
    if (m_parent != parent) {
        ReleaseParent();
        m_parent = parent;
        m_parentWasEnabled = parent && parent->isEnabled();
        m_parentFocus = parent ? parent->window()->focusWidget() : nullptr;
    }
    m_lblMessage->setText(text);

    if (!isVisible()) {
        if (BlockedByModalWindow(m_parent)) {
            ReleaseParent();
            return;
        }
        if (m_parent)
            m_parent->repaint();
        create();
        if (QWindow* handle = windowHandle())
            handle->setTransientParent(m_parent && m_parent->window()->windowHandle() ? m_parent->window()->windowHandle() : nullptr);
        if (!m_placed) {
            adjustSize();
            const QRect area = m_parent && m_parent->isVisible() ? m_parent->window()->frameGeometry()
                                                                 : screen()->availableGeometry();
            move(area.center() - rect().center());
            m_placed = true;
        }
        show();
        // Active, so that the boxes the operation may ask are owned by this
        // window and not by the disabled parent.
        raise();
        activateWindow();
        m_tmHourglass->start();
    }
    if (m_parent && m_parent->isEnabled())
        m_parent->setEnabled(false);

    if (top != -1)
        move(x(), TwipsToPixels(top, this));
    if (left != -1)
        move(TwipsToPixels(left, this), y());
    if (m_progressShown && m_value >= m_maximum)
        EndProgress();
    repaint();
}

void frmMessage::StartProgress(qint64 total, bool stopEnabled)
{
    m_maximum = total > 0 ? total : 1;
    m_value = 0;
    m_stopped = false;
    m_lblCount->clear();
    m_lblTime->clear();
    m_progressShown = true;
    m_frame->show();
    m_cmdStop->setVisible(stopEnabled);
    UpdateBar(false);
    m_startMsecs = Now();
}

bool frmMessage::Progress(qint64 count, bool noCount)
{
    if (noCount) {
        m_cmdStop->show();
    } else {
        if (count > 0) {
            if (count <= m_maximum)
                m_value = count;
        } else if (count == 0 && m_value < m_maximum) {
            ++m_value;
        }
        UpdateBar(true);
    }
    QCoreApplication::processEvents();
    return !m_stopped;
}

qint64 frmMessage::MaxProgress() const
{
    return m_progressShown ? m_maximum : 0;
}

void frmMessage::EndProgress()
{
    m_progressShown = false;
    m_frame->hide();
    m_cmdStop->hide();
}

void frmMessage::Unload()
{
    m_tmHourglass->stop();
    hide();
    ReleaseParent();
    EndProgress();
    m_lblMessage->setText(kWaitText);
    m_stopped = false;
}

bool frmMessage::OnProgress(int, qint64 p_nTotal, qint64 p_nCount)
{
    const bool noCount = p_nCount != 0 && (p_nTotal == 0 || !m_progressShown);
    return Progress(p_nCount, noCount);
}

bool frmMessage::OnStopped()
{
    return m_stopped;
}

void frmMessage::OnStart(int, qint64 p_nTotal)
{
    StartProgress(p_nTotal, true);
}

void frmMessage::OnEnd(int, qint64)
{
    EndProgress();
}

void frmMessage::SetClock(std::function<qint64()> msecsNow)
{
    m_clock = std::move(msecsNow);
}

void frmMessage::reject()
{
    // Esc acts as the stop button while there is one; otherwise the window
    // stays until its operation closes it.
    if (m_cmdStop->isVisible() && m_cmdStop->isEnabled())
        AskStop();
}

void frmMessage::closeEvent(QCloseEvent* event)
{
    event->ignore();
    reject();
}

void frmMessage::AskStop()
{
    if (Dialogs().MessageBox(QStringLiteral("Confermi l'interruzione ?"), MsgButtons::YesNo, MsgIcon::Question,
                             MsgDefault::Button1, QString())
        != MsgResult::Yes)
        return;
    if (!m_stopped) {
        m_stopped = true;
        return;
    }
    // A second confirmed stop closes the window at once; the operation still
    // sees the stop request until it starts new progress.
    m_tmHourglass->stop();
    hide();
    ReleaseParent();
    EndProgress();
}

void frmMessage::ReleaseParent()
{
    if (!m_parent)
        return;
    QPointer<QWidget> parent = m_parent;
    QPointer<QWidget> focus = m_parentFocus;
    m_parent = nullptr;
    m_parentFocus = nullptr;
    if (m_parentWasEnabled) {
        parent->setEnabled(true);
        if (parent->isVisible()) {
            // The keys the user types next go where they went before the
            // operation (the tree after a section was chosen with the arrows).
            if (focus && focus->window() == parent->window() && focus->isVisible() && focus->isEnabled())
                focus->setFocus(Qt::OtherFocusReason);
            parent->window()->activateWindow();
        }
    }
}

void frmMessage::UpdateBar(bool withTexts)
{
    // The bar and the texts work on int; very large totals are scaled down.
    constexpr qint64 limit = std::numeric_limits<int>::max();
    const qint64 scale = m_maximum > limit ? m_maximum / limit + 1 : 1;
    const int maximum = int(m_maximum / scale);
    const int value = int(m_value / scale);
    m_pbNotify->setRange(0, maximum);
    m_pbNotify->setValue(value);
    if (!withTexts)
        return;
    m_lblCount->setText(ProgressText::CountText(value, maximum));
    const double elapsed = double(Now() - m_startMsecs) / 1000.0;
    const QString remaining = ProgressText::RemainingTimeText(value, maximum, elapsed);
    if (!remaining.isEmpty())
        m_lblTime->setText(remaining);
}

void frmMessage::NextHourglassFrame()
{
    m_hourglassFrame = (m_hourglassFrame + 1) % kHourglassFrames;
    m_imgHourglass->setPixmap(HourglassPicture(m_hourglassFrame, devicePixelRatioF()));
}

qint64 frmMessage::Now() const
{
    if (m_clock)
        return m_clock();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

frmMessage& MessageWindow()
{
    std::unique_ptr<frmMessage>& instance = Instance();
    if (!instance) {
        instance = std::make_unique<frmMessage>();
        // The window must go before the application object does.
        static const bool registered = [] {
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { DestroyMessageWindow(); });
            qAddPostRoutine([] { DestroyMessageWindow(); });
            return true;
        }();
        Q_UNUSED(registered);
    }
    return *instance;
}

void DestroyMessageWindow()
{
    Instance().reset();
}

ScopedMessage::ScopedMessage(const QString& text, QWidget* parent, int top, int left)
{
    MessageWindow().ShowMsg(text, parent, top, left);
}

ScopedMessage::~ScopedMessage()
{
    MessageWindow().Unload();
}
