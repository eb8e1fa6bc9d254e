#pragma once

#include "views/StatusTexts.h"

#include <QObject>
#include <QString>

class Controller;
class QLabel;
class QStatusBar;
class QTimer;
class QToolButton;

// The main window's status bar: a passing message (what the last import did, with its rejected
// lines on offer), whether the balances are continuous, the shown list's count and sums, and the
// open bank's name. Each is a field of its own, so that they never run together.
class LedgerStatusBar : public QObject
{
    Q_OBJECT

public:
    // How long an import's or a notice's message stays.
    static constexpr int kMessageMs = 10000;

    LedgerStatusBar(QStatusBar *bar, Controller *controller);

    QLabel *bankNameField() const { return m_bankName; }
    // Whether the balances are continuous, or how many gaps they have; a click on gaps asks
    // for their list.
    QToolButton *balancesButton() const { return m_balances; }
    QLabel *messageField() const { return m_message; }
    // Shows the open bank and the shown list's totals, or the figures given (the Summary's).
    void refresh(const QString &figures = QString());
    // Shows the message, with details as its tooltip; it goes after timeoutMs (0: it stays
    // until the next message or a switch of banks).
    void showMessage(const QString &text, int timeoutMs = kMessageMs, const QString &details = {});
    void clearMessage();
    void showImport(const QList<StatusTexts::FileImport> &imports);

    // Whether the last import left lines out, and their sheet: each line's text beside its
    // reason. The button that offers them can be dismissed.
    bool hasRejectedLines() const;
    void showRejectedLines();
    void dismissRejectedLines();

signals:
    void gapsRequested();
    // Rejected lines came to be on offer, or went.
    void rejectedLinesChanged();

private:
    void offerRejectedLines(const QList<StatusTexts::FileImport> &imports);

    QStatusBar *m_bar;
    Controller *m_controller;
    QLabel *m_message;
    QTimer *m_messageTimer;
    QLabel *m_bankName;
    QLabel *m_totals;
    QToolButton *m_rejectedLines;
    QToolButton *m_dismissRejected;
    QString m_rejectedFiles; // the files whose lines were rejected, and those lines
    QList<StatusTexts::RejectedRow> m_rejectedRows;
    QToolButton *m_balances;
};
