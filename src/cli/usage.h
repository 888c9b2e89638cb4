#pragma once

#include <QString>
#include <QStringList>

// The tool's synopsis: one table that the full usage text and each command's own usage
// text are taken from, so the two cannot drift apart.
namespace usagetext {

// The command names of the table, each once, in the order of the full text.
QStringList commands();
// The synopsis lines of the named commands (each "  diskarium-tool NAME ..."), without
// their descriptions.
QString synopsis(const QStringList& names);
// "Aufruf:" with every command's synopsis and description, as the tool prints it when it
// is called without a command it knows.
QString fullText();
// Writes "Aufruf:", the synopsis of the named commands and note to standard error;
// returns the usage exit status 2.
int show(const QStringList& names, const QString& note = {});

} // namespace usagetext
