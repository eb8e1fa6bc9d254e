// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The options `moriva` answers without opening a window: --version and --help (-h). They are
// looked at before any display is opened, so that they work in a terminal without one.
namespace StartOptions {

// Whether the arguments (the program's name left out) ask for one of them.
bool asksForAnswer(const QStringList &arguments);
// What to print for them; nothing when the window should open.
std::optional<QString> answer(const QStringList &arguments);

} // namespace StartOptions
