#pragma once

class QDialog;
class QMainWindow;
class QTableView;
class QToolBar;
class QWidget;

// How Moriva's windows sit and look: the tinted window style, small dialogs, and windows placed
// over the main one.
namespace WindowLooks {

// The tinted style: a soft gradient behind the toolbar, its disabled labels still readable on
// it, and a table without a frame, so that its corners meet the window square.
void applyTintedStyle(QToolBar *toolBar, QTableView *table);
// A small dialog: no maximise or minimise button, and wide enough for its whole title as the
// window manager shows it ("Choose a Bank — Moriva"), whenever the title changes. It keeps the
// size its contents ask for.
void keepSmall(QDialog *dialog);
// The width a title bar needs for the title and its buttons.
int titleBarWidth(const QWidget *window);
// Puts the window's centre on the centre of `over` (kept on the screen).
void centreOn(QWidget *window, const QWidget *over);
// The main window's place and size and the ledger table's columns as the user left them at the
// last quit; the first time, columns of widths that suit their contents.
void restoreLayout(QMainWindow *window, QTableView *table);
void saveLayout(const QMainWindow *window, const QTableView *table);

} // namespace WindowLooks
