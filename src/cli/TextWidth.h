#pragma once

#include <QString>
#include <QStringView>

// How many terminal columns a text takes: East Asian wide and fullwidth characters (kanji,
// kana, fullwidth forms, ...) take two, combining marks and zero-width characters none, every
// other character one. Close enough for lining up the columns of a ledger in a terminal.
int displayWidth(QStringView text);

// The text followed (padLeft false) or preceded (padLeft true) by spaces up to the width.
QString padToWidth(const QString &text, int width, bool padLeft);
