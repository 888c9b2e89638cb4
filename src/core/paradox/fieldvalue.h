#pragma once

#include "paradoxtable.h"

#include <QVariant>
#include <optional>

namespace paradox {

class BlobFile;

// The value of one field of a record: QString for alpha and memo fields (in the table's
// code page), QDate, QTime, QDateTime, double for number, money and BCD, qint64 for short,
// long and autoincrement, bool, and QByteArray for graphic, binary and byte fields (a
// graphic without its 8-byte header). An empty field is a null QVariant. Nothing with a
// German reason when the field refers outside the memo file.
std::optional<QVariant> fieldValue(const FieldInfo& field, const char* record,
                                   const CodePage& codePage, BlobFile& blobs, QString* error);

} // namespace paradox
