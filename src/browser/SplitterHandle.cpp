#include "browser/SplitterHandle.h"

#include <QMouseEvent>

SplitterHandle::SplitterHandle(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("imgSplitter"));
    setCursor(Qt::SplitHCursor);
}

void SplitterHandle::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    Q_EMIT DragStarted();
    Q_EMIT DragMoved(qRound(event->position().x()));
}

void SplitterHandle::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging)
        Q_EMIT DragMoved(qRound(event->position().x()));
}

void SplitterHandle::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    Q_EMIT DragEnded(qRound(event->position().x()));
}
