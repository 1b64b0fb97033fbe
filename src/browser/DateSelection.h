#pragma once
// The date selection shared by every dated section: all data, one day or one
// month around SelectionDate, with the captions of the date button and menu
// and the criteria it adds to a view.

#include <QDateTime>
#include <QString>

struct DateSelection
{
    QDateTime SelectionDate = QDateTime::currentDateTime();
    bool SelectByDate = true;
    bool SelectByMonth = false;

    void SelectAll() { SelectByDate = SelectByMonth = false; }
    void SelectDay(const QDateTime& date) { SelectionDate = date; SelectByDate = true; SelectByMonth = false; }
    void SelectMonth(const QDateTime& date) { SelectionDate = date; SelectByDate = false; SelectByMonth = true; }

    // `criteria` narrowed to the selected day or month of `dateField`.
    QString ApplyTo(const QString& criteria, const QString& dateField) const;
};

// The process-wide selection (it lasts until the application ends).
DateSelection& CurrentDateSelection();

struct SelectionCaptions
{
    QString button;       // cmdDateSel caption
    QString tooltip;      // cmdDateSel tooltip
    QString menu;         // mnuSelection caption
    bool checkAll = false;
    bool checkDate = false;
    bool checkMonth = false;
};

// The captions for a view whose date field has the display caption
// `fieldCaption` (empty when the view has no date field).
SelectionCaptions CaptionsFor(const DateSelection& selection, const QString& fieldCaption);
