#pragma once
// Saves windows as pictures for the README, after letting them lay out and
// paint; the file name gets a suffix ("@2x" for the run at 200%).

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QWidget>

#include <cstdio>

class ScreenshotSaver
{
public:
    ScreenshotSaver(QString directory, QString suffix) : m_directory(std::move(directory)), m_suffix(std::move(suffix))
    {
        QDir().mkpath(m_directory);
    }

    static void Settle(int msecs = 80)
    {
        QElapsedTimer timer;
        timer.start();
        do
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        while (timer.elapsed() < msecs);
    }

    void Save(QWidget& window, const QString& name)
    {
        window.show();
        Settle();
        const QString path = m_directory + u'/' + name + m_suffix + QStringLiteral(".png");
        if (!window.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            m_failed = true;
        }
    }

    const QString& Suffix() const { return m_suffix; }
    bool Failed() const { return m_failed; }

private:
    QString m_directory;
    QString m_suffix;
    bool m_failed = false;
};
