#pragma once

#include "views/VersionCheck.h"

#include <QDialog>

class QLabel;
class QPushButton;
class UpdateChecker;

// The update sheet: runs a fresh check each time it opens and shows its outcome as plain text,
// with buttons that open Moriva's page and the maker's home page in the browser.
class UpdateSheet : public QDialog
{
    Q_OBJECT

public:
    UpdateSheet(UpdateChecker *checker, QWidget *parent);
    // Opens the sheet and checks again.
    void showAboutUpdateWindow();
    // Opens the sheet with an outcome already known (the check at start-up).
    void showOutcome(const VersionCheck::Outcome &outcome);
    QLabel *messageField() const { return m_message; }

private:
    UpdateChecker *m_checker;
    QLabel *m_message;
};
