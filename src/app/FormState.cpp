#include "app/FormState.h"

#include "app/SettingsStore.h"
#include "component/ComponentErrors.h"
#include "component/Exception.h"
#include "component/widgets/GridBinding.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

namespace {

std::optional<int> ReadNumber(QSettings& store, const QString& key)
{
    bool ok = false;
    const int value = store.value(key).toString().trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QRect ScreenArea(const QWidget& form)
{
    const QScreen* screen = form.screen() ? form.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

} // namespace

bool OnSomeScreen(const QRect& rect)
{
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(rect))
            return true;
    return false;
}

QString FormStateSection(const QWidget& form)
{
    return form.objectName() + QStringLiteral("Settings");
}

void SaveFormState(const QWidget& form)
{
    auto store = OpenSettingsStore();
    store->beginGroup(FormStateSection(form));
    const int state = form.isMinimized() ? 1 : form.isMaximized() ? 2 : 0;
    store->setValue(QStringLiteral("State"), QString::number(state));
    if (state == 0) {
        const QRect rect = form.geometry();
        const qreal dpiX = form.logicalDpiX();
        const qreal dpiY = form.logicalDpiY();
        store->setValue(QStringLiteral("Left"), QString::number(GridBinding::PixelsToTwips(rect.x(), dpiX)));
        store->setValue(QStringLiteral("Top"), QString::number(GridBinding::PixelsToTwips(rect.y(), dpiY)));
        store->setValue(QStringLiteral("Width"), QString::number(GridBinding::PixelsToTwips(rect.width(), dpiX)));
        store->setValue(QStringLiteral("Height"), QString::number(GridBinding::PixelsToTwips(rect.height(), dpiY)));
    }
    store->endGroup();
    store->sync();
    if (store->status() != QSettings::NoError)
        throw Exception(ComponentError::Io, QStringLiteral("Impossibile salvare le impostazioni nel file \"%1\".")
                                                .arg(QDir::toNativeSeparators(store->fileName())));
}

void LoadFormState(QWidget& form, std::optional<int> left, std::optional<int> top, bool fixedSize)
{
    auto store = OpenSettingsStore();
    store->beginGroup(FormStateSection(form));
    const qreal dpiX = form.logicalDpiX();
    const qreal dpiY = form.logicalDpiY();

    QSize size = form.size();
    if (!fixedSize) {
        if (const auto width = ReadNumber(*store, QStringLiteral("Width")); width && *width > 0)
            size.setWidth(GridBinding::TwipsToPixels(*width, dpiX));
        if (const auto height = ReadNumber(*store, QStringLiteral("Height")); height && *height > 0)
            size.setHeight(GridBinding::TwipsToPixels(*height, dpiY));
    }

    const QRect area = ScreenArea(form);
    const auto storedLeft = ReadNumber(*store, QStringLiteral("Left"));
    const auto storedTop = ReadNumber(*store, QStringLiteral("Top"));
    QPoint position((area.width() - size.width()) / 2 + area.x(), (area.height() - size.height()) / 2 + area.y());
    if (const auto x = storedLeft ? storedLeft : left)
        position.setX(GridBinding::TwipsToPixels(*x, dpiX));
    if (const auto y = storedTop ? storedTop : top)
        position.setY(GridBinding::TwipsToPixels(*y, dpiY));

    QRect rect(position, size);
    if (!OnSomeScreen(rect))
        rect.moveCenter(area.center());
    form.setGeometry(rect);

    if (ReadNumber(*store, QStringLiteral("State")).value_or(0) == 2)
        form.setWindowState(form.windowState() | Qt::WindowMaximized);
    store->endGroup();
}
