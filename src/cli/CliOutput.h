#pragma once

#include <QByteArray>
#include <QString>

// What moriva-cli writes: results on stdout, one line per problem on stderr, all in UTF-8.
namespace CliOutput {

void writeOut(const QByteArray &bytes);
void printLine(const QString &line);
// "moriva-cli: " and the message, on one line of stderr.
void printError(const QString &message);

} // namespace CliOutput
