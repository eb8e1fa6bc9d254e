#pragma once

#include <functional>

#include "ledger/LedgerEntry.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

// The ways `moriva-cli list` can print a list of entries.
enum class ListFormat { Csv, Json, Table };

// "csv", "json" or "table"; nothing for any other name.
std::optional<ListFormat> listFormatFromName(const QString &name);

// Every field of the entry record under its snake-case name.
QJsonObject entryToJson(const LedgerEntry &entry);

// Where a list's entries come from: calls the visitor with each entry in order (stopping when it
// answers false) and answers false when the entries could not be read. A table calls it twice.
using EntrySource = std::function<bool(const std::function<bool(const LedgerEntry &)> &)>;
// The list as bytes for stdout. CSV is exactly what exporting the list writes; JSON is an
// array of entryToJson objects; the table lines the columns up for reading in a terminal and
// is empty for an empty list. Hands it to `write` a piece at a time, so that no format holds
// the list; false when the entries could not be read or a write failed.
bool writeList(const EntrySource &entries, ListFormat format,
               const std::function<bool(const QByteArray &)> &write);
