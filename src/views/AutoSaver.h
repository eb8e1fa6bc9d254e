#pragma once

#include "ledger/Ledger.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

// Saves a ledger a short while after it changed, so that a crash, a power cut or a killed
// session loses at most the last moments. The save of a large ledger is written on a thread of
// its own from a snapshot, so the window does not freeze while it is written; a save at quit or
// at a bank switch first waits for it.
class AutoSaver : public QObject
{
    Q_OBJECT

public:
    explicit AutoSaver(Ledger &ledger, QObject *parent = nullptr);
    ~AutoSaver() override;

    static constexpr int kDelayMs = 1500;

    // The ledger changed: a save follows within kDelayMs (and the time the save takes).
    void scheduleSave();
    // Waits for a save that is being written; afterwards none is.
    void waitForSave();
    bool isSaving() const { return bool(m_pending); }

signals:
    // A save in the background failed; the changes stay in memory and are tried again at the
    // next change or save.
    void saveFailed(const QString &error);

private:
    struct Pending;
    void startSave();
    void finishSave(quint64 id);

    Ledger &m_ledger;
    QTimer m_timer;
    std::unique_ptr<Pending> m_pending;
    quint64 m_nextId = 0;
};
