#pragma once

#include "core/db/database.h"
#include "core/db/records.h"

#include <QDate>
#include <optional>
#include <vector>

// The free text of a carrier. The editor works with line feeds; the table keeps CR LF.
class CarrierTextStore {
public:
    explicit CarrierTextStore(Database& db) : m_db(db) {}

    // The stored text with plain line feeds, or nothing when the carrier has none.
    std::optional<QString> load(int carrier);
    // Stores the text (an empty text deletes the record) and sets "ChangeDate", in one
    // transaction. Throws DbError.
    void save(int carrier, const QString& text, const QDate& today);

    static QString toStored(QString text);
    static QString fromStored(QString text);

private:
    Database& m_db;
};

// A picture of a carrier without its image data, for navigation.
struct PictureEntry {
    double number = 0;
    bool stretch = false;
};

// The pictures of a carrier. Lists carry no image data, so memory stays flat however many
// pictures a carrier has; one picture is read when it is shown.
class PictureStore {
public:
    explicit PictureStore(Database& db) : m_db(db) {}

    std::vector<PictureEntry> list(int carrier);
    std::optional<PictureRecord> load(int carrier, double number);
    // The number a further picture gets: 1, then the highest + 1.
    double nextNumber(int carrier);
    // Stores the picture with "ChangeDate" in one transaction. Throws DbError.
    void save(int carrier, const PictureRecord& picture, const QDate& today);
    void remove(int carrier, double number);

    // The bytes to store for a picture file: JPEG, PNG, BMP and GIF as they are, anything
    // else the image reader knows converted to PNG. Nothing, with a German message, for a
    // file that cannot be read as a picture.
    static std::optional<QByteArray> readFile(const QString& path, QString* error);

private:
    Database& m_db;
};
