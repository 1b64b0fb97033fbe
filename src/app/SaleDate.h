#pragma once
// The date new receipts take: today's date as text, stored again every time
// the main window becomes active, read by the sale window.

#include <QDate>
#include <QString>

// The date as text ("dd/MM/yyyy"); empty before the main window's first
// activation.
QString SaleDate();

// Stores the date as its text.
void SetSaleDate(const QDate& date);

// The stored text read back as a date; invalid when none is stored.
QDate SaleDateValue();
