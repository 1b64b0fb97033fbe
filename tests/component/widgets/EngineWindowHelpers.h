#pragma once
// Playing the user on the engine's windows offscreen: typing into a box and
// leaving it, pressing a button found by its object name.

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace DialogTest {

template <typename T>
T* Child(const QWidget& window, const QString& name)
{
    T* child = window.findChild<T*>(name);
    if (!child)
        ADD_FAILURE() << "no control " << name.toStdString() << " in " << window.objectName().toStdString();
    return child;
}

// Replaces the box's text as the user would (the change counts as typed,
// the validator applies) without leaving it.
inline void Type(QLineEdit* box, const QString& text)
{
    ASSERT_NE(box, nullptr);
    box->selectAll();
    box->del();
    box->insert(text);
}

// Types and leaves the box, as a Tab would.
inline void TypeAndLeave(QLineEdit* box, const QString& text)
{
    Type(box, text);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &out);
}

inline void Press(const QWidget& window, const QString& name)
{
    if (auto* button = Child<QPushButton>(window, name))
        button->click();
}

} // namespace DialogTest
