#include "sales/UpDownControl.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    return button;
}

} // namespace

UpDownControl::UpDownControl(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    m_up = ArrowButton(Qt::UpArrow, this);
    m_up->setObjectName(QStringLiteral("spinQuantitaUp"));
    m_down = ArrowButton(Qt::DownArrow, this);
    m_down->setObjectName(QStringLiteral("spinQuantitaDown"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, &UpDownControl::Up);
    connect(m_down, &QToolButton::clicked, this, &UpDownControl::Down);
}
