#include "browser/MainGeometry.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"

#include <QDir>

namespace {

const QString kSection = QStringLiteral("Settings");

int ReadNumber(QSettings& store, const QString& key, int defaultValue)
{
    bool ok = false;
    const int value = store.value(key).toString().trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

void Write(QSettings& store, const QString& key, int value)
{
    store.setValue(key, QString::number(value));
}

} // namespace

MainGeometry ReadMainGeometry(QSettings& store)
{
    const MainGeometry defaults;
    MainGeometry geometry;
    store.beginGroup(kSection);
    geometry.left = ReadNumber(store, QStringLiteral("MainLeft"), defaults.left);
    geometry.top = ReadNumber(store, QStringLiteral("MainTop"), defaults.top);
    geometry.width = ReadNumber(store, QStringLiteral("MainWidth"), defaults.width);
    geometry.height = ReadNumber(store, QStringLiteral("MainHeight"), defaults.height);
    geometry.state = ReadNumber(store, QStringLiteral("MainState"), defaults.state);
    geometry.split = ReadNumber(store, QStringLiteral("MainSplit"), defaults.split);
    store.endGroup();
    return geometry;
}

void WriteMainGeometry(QSettings& store, const MainGeometry& geometry)
{
    store.beginGroup(kSection);
    Write(store, QStringLiteral("MainState"), geometry.state);
    Write(store, QStringLiteral("MainLeft"), geometry.left);
    Write(store, QStringLiteral("MainTop"), geometry.top);
    Write(store, QStringLiteral("MainWidth"), geometry.width);
    Write(store, QStringLiteral("MainHeight"), geometry.height);
    if (geometry.split > 0)
        Write(store, QStringLiteral("MainSplit"), geometry.split);
    store.endGroup();
    store.sync();
    if (store.status() != QSettings::NoError)
        throw Exception(ComponentError::Io, QStringLiteral("Impossibile salvare le impostazioni nel file \"%1\".")
                                                .arg(QDir::toNativeSeparators(store.fileName())));
}
