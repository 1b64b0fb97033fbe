#pragma once
// The handle between the section tree and the grid (imgSplitter): pressing
// it starts a drag, moving reports the pointer, releasing ends the drag.

#include <QWidget>

class SplitterHandle : public QWidget
{
    Q_OBJECT

public:
    explicit SplitterHandle(QWidget* parent = nullptr);
    bool IsDragging() const { return m_dragging; }

Q_SIGNALS:
    void DragStarted();
    // The pointer's x, in pixels from the handle's left edge.
    void DragMoved(int pointerX);
    void DragEnded(int pointerX);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_dragging = false;
};
