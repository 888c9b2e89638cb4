#pragma once

#include <QByteArray>
#include <QString>

// The text files the program exchanges (settings, carrier and template files, server
// lists) are Windows-1252. Text that Windows-1252 cannot hold is written as UTF-8 with a
// byte order mark instead, so nothing typed is lost; readers accept both.
namespace windows1252 {

bool canEncode(QStringView text);

// Characters Windows-1252 lacks become '?'.
QByteArray encode(QStringView text);
QString decode(QByteArrayView bytes);

// Windows-1252 when it can hold the text, otherwise UTF-8 with a byte order mark.
QByteArray encodeTextFile(QStringView text);
// UTF-8 when the bytes start with its byte order mark, otherwise Windows-1252.
QString decodeTextFile(QByteArrayView bytes);

} // namespace windows1252
