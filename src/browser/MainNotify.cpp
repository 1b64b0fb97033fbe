#include "browser/MainNotify.h"

#include "component/ComponentGlobal.h"
#include "component/widgets/DialogService.h"

QString EventStatusText(int eventCode, const QString& detail)
{
    QString text = ComponentGlobal::MessageText(eventCode, 0);
    if (!detail.isEmpty())
        text += QStringLiteral(" <") + detail + QStringLiteral(">...");
    return text;
}

bool AskQueryMessage(int messageType, const QString& text, bool cancel)
{
    const MsgIcon icon = messageType == 3 ? MsgIcon::Exclamation : MsgIcon::Question;
    const MsgResult result = Dialogs().MessageBox(text, MsgButtons::OkCancel, icon,
                                                  cancel ? MsgDefault::Button2 : MsgDefault::Button1, QString());
    return result != MsgResult::Ok;
}
