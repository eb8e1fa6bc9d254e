#include "CliOutput.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace CliOutput {
namespace {

// The whole of the bytes, flushed; false with errno set when the stream refused them.
bool writeTo(FILE *stream, const QByteArray &bytes)
{
    errno = 0;
    const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    return std::fflush(stream) == 0 && written == size_t(bytes.size()) && !std::ferror(stream);
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

bool writeOut(const QByteArray &bytes)
{
    if (writeTo(stdout, bytes))
        return true;
    const int why = errno;
    printError(QCoreApplication::translate("moriva-cli", "Cannot write the output: %1")
                   .arg(QString::fromLocal8Bit(std::strerror(why != 0 ? why : EIO))));
    return false;
}

bool printLine(const QString &line)
{
    return writeOut((oneLine(line) + u'\n').toUtf8());
}

void printError(const QString &message)
{
    writeTo(stderr, (QStringLiteral("moriva-cli: ") + oneLine(message) + u'\n').toUtf8());
}

} // namespace CliOutput
