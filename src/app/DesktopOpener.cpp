#include "app/DesktopOpener.h"

#include <QDesktopServices>

#include <utility>

namespace {

std::function<bool(const QUrl&)>& CurrentOpener()
{
    static std::function<bool(const QUrl&)> opener;
    return opener;
}

} // namespace

bool OpenWithDesktop(const QUrl& url)
{
    if (CurrentOpener())
        return CurrentOpener()(url);
    return QDesktopServices::openUrl(url);
}

ScopedDesktopOpener::ScopedDesktopOpener(std::function<bool(const QUrl&)> opener)
    : m_previous(std::exchange(CurrentOpener(), std::move(opener)))
{
}

ScopedDesktopOpener::~ScopedDesktopOpener()
{
    CurrentOpener() = std::move(m_previous);
}
