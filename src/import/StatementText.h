#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

// Turns the bytes of a statement file into text. A byte-order mark (UTF-8, UTF-16, UTF-32)
// decides; otherwise valid UTF-8 is read as UTF-8 and anything else as CP932 (windows-31j), the
// Shift_JIS in which the banks deliver their files. Invalid bytes become replacement characters.
QString decodeStatementText(const QByteArray &bytes);

// The lines of the text without their terminators (LF, CR, CR LF, NEL, LS, PS).
QList<QStringView> splitStatementLines(QStringView text);
