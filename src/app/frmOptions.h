#pragma once
// The options window: working directory, restaurant's name and the margins
// of the printed receipt list.

#include <QDialog>
#include <QString>
#include <functional>

class QLineEdit;

class frmOptions : public QDialog
{
    Q_OBJECT

public:
    // releaseDatabase is called when a new working directory is confirmed,
    // so that the next activation of the main window opens the archive there.
    frmOptions(QWidget* parent, std::function<void()> releaseDatabase);

    // True once "OK" has saved the settings.
    bool Confirmed() const { return m_confirmed; }

    // Whether two working directories differ. Letter case alone counts only
    // when both exist as different directories (a case-sensitive disk).
    static bool DirectoryChanged(const QString& oldDirectory, const QString& newDirectory);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SelectWorkDir();
    void Confirm();
    bool Ask(const QString& question);

    QLineEdit* m_txtWorkDir = nullptr;
    QLineEdit* m_txtRestaurantName = nullptr;
    QLineEdit* m_txtPrintTop = nullptr;
    QLineEdit* m_txtPrintLeft = nullptr;
    std::function<void()> m_releaseDatabase;
    bool m_confirmed = false;
};
