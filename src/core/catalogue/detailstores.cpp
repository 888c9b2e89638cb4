#include "detailstores.h"

#include "carrierstore.h"
#include "core/db/recordaccess.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

std::optional<QString> CarrierTextStore::load(int carrier) {
    CarrierTextRecord key;
    key.folgenummerText = carrier;
    if (auto found = records::find(m_db, key))
        return fromStored(found->freierText);
    return std::nullopt;
}

void CarrierTextStore::save(int carrier, const QString& text, const QDate& today) {
    CarrierTextRecord record{double(carrier), toStored(text)};
    Transaction t(m_db);
    records::remove(m_db, record);
    if (!text.isEmpty())
        records::insert(m_db, record);
    CarrierStore::touch(m_db, carrier, today);
    t.commit();
}

QString CarrierTextStore::toStored(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

QString CarrierTextStore::fromStored(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::vector<PictureEntry> PictureStore::list(int carrier) {
    Statement s = m_db.prepare(u"SELECT \"Grafiknummer\", \"Stretch\" FROM \"MUSIKGRF\" "
                               u"WHERE \"Tonträgernummer\" = ?1 ORDER BY \"Grafiknummer\"");
    s.bind(1, carrier);
    std::vector<PictureEntry> entries;
    while (s.next())
        entries.push_back({s.toDouble(0), s.toInt64(1) != 0});
    return entries;
}

std::optional<PictureRecord> PictureStore::load(int carrier, double number) {
    PictureRecord key;
    key.tontraegernummer = carrier;
    key.grafiknummer = number;
    return records::find(m_db, key);
}

double PictureStore::nextNumber(int carrier) {
    return records::nextKey(m_db, records::tableOf<PictureRecord>(), u"Grafiknummer",
                            u"\"Tonträgernummer\" = ?1", {carrier});
}

void PictureStore::save(int carrier, const PictureRecord& picture, const QDate& today) {
    PictureRecord record = picture;
    record.tontraegernummer = carrier;
    // The empty placeholder of a carrier without pictures is never stored.
    if (record.grafik.isEmpty() && !load(carrier, record.grafiknummer))
        return;
    Transaction t(m_db);
    if (records::update(m_db, record, record) == 0)
        records::insert(m_db, record);
    CarrierStore::touch(m_db, carrier, today);
    t.commit();
}

void PictureStore::remove(int carrier, double number) {
    PictureRecord key;
    key.tontraegernummer = carrier;
    key.grafiknummer = number;
    records::remove(m_db, key);
    m_db.notifier().announce(Change::Carriers, carrier);
}

std::optional<QByteArray> PictureStore::readFile(const QString& path, QString* error) {
    auto fail = [&](const QString& text) -> std::optional<QByteArray> {
        if (error)
            *error = text;
        return std::nullopt;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Die Datei %1 kann nicht gelesen werden.")
                        .arg(QFileInfo(path).fileName()));
    const QByteArray bytes = file.readAll();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format().toLower();
    QImage image;
    if (format.isEmpty() || !reader.read(&image) || image.isNull())
        return fail(QStringLiteral("Die Datei %1 enthält keine lesbare Grafik.")
                        .arg(QFileInfo(path).fileName()));
    static const QList<QByteArray> kKept = {"jpeg", "jpg", "png", "bmp", "gif"};
    if (kKept.contains(format))
        return bytes;
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    image.save(&out, "PNG");
    return png;
}
