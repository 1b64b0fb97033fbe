#pragma once
// An up-down control: two small arrow buttons, one above the other, that
// never take the keyboard focus from the control the cashier is typing in.

#include <QWidget>

class QToolButton;

class UpDownControl : public QWidget
{
    Q_OBJECT

public:
    explicit UpDownControl(QWidget* parent = nullptr);

    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }

Q_SIGNALS:
    void Up();
    void Down();

private:
    QToolButton* m_up;
    QToolButton* m_down;
};
