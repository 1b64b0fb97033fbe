#include "browser/frmDateSetting.h"

#include "component/widgets/DialogService.h"

#include <QCalendarWidget>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

frmDateSetting::frmDateSetting(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDateSetting"));
    setWindowTitle(QStringLiteral("Imposta data"));
    calTimeSetting = new QCalendarWidget(this);
    calTimeSetting->setObjectName(QStringLiteral("calTimeSetting"));
    calTimeSetting->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
    calTimeSetting->setGridVisible(true);
    cmdSetting = new QPushButton(QStringLiteral("&Imposta"), this);
    cmdSetting->setObjectName(QStringLiteral("cmdSetting"));
    cmdSetting->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(calTimeSetting);
    layout->addWidget(cmdSetting, 0, Qt::AlignRight);
    connect(cmdSetting, &QPushButton::clicked, this, &QDialog::accept);
    connect(calTimeSetting, &QCalendarWidget::activated, this, &QDialog::accept);
}

std::optional<QDateTime> frmDateSetting::SetDate(const QDateTime& date, int left, int top, QWidget* parent)
{
    frmDateSetting window(parent);
    window.calTimeSetting->setSelectedDate(date.isValid() ? date.date() : QDate::currentDate());
    window.adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const int x = left == -1 ? area.x() + (area.width() - window.width()) / 2 : left;
        const int y = top == -1 ? area.y() + (area.height() - window.height()) / 2 : top;
        window.move(x, y);
    }
    if (Dialogs().ExecModal(window) != QDialog::Accepted)
        return std::nullopt;
    return window.calTimeSetting->selectedDate().startOfDay();
}
