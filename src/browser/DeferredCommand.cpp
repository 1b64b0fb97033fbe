#include "browser/DeferredCommand.h"

#include "browser/FlagGuard.h"

#include <QRegularExpression>

DeferredName ParseDeferredName(const QString& tag)
{
    static const QRegularExpression element(QStringLiteral("^(\\w+)\\((\\d+)\\)$"));
    const auto match = element.match(tag.trimmed());
    if (match.hasMatch())
        return {match.captured(1), match.captured(2).toInt()};
    return {tag.trimmed(), -1};
}

DeferredCommand::DeferredCommand(QObject* parent) : QObject(parent)
{
    m_timer.setObjectName(QStringLiteral("tmFunc"));
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this, &DeferredCommand::Tick);
}

void DeferredCommand::Register(const QString& name, std::function<void(int)> handler)
{
    m_handlers.insert(name, std::move(handler));
}

void DeferredCommand::Post(const QString& command)
{
    m_tag = command;
    m_timer.start();
}

void DeferredCommand::Tick()
{
    if (m_busy)
        return;
    FlagGuard busy(m_busy);

    const QString tag = std::exchange(m_tag, QString());
    m_timer.stop();
    const DeferredName command = ParseDeferredName(tag);
    const auto handler = m_handlers.constFind(command.name);
    if (handler != m_handlers.constEnd())
        (*handler)(command.index);
}
