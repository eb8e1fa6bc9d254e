#include "LedgerExport.h"

#include <QCoreApplication>
#include "AtomicFile.h"

#include <QIODevice>
#include <QStringDecoder>
#include <QStringEncoder>

namespace LedgerExport {
namespace {

void appendField(QString &out, const QString &text)
{
    const bool needsQuotes = text.contains(u',') || text.contains(u'"') || text.contains(u'\r')
                             || text.contains(u'\n');
    if (!needsQuotes) {
        out.append(text);
        return;
    }
    out.append(u'"');
    for (QChar c : text) {
        if (c == u'"')
            out.append(u'"');
        out.append(c);
    }
    out.append(u'"');
}

} // namespace

void appendCsvLine(QString &out, const LedgerEntry &e, QChar lineEnd)
{
    {
        appendField(out, e.date());
        out.append(u',');
        appendField(out, e.time());
        out.append(u',');
        appendField(out, e.summary());
        out.append(u',');
        out.append(QString::number(e.payment()));
        out.append(u',');
        out.append(QString::number(e.deposit()));
        out.append(u',');
        out.append(QString::number(e.balance()));
        out.append(u',');
        appendField(out, e.details());
        out.append(lineEnd);
    }
}

QString csvText(const QList<LedgerEntry> &items, QChar lineEnd)
{
    QString out;
    out.reserve(items.size() * 64);
    for (const LedgerEntry &e : items)
        appendCsvLine(out, e, lineEnd);
    return out;
}

Encoding encodingFromInt(int value)
{
    switch (value) {
    case 1: return Encoding::Utf8Bom;
    case 2: return Encoding::ShiftJis;
    default: return Encoding::Utf8;
    }
}

bool encode(const QString &text, Encoding encoding, QByteArray *bytes, QString *error)
{
    if (encoding != Encoding::ShiftJis) {
        *bytes = (encoding == Encoding::Utf8Bom ? QByteArray("\xEF\xBB\xBF") : QByteArray())
                 + text.toUtf8();
        return true;
    }
    QStringEncoder encoder("windows-31j");
    if (!encoder.isValid())
        encoder = QStringEncoder("Shift_JIS");
    if (!encoder.isValid()) {
        if (error)
            *error = QCoreApplication::translate("LedgerExport",
                                                 "Shift_JIS is not available on this system.");
        return false;
    }
    const QByteArray encoded = encoder.encode(text);
    // A converter may put a substitute in place of a character it cannot hold without saying
    // so: read the bytes back to find out.
    QStringDecoder decoder(encoder.name());
    const QString back = decoder.decode(encoded);
    if (encoder.hasError() || back != text) {
        qsizetype at = 0;
        while (at < text.size() && at < back.size() && text.at(at) == back.at(at))
            ++at;
        const char32_t bad = at < text.size() ? QStringView(text).mid(at).toUcs4().value(0) : 0;
        if (error)
            *error = QCoreApplication::translate("LedgerExport",
                                                 "The list holds a character that Shift_JIS "
                                                 "cannot hold (%1, U+%2). Choose UTF-8 to save it.")
                         .arg(QString::fromUcs4(&bad, 1))
                         .arg(uint(bad), 4, 16, QLatin1Char('0'));
        return false;
    }
    *bytes = encoded;
    return true;
}

bool save(const QString &path, const QList<LedgerEntry> &items, QString *error,
                     Encoding encoding)
{
    QByteArray data;
    if (!encode(csvText(items), encoding, &data, error))
        return false;
    return AtomicFile::write(
        path, [&data](QIODevice *file) { return file->write(data) == data.size(); }, error);
}

QString spreadsheetText(const QList<LedgerEntry> &items)
{
    // The ledger table's own headings.
    const char *const headings[] = {
        QT_TRANSLATE_NOOP("LedgerExport", "Date"),    QT_TRANSLATE_NOOP("LedgerExport", "Time"),
        QT_TRANSLATE_NOOP("LedgerExport", "Summary"), QT_TRANSLATE_NOOP("LedgerExport", "Payment"),
        QT_TRANSLATE_NOOP("LedgerExport", "Deposit"), QT_TRANSLATE_NOOP("LedgerExport", "Balance"),
        QT_TRANSLATE_NOOP("LedgerExport", "Details")};
    QString out;
    for (const char *heading : headings) {
        if (!out.isEmpty())
            out.append(u',');
        appendField(out, QCoreApplication::translate("LedgerExport", heading));
    }
    out.append(u"\r\n");
    // Each entry's line as csvText() writes it, ended by CR LF instead of CR.
    for (const LedgerEntry &item : items) {
        appendCsvLine(out, item, u'\r');
        out.append(u'\n');
    }
    return out;
}

bool saveSpreadsheet(const QString &path, const QList<LedgerEntry> &items, QString *error)
{
    QByteArray data;
    if (!encode(spreadsheetText(items), Encoding::Utf8Bom, &data, error))
        return false;
    return AtomicFile::write(
        path, [&data](QIODevice *file) { return file->write(data) == data.size(); }, error);
}

} // namespace LedgerExport
