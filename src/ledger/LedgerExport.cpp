#include "LedgerExport.h"

#include <QCoreApplication>
#include <QSaveFile>

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

QString exportText(const QList<BalanceInfoItemPtr> &items)
{
    QString out;
    out.reserve(items.size() * 64);
    for (const BalanceInfoItemPtr &ptr : items) {
        const BalanceInfoItem &e = *ptr;
        appendField(out, e.operationDate());
        out.append(u',');
        appendField(out, e.operationTime());
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
        out.append(u'\r');
    }
    return out;
}

bool saveBalanceInfo(const QString &path, const QList<BalanceInfoItemPtr> &items, QString *error)
{
    QSaveFile file(path);
    const QByteArray data = exportText(items).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        if (error)
            *error = QCoreApplication::translate("LedgerExport", "Cannot write %1: %2")
                         .arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace LedgerExport
