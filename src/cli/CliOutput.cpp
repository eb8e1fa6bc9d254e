#include "CliOutput.h"

#include <cstdio>

namespace CliOutput {
namespace {

void writeTo(FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// A message is one line, whatever the reason text it carries.
QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\n', u' ');
    text.replace(u'\r', u' ');
    return text;
}

} // namespace

void writeOut(const QByteArray &bytes)
{
    writeTo(stdout, bytes);
}

void printLine(const QString &line)
{
    writeTo(stdout, (oneLine(line) + u'\n').toUtf8());
}

void printError(const QString &message)
{
    writeTo(stderr, (QStringLiteral("moriva-cli: ") + oneLine(message) + u'\n').toUtf8());
}

} // namespace CliOutput
