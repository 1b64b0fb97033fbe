#pragma once
// Binds a table view to a data object through a DataObjectModel: rows of
// one fixed height so that the view never measures a million rows, the
// view's current row and the data object's current record kept together
// both ways, column widths kept by field while the grid shows one table, and
// widths in twips for the stored grid layout.
//
// The binding owns its model: destroy it before the view, or detach the
// view first.

#include "component/widgets/DataObjectModel.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTableView>
#include <QTimer>

class GridBinding : public QObject
{
    Q_OBJECT

public:
    explicit GridBinding(QTableView* view, QObject* parent = nullptr);
    ~GridBinding() override;

    DataObjectModel& Model() { return m_model; }
    QTableView* View() const { return m_view; }
    void SetDataObject(std::shared_ptr<DataObject> dataObject);
    // Gives every column its default width now, and forgets the widths kept
    // by field (a layout reset).
    void ResetColumnWidths();

    // Puts the view's current row on the data object's current record now
    // (moves of the data object are otherwise followed once control returns
    // to the event loop, so that a burst of moves costs one update).
    void FollowCurrentRecord();

    // Column widths in twips (1440 per inch, through the view's logical DPI).
    int ColumnWidthTwips(int column) const;
    void SetColumnWidthTwips(int column, int twips);
    int ColumnWidthTwips(const QString& fieldName) const;
    void SetColumnWidthTwips(const QString& fieldName, int twips);
    static int PixelsToTwips(int pixels, qreal dpi);
    static int TwipsToPixels(int twips, qreal dpi);

Q_SIGNALS:
    // The user resized a column.
    void ColumnResized(int column, int twips);
    // Moving the data object or reading it failed (the detail: see
    // Exception::Detail).
    void ErrorOccurred(qint32 number, const QString& description, const QString& detail);

private:
    void ConfigureView();
    void OnViewRowChanged(int row);
    void OnSectionResized(int column, int newSize);
    void ReportError(const Exception& error);
    QString ColumnKey(int column) const;
    void RememberWidths();
    void RestoreWidths();
    int DefaultWidth(int column) const;
    qreal Dpi() const;

    QPointer<QTableView> m_view;
    DataObjectModel m_model;
    QTimer m_follow;
    QHash<QString, int> m_widths; // by field, of the table m_widthsTable
    QString m_widthsTable;
    bool m_syncing = false;
    bool m_resizing = false;
};
