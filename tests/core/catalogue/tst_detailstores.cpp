#include "core/catalogue/carrierstore.h"
#include "core/catalogue/detailstores.h"
#include "core/db/recordaccess.h"
#include "support/appstatefixture.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QDate kToday(2026, 12, 10);

QByteArray imageBytes(const char* format) {
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}
} // namespace

class TestDetailStores : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    int m_carrier = 0;
    Database& db() { return m_state->db; }
    QDate changeDate() { return CarrierStore(db()).load(m_carrier)->info.changeDate; }

private slots:
    void init() {
        m_state.reset();
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->path());
        QVERIFY(m_state);
        CarrierData d = CarrierStore::newCarrier(Settings(), kToday);
        d.carrier.gruppeInterpretText1 = QStringLiteral("Gruppe");
        d.carrier.artDerSchallplatte = 1;
        m_carrier = CarrierStore(db()).saveNew(d, nullptr, false, kToday.addDays(-3));
    }

    void textLifecycle() {
        CarrierTextStore store(db());
        QVERIFY(!store.load(m_carrier));
        // An empty text for a carrier without one stores nothing, yet marks the change.
        store.save(m_carrier, QString(), kToday);
        QCOMPARE(records::count(db(), schema::table(u"MUSIKTXT")), 0);
        QCOMPARE(changeDate(), kToday);
        store.save(m_carrier, QStringLiteral("Zeile 1\nZeile 2"), kToday);
        const auto stored = records::find(db(), CarrierTextRecord{double(m_carrier), {}});
        QCOMPARE(stored->freierText, QStringLiteral("Zeile 1\r\nZeile 2"));
        QCOMPARE(*store.load(m_carrier), QStringLiteral("Zeile 1\nZeile 2"));
        store.save(m_carrier, QString(), kToday);
        QCOMPARE(records::count(db(), schema::table(u"MUSIKTXT")), 0);
    }

    void pictureNumbers() {
        PictureStore store(db());
        QCOMPARE(store.nextNumber(m_carrier), 1.0);
        for (double n : {1.0, 3.0})
            store.save(m_carrier, PictureRecord{0, n, imageBytes("PNG"), false}, kToday);
        QCOMPARE(store.nextNumber(m_carrier), 4.0);
        QCOMPARE(store.list(m_carrier).size(), size_t(2));
        store.remove(m_carrier, 3);
        QCOMPARE(store.nextNumber(m_carrier), 2.0);
    }

    void placeholderStoresNothing() {
        PictureStore store(db());
        store.save(m_carrier, PictureRecord{0, 1, QByteArray(), true}, kToday);
        QCOMPARE(records::count(db(), schema::table(u"MUSIKGRF")), 0);
    }

    void stretchChangeOfStoredPicture() {
        PictureStore store(db());
        const QByteArray png = imageBytes("PNG");
        store.save(m_carrier, PictureRecord{0, 1, png, false}, kToday);
        store.save(m_carrier, PictureRecord{0, 1, png, true}, kToday);
        QVERIFY(store.list(m_carrier)[0].stretch);
        QCOMPARE(store.load(m_carrier, 1)->grafik, png);
    }

    void readFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("keptAsIs");
        QTest::newRow("JPEG, upper-case name") << "COVER.JPG" << imageBytes("JPEG") << true;
        QTest::newRow("PNG") << "a.png" << imageBytes("PNG") << true;
        QTest::newRow("BMP") << "a.bmp" << imageBytes("BMP") << true;
        QTest::newRow("PPM becomes PNG") << "a.ppm" << imageBytes("PPM") << false;
    }
    void readFile() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, keptAsIs);
        QVERIFY(!bytes.isEmpty());
        const QString path = m_dir->filePath(name);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        QString error;
        const auto stored = PictureStore::readFile(path, &error);
        QVERIFY2(stored, qPrintable(error));
        if (keptAsIs) {
            QCOMPARE(*stored, bytes);
        } else {
            QVERIFY(stored->startsWith("\x89PNG"));
            QCOMPARE(QImage::fromData(*stored).size(), QSize(8, 6));
        }
    }

    void unreadableFile() {
        const QString path = m_dir->filePath("kaputt.jpg");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("kein Bild");
        f.close();
        QString error;
        QVERIFY(!PictureStore::readFile(path, &error));
        QCOMPARE(error, QStringLiteral("Die Datei kaputt.jpg enthält keine lesbare Grafik."));
        QVERIFY(!PictureStore::readFile(m_dir->filePath("fehlt.png"), &error));
        QCOMPARE(error, QStringLiteral("Die Datei fehlt.png kann nicht gelesen werden."));
    }
};

QTEST_GUILESS_MAIN(TestDetailStores)
#include "tst_detailstores.moc"
