#include "browser/MainTrayIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>

MainTrayIcon::MainTrayIcon(QMenu* popUp, QObject* parent) : QObject(parent), m_popUp(popUp) {}

MainTrayIcon::~MainTrayIcon() = default;

void MainTrayIcon::IconStart(const QIcon& icon, const QString& tooltip)
{
    if (m_icon || !QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_icon = std::make_unique<QSystemTrayIcon>(icon);
    m_icon->setToolTip(tooltip);
    m_icon->setContextMenu(m_popUp);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // Some notification areas report a plain click only; it shows the window too.
        if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger)
            Q_EMIT DoubleClicked();
    });
    m_icon->show();
}

void MainTrayIcon::IconStop()
{
    if (m_icon)
        m_icon->hide();
    m_icon.reset();
}

bool MainTrayIcon::IsShown() const
{
    return m_icon && m_icon->isVisible();
}
