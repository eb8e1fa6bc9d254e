#pragma once

#include <QByteArray>
#include <QString>

// What moriva-cli writes: results on stdout, one line per problem on stderr, all in UTF-8.
namespace CliOutput {

// False when stdout did not take the bytes (a full disk, a closed pipe); the reason is then
// printed on stderr, and the command must end with a failure.
bool writeOut(const QByteArray &bytes);
bool printLine(const QString &line);
// "moriva-cli: " and the message, on one line of stderr.
void printError(const QString &message);

} // namespace CliOutput
