#include "app/frmSplash.h"

#include "app/AppInfo.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QColor kBand(0x7a, 0x1f, 0x2b);   // the band along the left edge
const QColor kPaper(0xfb, 0xf8, 0xf3);  // the window's background
constexpr int kBandWidth = 18;

} // namespace

frmSplash::frmSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(AppInfo::ProductName());
    setAttribute(Qt::WA_OpaquePaintEvent);

    auto* product = new QLabel(AppInfo::ProductName(), this);
    product->setObjectName(QStringLiteral("lblProductName"));
    QFont productFont = font();
    productFont.setPointSizeF(productFont.pointSizeF() * 3.2);
    productFont.setBold(true);
    product->setFont(productFont);
    product->setStyleSheet(QStringLiteral("color: #7a1f2b;"));

    auto* version = new QLabel(VersionLine(), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    QFont versionFont = font();
    versionFont.setPointSizeF(versionFont.pointSizeF() * 1.1);
    version->setFont(versionFont);
    version->setStyleSheet(QStringLiteral("color: #4a4a4a;"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kBandWidth + 36, 40, 48, 32);
    layout->addStretch(1);
    layout->addWidget(product);
    layout->addSpacing(4);
    layout->addWidget(version);
    layout->addStretch(2);

    const QSize hint = layout->sizeHint();
    setFixedSize(std::max(hint.width(), fontMetrics().averageCharWidth() * 56),
                 std::max(hint.height(), fontMetrics().lineSpacing() * 12));
}

QString frmSplash::VersionLine()
{
    return QStringLiteral("Version ") + AppInfo::VersionText();
}

void frmSplash::ShowNow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    repaint();
    QCoreApplication::processEvents();
}

void frmSplash::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kPaper);
    painter.fillRect(QRect(0, 0, kBandWidth, height()), kBand);
    painter.setPen(QColor(0xc9, 0xbf, 0xb0));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
