// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartOptions.h"

#include <QCoreApplication>

namespace StartOptions {
namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("StartOptions", text);
}

// Options end at "--": a statement file may be called "--help".
QStringList options(const QStringList &arguments)
{
    const qsizetype end = arguments.indexOf(QStringLiteral("--"));
    return end < 0 ? arguments : arguments.first(end);
}

} // namespace

bool asksForAnswer(const QStringList &arguments)
{
    const QStringList given = options(arguments);
    return given.contains(QStringLiteral("--version")) || given.contains(QStringLiteral("--help"))
           || given.contains(QStringLiteral("-h"));
}

std::optional<QString> answer(const QStringList &arguments)
{
    const QStringList given = options(arguments);
    if (given.contains(QStringLiteral("--help")) || given.contains(QStringLiteral("-h"))) {
        return tr("Usage: moriva [FILE...]\n"
                  "A desktop bankbook for JNB and eBANK accounts.\n"
                  "\n"
                  "Each FILE, a statement CSV file, is imported once the window is up; a window\n"
                  "already open on the same data folder takes them instead.\n"
                  "\n"
                  "  -h, --help     show this help and exit\n"
                  "      --version  show the version and exit\n"
                  "\n"
                  "moriva-cli does the same from a terminal: see man moriva-cli.\n");
    }
    if (given.contains(QStringLiteral("--version")))
        return QStringLiteral("moriva %1\n").arg(QStringLiteral(MORIVA_VERSION));
    return std::nullopt;
}

} // namespace StartOptions
