#pragma once

#include "core/db/records.h"

#include <QString>
#include <optional>

// The template exchange file "*.DKMT": name, margin and the lines of the three parts in a
// settings-style Windows-1252 file. The type is not stored; a file fits any editor.
namespace templatefile {

// Writes the file atomically; false and a German reason in *error on failure.
bool write(const QString& path, const PrintTemplateRecord& record, QString* error);

// Name, margin and parts from the file, or nullopt with a German message in *error naming
// the file and the reason (nothing is taken over then).
std::optional<PrintTemplateRecord> read(const QString& path, QString* error);

// A file name typed without extension gets ".DKMT".
QString withExtension(const QString& path);

} // namespace templatefile
