#include "entrywindowfixture.h"
#include "gui/catalogue/discogsimportdialog.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {

const QByteArray kHeader = "Catalog#,Artist,Title,Label,Format,Rating,Released,release_id,"
                           "CollectionFolder,Date Added,Collection Media Condition,"
                           "Collection Sleeve Condition,Collection Notes\r\n";
const QByteArray kArrival =
    "POLS 272,ABBA,Arrival,Polar,\"LP, Album\",5,1976,123,Uncategorized,2017-06-19 03:33:36,"
    "Near Mint (NM or M-),,\r\n";
const QByteArray kNena = "none,Nena (2),99 Luftballons,CBS,\"7\"\", Single\",,1983,456,"
                         "Uncategorized,2017-06-19 03:33:36,,,\r\n";
const QByteArray kBadRating =
    "X 1,Band,Platte,Label,\"LP\",gut,1980,789,Uncategorized,2017-06-19 03:33:36,,,\r\n";

} // namespace

// The preview of "Discogs-Sammlung importieren": what each row becomes, and the store.
class TestDiscogsImportDialog : public QObject {
    Q_OBJECT
    std::unique_ptr<EntryWindowFixture> f;

    QString writeFile(const QByteArray& content) {
        const QString path = f->dir->filePath(QStringLiteral("sammlung.csv"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return {};
        return path;
    }
    static QStringList column(const QTableWidget* table, int c) {
        QStringList cells;
        for (int row = 0; row < table->rowCount(); ++row)
            cells.append(table->item(row, c)->text());
        return cells;
    }

private slots:
    void init() { f = std::make_unique<EntryWindowFixture>(); }
    void cleanup() { f.reset(); }

    // "Übernehmen" only for a file without faulty rows that brings something new.
    void preview_data() {
        QTest::addColumn<QByteArray>("rows");
        QTest::addColumn<bool>("owned"); // "ABBA / Arrival" is in the collection
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<bool>("storable");
        QTest::newRow("new rows") << kArrival + kNena << false << QStringList{"neu", "neu"} << true;
        QTest::newRow("a faulty row") << kArrival + kBadRating + kNena << false
                                      << QStringList{"neu", "Fehler", "neu"} << false;
        QTest::newRow("nothing new") << kArrival << true << QStringList{"vorhanden"} << false;
    }
    void preview() {
        QFETCH(QByteArray, rows);
        QFETCH(bool, owned);
        QFETCH(QStringList, results);
        QFETCH(bool, storable);
        if (owned) {
            f->storeCarrier(QStringLiteral("ABBA"));
            f->state->db.exec(u"UPDATE \"MUSIKKOP\" SET \"Text 2\" = 'Arrival'");
        }
        const qint64 before = f->count("MUSIKKOP");
        TDiscogsImportDialog d(*f->state, f->messages, writeFile(kHeader + rows));
        QCOMPARE(d.preview(), storable);
        QCOMPARE(column(d.rowTable(), TDiscogsImportDialog::ResultColumn), results);
        QCOMPARE(d.takeButton()->isEnabled(), storable);
        QVERIFY(f->messages.messages().isEmpty());
        if (results.contains("Fehler"))
            QVERIFY(d.summaryLabel()->text().contains(QStringLiteral("Zeile 3")));
        if (!storable) {
            QVERIFY(!d.store());
            QCOMPARE(f->count("MUSIKKOP"), before);
        }
    }

    // Under global numbering the new carriers use up numbers, as first saves do.
    void takeStoresTheNewRows() {
        f->state->settings.globalNumbering = true;
        f->state->settings.globalNumber = 10;
        TDiscogsImportDialog d(*f->state, f->messages, writeFile(kHeader + kArrival + kNena));
        QVERIFY(d.preview());
        QCOMPARE(column(d.rowTable(), TDiscogsImportDialog::GroupColumn),
                 QStringList({"ABBA", "Nena"}));
        QVERIFY(d.store());
        QCOMPARE(f->count("MUSIKKOP"), 2);
        QCOMPARE(d.storedCount(), 2);
        QCOMPARE(f->state->settings.globalNumber, 12);
        QVERIFY(f->carrierNotices > 0); // the carrier lists follow
        QCOMPARE(column(d.rowTable(), TDiscogsImportDialog::ResultColumn),
                 QStringList({"übernommen", "übernommen"}));
        QCOMPARE(f->texts(),
                 QStringList{"2 Tonträger wurden aus der Discogs-Sammlung übernommen."});
        QVERIFY(!d.takeButton()->isEnabled()); // a second store would copy them again
    }

    void cancelStoresNothing() {
        TDiscogsImportDialog d(*f->state, f->messages, writeFile(kHeader + kArrival));
        d.show();
        QTRY_VERIFY(d.takeButton()->isEnabled()); // the preview runs once shown
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(f->count("MUSIKKOP"), 0);
    }

    void notACollection() {
        TDiscogsImportDialog d(*f->state, f->messages,
                               writeFile("Artist,Title,Format\r\nABBA,Arrival,LP\r\n"));
        QVERIFY(!d.preview());
        QCOMPARE(f->texts(), QStringList{"Die Datei ist keine Discogs-Sammlung: Spalte "
                                         "„release_id“ fehlt."});
        QCOMPARE(d.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestDiscogsImportDialog)
#include "tst_discogsimportdialog.moc"
