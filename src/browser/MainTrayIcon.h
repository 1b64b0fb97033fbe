#pragma once
// The main window's icon in the notification area: a double click shows the
// window, the right button pops up its menu (mnuPopUp). On a desktop without
// a notification area there is no icon.

#include <QIcon>
#include <QObject>
#include <memory>

class QMenu;
class QSystemTrayIcon;

class MainTrayIcon : public QObject
{
    Q_OBJECT

public:
    MainTrayIcon(QMenu* popUp, QObject* parent = nullptr);
    ~MainTrayIcon() override;

    // Adds the icon with its tooltip; does nothing where the desktop has no
    // notification area.
    void IconStart(const QIcon& icon, const QString& tooltip);
    // Removes the icon.
    void IconStop();
    // The icon is in the notification area: the window can be hidden and
    // found again there.
    bool IsShown() const;

Q_SIGNALS:
    void DoubleClicked();

private:
    QMenu* m_popUp;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};
