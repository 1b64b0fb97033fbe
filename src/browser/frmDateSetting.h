#pragma once
// The calendar that chooses the day or month of the date selection.

#include <QDateTime>
#include <QDialog>
#include <optional>

class QCalendarWidget;
class QPushButton;

class frmDateSetting : public QDialog
{
    Q_OBJECT

public:
    explicit frmDateSetting(QWidget* parent = nullptr);

    // Shows the calendar on `date` (today when it is null); left and top -1
    // centre the window on the screen on that axis. The chosen date, or
    // nothing when the window was closed with Escape.
    static std::optional<QDateTime> SetDate(const QDateTime& date, int left = -1, int top = -1, QWidget* parent = nullptr);

    QCalendarWidget* calTimeSetting;
    QPushButton* cmdSetting;
};
