#pragma once
// Entry points of the archive engine that belong to no object.

#include <QString>
#include <QVariant>
#include <memory>

class DatabaseObject;
class CurrencyObject;
class itfDefDatabase;
class itfNotifyEvent;

namespace ComponentGlobal {

enum EventCode {
    EventTableCreated = 1,
    EventTableUpgraded = 2,
    EventOpening = 3,
    EventReading = 4,
    EventWriting = 5,
};

std::shared_ptr<DatabaseObject> CreateDatabaseObject(std::shared_ptr<itfDefDatabase> definition,
                                                     const QString& applicationName, itfNotifyEvent* notify,
                                                     std::shared_ptr<CurrencyObject> baseCurrency, int flags = 0);

// Loose equality as the rules need it: numbers by value whatever their type,
// dates by instant, texts exactly; Null equals only Null.
bool ValuesEqual(const QVariant& a, const QVariant& b);

// The engine's own messages, by number (the language argument is kept for
// the classic signature; texts are Italian).
QString MessageText(int number, int language = 0);

// Where a file the user exports is proposed: the documents folder, or the
// home folder where the user has none (a new account often has none, and a
// file proposed in a folder that does not exist cannot be written).
QString DocumentsFolder();

} // namespace ComponentGlobal
