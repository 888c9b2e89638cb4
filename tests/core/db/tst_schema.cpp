#include "core/db/dataset.h"
#include "core/db/schema.h"

#include <QTemporaryDir>
#include <QTest>

// Compares the tables of a newly created data set, read from SQLite's own catalogue, with
// the documented layout: fields in order with their types, primary key, named indexes.
class TestSchema : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Database m_db;

    QString describeColumns(const QString& table) {
        Statement s = m_db.prepare(u"SELECT name, type FROM pragma_table_info(?1) ORDER BY cid");
        s.bind(1, table);
        QStringList parts;
        while (s.next())
            parts.append(s.toString(0) + QLatin1Char(':') + s.toString(1));
        return parts.join(QLatin1Char('|'));
    }
    QString describeKey(const QString& table) {
        Statement s =
            m_db.prepare(u"SELECT name FROM pragma_table_info(?1) WHERE pk > 0 ORDER BY pk");
        s.bind(1, table);
        QStringList parts;
        while (s.next())
            parts.append(s.toString(0));
        return parts.join(QLatin1Char('|'));
    }
    QString describeIndexes(const QString& table) {
        Statement list = m_db.prepare(
            u"SELECT name FROM pragma_index_list(?1) WHERE origin = 'c' ORDER BY name");
        list.bind(1, table);
        QStringList parts;
        while (list.next()) {
            const QString name = list.toString(0);
            Statement cols = m_db.prepare(
                u"SELECT name, coll FROM pragma_index_xinfo(?1) WHERE key = 1 ORDER BY seqno");
            cols.bind(1, name);
            QStringList columns;
            while (cols.next()) {
                const QString collation = cols.toString(1);
                columns.append(cols.toString(0) +
                               (collation == QLatin1String("GERMAN")   ? QStringLiteral("~")
                                : collation == QLatin1String("BINARY") ? QString()
                                                                       : " " + collation));
            }
            parts.append(name + QLatin1Char('=') + columns.join(QLatin1Char(',')));
        }
        return parts.join(QLatin1Char('|'));
    }

private slots:
    void initTestCase() {
        dataset::create(m_dir.path());
        m_db.open(dataset::databasePath(m_dir.path()));
    }

    void tables_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QString>("key");
        // "~" marks a case-insensitive text column, another collation follows the name
        QTest::addColumn<QString>("indexes");
        const QString lookup = "Index-Nummer:DOUBLE|Kurzbezeichnung:VARCHAR(10)|Langbezeichnung:"
                               "VARCHAR(50)|Nummerierung:DOUBLE";
        QTest::newRow("MUSIKKOP")
            << "MUSIKKOP"
            << "Gruppe/Interpret/Text 1:VARCHAR(50)|Text 2:VARCHAR(50)|Art der Schallplatte:DOUBLE|"
               "Nummerierung:DOUBLE|Folgenummer "
               "Kopf:DOUBLE|Erscheinungsjahr:VARCHAR(4)|Musikrichtung:DOUBLE|"
               "Anzahl der Lieder:DOUBLE|Laufzeit der "
               "Schallplatte:DOUBLE|Status:DOUBLE|Kaufpreis:MONEY REAL|"
               "Kaufdatum:DATE|Bewertung:DOUBLE"
            << "Gruppe/Interpret/Text 1|Text 2|Art der Schallplatte|Nummerierung"
            << "MUSIKKOP.Folgenummer Kopf=Folgenummer Kopf|"
               "MUSIKKOP.Gruppe und Titel=Gruppe/Interpret/Text 1 GERMANPRIMARY,Text 2 "
               "GERMANPRIMARY|"
               "MUSIKKOP.Liste Art=Art der Schallplatte,Folgenummer Kopf|"
               "MUSIKKOP.Liste Bewertung=Bewertung,Folgenummer Kopf|"
               "MUSIKKOP.Liste Gruppe=Gruppe/Interpret/Text 1~,Folgenummer Kopf|"
               "MUSIKKOP.Liste Jahr=Erscheinungsjahr~,Folgenummer Kopf|"
               "MUSIKKOP.Liste Kaufdatum=Kaufdatum,Folgenummer Kopf|"
               "MUSIKKOP.Liste Kaufpreis=Kaufpreis,Folgenummer Kopf|"
               "MUSIKKOP.Liste Laufzeit=Laufzeit der Schallplatte,Folgenummer Kopf|"
               "MUSIKKOP.Liste Lieder=Anzahl der Lieder,Folgenummer Kopf|"
               "MUSIKKOP.Liste Musikrichtung=Musikrichtung,Folgenummer Kopf|"
               "MUSIKKOP.Liste Nummerierung=Nummerierung,Folgenummer Kopf|"
               "MUSIKKOP.Liste Standard=Gruppe/Interpret/Text 1~,Text 2~,Art der "
               "Schallplatte,Nummerierung,Folgenummer Kopf|"
               "MUSIKKOP.Liste Status=Status,Folgenummer Kopf|"
               "MUSIKKOP.Liste Titel=Text 2~,Folgenummer Kopf|"
               "MUSIKKOP.Print Order=Art der Schallplatte,Nummerierung";
        QTest::newRow("MusikInformation")
            << "MusikInformation"
            << "Folgenummer Info:DOUBLE|Pressung:VARCHAR(5)|Zustand:VARCHAR(5)|Aufnahme:VARCHAR(5)|"
               "Firma:VARCHAR(30)|Bestellcode:VARCHAR(20)|Currency:INTEGER|CreationDate:DATE|"
               "ChangeDate:DATE"
            << "Folgenummer Info"
            << "";
        QTest::newRow("MUSIKPOS")
            << "MUSIKPOS"
            << "Folgenummer Position:DOUBLE|Seite der Schallplatte:DOUBLE|Nr. des Liedes:DOUBLE|"
               "Titel des Liedes:VARCHAR(50)|Interpret des Liedes:VARCHAR(50)|Laufzeit des "
               "Liedes:DOUBLE|"
               "Musikrichtung:DOUBLE|Zählwerkstand von:DOUBLE|Zählwerkstand "
               "bis:DOUBLE|Bewertung:DOUBLE|"
               "Erscheinungsjahr:VARCHAR(4)"
            << "Folgenummer Position|Seite der Schallplatte|Nr. des Liedes"
            << "";
        QTest::newRow("MusikPosInformation")
            << "MusikPosInformation"
            << "Folgenummer Pos Info:DOUBLE|Seite der Schallplatte:DOUBLE|Nr. des Liedes:DOUBLE|"
               "BPM von:SMALLINT|BPM bis:SMALLINT|Tanzstil:DOUBLE"
            << "Folgenummer Pos Info|Seite der Schallplatte|Nr. des Liedes"
            << "";
        QTest::newRow("MUSIKTXT") << "MUSIKTXT"
                                  << "Folgenummer Text:DOUBLE|Freier Text 2000 Zeichen:MEMO TEXT"
                                  << "Folgenummer Text"
                                  << "";
        QTest::newRow("MUSIKGRF")
            << "MUSIKGRF"
            << "Tonträgernummer:DOUBLE|Grafiknummer:DOUBLE|Grafik:GRAPHIC BLOB|Stretch:BOOLEAN"
            << "Tonträgernummer|Grafiknummer"
            << "";
        QTest::newRow("MUSIKINF") << "MUSIKINF"
                                  << "Folgenummer Kopf:DOUBLE|CD Nummer:DOUBLE|CD Pruefcode:DOUBLE"
                                  << "Folgenummer Kopf|CD Nummer"
                                  << "MUSIKINF.CD Pruefcode=CD Pruefcode";
        for (const char* t : {"MUSIKART", "MUSIKDIR", "MUSIKSTA", "MusikTanzStil"})
            QTest::newRow(t)
                << t << lookup << "Index-Nummer"
                << QStringLiteral("%1.Kurzbezeichnung=Kurzbezeichnung~").arg(QLatin1String(t));
        for (const char* t :
             {"VideoKategorien", "VideoKassettenarten", "VideoAudioarten", "VideoSprachen"})
            QTest::newRow(t) << t << lookup << "Index-Nummer"
                             << QStringLiteral("%1.Kurz=Kurzbezeichnung~").arg(QLatin1String(t));
        QTest::newRow("MUSIKCOV")
            << "MUSIKCOV"
            << "Index-Nummer:DOUBLE|Leerzeilen vor:SMALLINT|Leerzeilen nach:SMALLINT|"
               "Font Name:VARCHAR(50)|Font Größe:SMALLINT"
            << "Index-Nummer"
            << "";
        QTest::newRow("MUSIKVER")
            << "MUSIKVER"
            << "Tonträgernummer:DOUBLE|Verleihstatus:DOUBLE|Folgenummer:DOUBLE|"
               "Verliehen an:DOUBLE|Verliehen am:DATE|Zurück am:DATE|Status alt:DOUBLE"
            << "Tonträgernummer|Verleihstatus|Folgenummer"
            << "MUSIKVER.Folgenummer=Folgenummer";
        QTest::newRow("VERSTAMM")
            << "VERSTAMM"
            << "Folgenummer:DOUBLE|Name 1:VARCHAR(35)|Name 2:VARCHAR(35)|Straße:VARCHAR(35)|"
               "Postfach:VARCHAR(10)|Postleitzahl:VARCHAR(8)|Ort:VARCHAR(26)|Land:VARCHAR(35)|"
               "Telefon:VARCHAR(20)"
            << "Folgenummer"
            << "VERSTAMM.Alpha=Name 1~,Name 2~";
        QTest::newRow("MUSIKHLP") << "MUSIKHLP"
                                  << "TableName:VARCHAR(20)|Index:DOUBLE|Hilfstext:VARCHAR(100)"
                                  << "TableName|Index"
                                  << "";
        QTest::newRow("MPRTTEXT")
            << "MPRTTEXT"
            << "Type:DOUBLE|Index-Nummer:DOUBLE|Bezeichnung:VARCHAR(50)|Seitenrand:DOUBLE|"
               "Kopf-Text:MEMO TEXT|Seiten-Text:MEMO TEXT|Fuss-Text:MEMO TEXT"
            << "Type|Index-Nummer"
            << "";
        QTest::newRow("Currency")
            << "Currency"
            << "Index:INTEGER|Currency:VARCHAR(4)|Currency long:VARCHAR(40)|Factor:DOUBLE"
            << "Index"
            << "Currency.Currency=Currency~";
        QTest::newRow("FeldOriginal")
            << "FeldOriginal"
            << "Typ:VARCHAR(1)|Feldindex:INTEGER|Feldbezeichnung:VARCHAR(30)|"
               "Beschreibung:VARCHAR(60)|Listentext:VARCHAR(30)|Auffüllen:BOOLEAN|"
               "Verwendung:SMALLINT"
            << "Typ|Feldindex"
            << "";
        QTest::newRow("FeldKopie") << "FeldKopie"
                                   << "Typ:VARCHAR(1)|Feldindex:INTEGER|Feldbezeichnung:VARCHAR(30)"
                                   << "Typ|Feldindex"
                                   << "";
        QTest::newRow("MUSIKTIP") << "MUSIKTIP"
                                  << "Art:VARCHAR(1)|Tip:VARCHAR(255)"
                                  << ""
                                  << "";
        QTest::newRow("MUSIKEXT")
            << "MUSIKEXT"
            << "Folgenummer Kopf:DOUBLE|Quelle:VARCHAR(30)|Kennung:VARCHAR(40)"
            << "Folgenummer Kopf|Quelle"
            << "MUSIKEXT.Quelle=Quelle,Kennung";
    }
    void tables() {
        QFETCH(QString, table);
        QFETCH(QString, columns);
        QFETCH(QString, key);
        QFETCH(QString, indexes);
        QCOMPARE(describeColumns(table), columns);
        QCOMPARE(describeKey(table), key);
        QCOMPARE(describeIndexes(table), indexes);
    }

    void everyTableIsChecked() {
        // The song search index and its shadow tables are derived data, named apart.
        QCOMPARE(m_db.scalar(u"SELECT COUNT(*) FROM sqlite_schema WHERE type = 'table' "
                             u"AND name NOT LIKE 'Suchindex\\_%' ESCAPE '\\'")
                     .toInt(),
                 int(schema::tables().size() + schema::addedTables().size()));
        QCOMPARE(int(schema::tables().size()), 24);
        QCOMPARE(int(schema::addedTables().size()), 1);
    }

    void namesResolveWithoutLetterCase_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("table");
        QTest::newRow("file name") << "MUSIKKOP.DB"
                                   << "MUSIKKOP";
        QTest::newRow("mixed case") << "MusikKop.DB"
                                    << "MUSIKKOP";
        QTest::newRow("bare lower case") << "musikkop"
                                         << "MUSIKKOP";
        QTest::newRow("currency") << "Currency.db"
                                  << "Currency";
        QTest::newRow("video") << "Videokassettenarten.DB"
                               << "VideoKassettenarten";
        QTest::newRow("unknown") << "MUSIKXYZ.DB"
                                 << "";
    }
    void namesResolveWithoutLetterCase() {
        QFETCH(QString, name);
        QFETCH(QString, table);
        const schema::Table* t = schema::find(name);
        QCOMPARE(t ? t->name : QString(), table);
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
