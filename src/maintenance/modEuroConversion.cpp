#include "maintenance/modEuroConversion.h"

#include "app/AppSettings.h"
#include "app/ErrorReport.h"
#include "app/frmMessage.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/widgets/DialogService.h"
#include "maintenance/EuroConversion.h"

#include <QApplication>

namespace {

const QString kTitle = QStringLiteral("Conversione Valuta");
const QString kFailed = QStringLiteral("Conversione interrotta: ");

bool Confirmed()
{
    const QString question = CurrencyConverted()
                                 ? QStringLiteral("CONVERSIONE GIA' EFFETTUATA!!!\r\rConfermi?")
                                 : QStringLiteral("Confermi?");
    return Dialogs().MessageBox(question, MsgButtons::YesNo, MsgIcon::None, MsgDefault::Button2, kTitle)
           == MsgResult::Yes;
}

// Rolls back what the conversion began; a failure here only adds to the
// one being reported.
void RollBack(DatabaseEngine& engine, int depth)
{
    try {
        while (engine.TransactionDepth() > depth)
            engine.RollbackTransaction();
    } catch (const std::exception&) {
    }
}

} // namespace

bool ConvertToEuro(DatabaseObject& database, QWidget* owner)
{
    if (!Confirmed())
        return false;
    DatabaseEngine& engine = *database.Engine();
    const int depth = engine.TransactionDepth();
    frmMessage& message = MessageWindow();
    try {
        EuroConversion conversion(database);
        message.ShowMsg(QStringLiteral("Conversione archivio in Euro..."), owner ? owner : QApplication::activeWindow(),
                        -1, -1);
        engine.BeginTransaction();
        const bool finished = conversion.Run([&](qint64 done, qint64 total) {
            if (done == 0) {
                message.StartProgress(total, true);
                return message.Progress(0, true);
            }
            return message.Progress(done);
        });
        message.Unload();
        if (!finished) {
            engine.RollbackTransaction();
            return false;
        }
        engine.CommitTransaction();
    } catch (const std::exception& error) {
        // The archive first: nothing of a failed conversion may stay.
        RollBack(engine, depth);
        message.Unload();
        const auto* own = dynamic_cast<const Exception*>(&error);
        ShowErrorReport(kFailed + (own ? own->Description() : QString::fromLocal8Bit(error.what())), error);
        return false;
    }
    Dialogs().MessageBox(QStringLiteral("Conversione terminata."), MsgButtons::Ok, MsgIcon::None, MsgDefault::Button1,
                         QString());
    try {
        SetCurrencyConverted(true);
    } catch (const std::exception& error) {
        ShowErrorReport(QStringLiteral("Impossibile registrare la conversione effettuata: "), error);
    }
    return true;
}
