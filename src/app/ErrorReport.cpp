#include "app/ErrorReport.h"

#include "app/ErrorReportText.h"
#include "app/frmShowException.h"
#include "component/ComponentGlobal.h"
#include "component/widgets/DialogService.h"

#include <QApplication>

#include <new>

namespace {

void Report(const QString& context, qint32 number, const QString& description, const QString& technical = {})
{
    const QString first = ErrorReport::FirstText(number, description, context,
                                                 [] { return ComponentGlobal::MessageText(124, 0); });
    if (Dialogs().MessageBox(ErrorReport::Question(first), MsgButtons::YesNo, MsgIcon::Critical, MsgDefault::Button2,
                             QString())
        != MsgResult::Yes)
        return;
    frmShowException window(QApplication::activeWindow());
    window.SetError(ErrorReport::Code(number), ErrorReport::Detail(description, context, technical));
    Dialogs().ExecModal(window);
}

} // namespace

void ShowErrorReport(const QString& context, const Exception& error)
{
    Report(context, error.Number(), error.Description(), error.Detail());
}

void ShowErrorReport(const QString& context, const std::exception& error)
{
    if (const auto* own = dynamic_cast<const Exception*>(&error))
        Report(context, own->Number(), own->Description(), own->Detail());
    else if (dynamic_cast<const std::bad_alloc*>(&error))
        Report(context, ErrorReport::OutOfMemory, QStringLiteral("Memoria insufficiente"));
    else
        Report(context, ErrorReport::InternalError,
               QStringLiteral("Errore interno: ") + QString::fromLocal8Bit(error.what()));
}
