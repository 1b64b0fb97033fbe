#pragma once
// The report of a caught error: a message box asking whether to see the
// details and, on Yes, the exception window with the error's code and detail.

#include "component/Exception.h"

#include <QString>
#include <exception>

// The context is a lead text such as "Visualizzazione dati fallita: " (it
// may be empty); the error gives the number and the description.
void ShowErrorReport(const QString& context, const Exception& error);

// For errors that are not the application's own: an Exception seen through
// its base is reported as itself; running out of memory as error 7
// "Memoria insufficiente"; anything else as error 51 "Errore interno: "
// followed by its text.
void ShowErrorReport(const QString& context, const std::exception& error);

namespace ErrorReport {
constexpr qint32 OutOfMemory = 7;
constexpr qint32 InternalError = 51;
} // namespace ErrorReport
