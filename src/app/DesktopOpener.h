#pragma once
// Opening a file or a mail address with the desktop's default program. Tests
// put their own opener in place so that no browser or mail program starts.

#include <QUrl>
#include <functional>

// The opener in force; returns false when the desktop could not open the URL.
bool OpenWithDesktop(const QUrl& url);

// While alive, OpenWithDesktop hands every URL to the given function.
class ScopedDesktopOpener
{
public:
    explicit ScopedDesktopOpener(std::function<bool(const QUrl&)> opener);
    ~ScopedDesktopOpener();
    ScopedDesktopOpener(const ScopedDesktopOpener&) = delete;
    ScopedDesktopOpener& operator=(const ScopedDesktopOpener&) = delete;

private:
    std::function<bool(const QUrl&)> m_previous;
};
