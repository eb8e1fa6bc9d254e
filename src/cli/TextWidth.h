#pragma once

#include <QString>
#include <QStringView>

// How many terminal columns a text takes: East Asian wide and fullwidth characters (kanji,
// kana, fullwidth forms, ...) take two, combining marks and zero-width characters none, every
// other character one. Close enough for lining up the columns of a ledger in a terminal.
int displayWidth(QStringView text);


// The rows as a table for the terminal: columns two spaces apart, each as wide as its widest
// cell; a column whose rightAligned flag is set lines up on the right. No trailing spaces.
QString alignedTable(const QList<QStringList> &rows, const QList<bool> &rightAligned);
