#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, Ctrl+C in a terminal) into a Qt
// signal on the main thread, so that Moriva quits as from its Quit command and saves the
// ledger instead of dying with unsaved changes.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    static void handle(int signal);
    QSocketNotifier *m_notifier = nullptr;
};
