#include "AutoSaver.h"

#include <QPointer>

#include <thread>

struct AutoSaver::Pending {
    quint64 id = 0;
    Ledger::Snapshot snapshot;
    bool saved = false;
    QString error;
    std::thread thread;
};

AutoSaver::AutoSaver(Ledger &ledger, QObject *parent)
    : QObject(parent)
    , m_ledger(ledger)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &AutoSaver::startSave);
}

AutoSaver::~AutoSaver()
{
    waitForSave();
}

void AutoSaver::scheduleSave()
{
    // Not restarted by every change: a steady stream of changes is still saved every while.
    if (!m_timer.isActive())
        m_timer.start();
}

void AutoSaver::startSave()
{
    if (m_pending) {
        m_timer.start(); // one save at a time; this one follows
        return;
    }
    if (!m_ledger.isModified())
        return;
    m_pending = std::make_unique<Pending>();
    Pending *pending = m_pending.get();
    pending->id = ++m_nextId;
    pending->snapshot = m_ledger.snapshot();
    const quint64 id = pending->id;
    QPointer<AutoSaver> self(this);
    pending->thread = std::thread([pending, id, self] {
        pending->saved = Ledger::write(pending->snapshot, &pending->error);
        // Told on the saver's own thread; a save that was waited for meanwhile is gone by then.
        QMetaObject::invokeMethod(self.get(), [self, id] {
            if (self)
                self->finishSave(id);
        }, Qt::QueuedConnection);
    });
}

void AutoSaver::finishSave(quint64 id)
{
    if (!m_pending || m_pending->id != id)
        return;
    m_pending->thread.join();
    const std::unique_ptr<Pending> done = std::move(m_pending);
    if (done->saved) {
        m_ledger.markSaved(done->snapshot);
        if (m_ledger.isModified())
            scheduleSave(); // changes made while it was written
    } else {
        emit saveFailed(done->error);
    }
}

void AutoSaver::waitForSave()
{
    m_timer.stop();
    if (m_pending)
        finishSave(m_pending->id);
}
