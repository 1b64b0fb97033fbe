#include "browser/LongOperation.h"

#include "app/frmMessage.h"
#include "component/DatabaseEngine.h"

#include <QWidget>

namespace {
int g_delayMs = 100;
} // namespace

int LongOperation::Delay() { return g_delayMs; }

LongOperation::ScopedDelay::ScopedDelay(int milliseconds) : m_previous(g_delayMs) { g_delayMs = milliseconds; }
LongOperation::ScopedDelay::~ScopedDelay() { g_delayMs = m_previous; }

LongOperation::LongOperation(DatabaseEngine& engine, QWidget* owner, QString text, QWidget* frozen)
    : m_owner(owner), m_frozen(frozen), m_text(std::move(text))
{
    m_clock.start();
    m_watch = std::make_unique<ScopedStatementWatch>(engine, [this] { return KeepGoing(); });
}

LongOperation::~LongOperation()
{
    m_watch.reset();
    if (m_shown) {
        MessageWindow().Unload();
        if (m_frozen) {
            m_frozen->setUpdatesEnabled(m_frozenUpdates);
            m_frozen->update();
        }
    }
}

bool LongOperation::KeepGoing()
{
    if (!m_shown) {
        if (m_clock.elapsed() < g_delayMs)
            return true;
        m_shown = true;
        if (m_frozen) {
            m_frozenUpdates = m_frozen->updatesEnabled();
            m_frozen->setUpdatesEnabled(false);
        }
        MessageWindow().ShowMsg(m_text, m_owner);
    }
    // Shows the stop button, lets its click (and the painting) through.
    return MessageWindow().Progress(0, true);
}
