#pragma once
// The per-field menus of a view: search, column filter, column order,
// totals, averages, and the "Find" drop-down with its default field.

#include <QList>
#include <QString>

class DataObject;

struct FieldMenuItem
{
    QString caption;
    QString tag;
};

struct FieldMenus
{
    QList<FieldMenuItem> search;    // mnuSearchItems: caption = display caption, tag = field name
    QList<FieldMenuItem> filter;    // mnuFilterItems: caption = tag = field name
    QList<FieldMenuItem> find;      // "Find" drop-down: tag = key = field name, caption = display caption
    QList<FieldMenuItem> order;     // mnuOrderItems: caption = display caption, tag = field name
    QList<FieldMenuItem> total;     // mnuTotalItems: caption = tag = field name
    QList<FieldMenuItem> average;   // mnuAverageItems
    int findDefault = 0;            // 1-based position in the drop-down; 0 when it is empty
};

FieldMenus BuildFieldMenus(const DataObject& view);
