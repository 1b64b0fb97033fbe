#pragma once
// The preview of a printed list: the pages as they will print, with zoom and
// page navigation, and the list printed or saved as PDF from there. Only a
// few pages around the one shown are drawn at a time, so that the first page
// of a list of any length shows at once.

#include <QDialog>
#include <QPrinter>
#include <memory>

class ArchiveReport;
class QAction;
class QLabel;
class QPrintPreviewWidget;
class QSpinBox;
class QToolBar;

class frmReportPreview : public QDialog
{
    Q_OBJECT

public:
    // Pages drawn at a time.
    static constexpr int PagesAtOnce = 6;

    frmReportPreview(ArchiveReport& report, const QString& title, QWidget* parent = nullptr);
    ~frmReportPreview() override;

    // The page shown (0-based) and the list's page count.
    int CurrentPage() const;
    int PageCount() const;
    // The first page of the block drawn and how many pages it holds.
    int FirstDrawnPage() const { return m_first; }
    int DrawnPages() const;
    void GoToPage(int page);

    QPrintPreviewWidget* Preview() const { return m_preview; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QSpinBox* PageBox() const { return m_pageBox; }
    QAction* Command(const QString& name) const;

private:
    void Paint(QPrinter* printer);
    void FollowPreview();
    void ShowPosition();
    void PrintList();
    void SaveList();
    // Draws the block again (the list was laid out for another device) on the same page.
    void Redraw();

    ArchiveReport& m_report;
    QPrinter m_printer;
    QPrintPreviewWidget* m_preview = nullptr;
    QToolBar* m_toolBar = nullptr;
    QSpinBox* m_pageBox = nullptr;
    QLabel* m_pageCount = nullptr;
    int m_first = 0;
    int m_wanted = 0;
    bool m_laidOut = false;
    bool m_moving = false;
};
