#pragma once
// The splash window of the start-up: the product name and its version.

#include <QWidget>

class frmSplash : public QWidget
{
    Q_OBJECT

public:
    frmSplash();

    // Shows the window centred on the screen and paints it at once, so that
    // it stays visible during the rest of the start-up.
    void ShowNow();

    // "Version " followed by the major, minor and revision numbers.
    static QString VersionLine();

protected:
    void paintEvent(QPaintEvent* event) override;
};
