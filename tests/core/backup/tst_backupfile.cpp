#include "core/backup/archivelisting.h"
#include "core/backup/backupfile.h"
#include "core/common/packeddatetime.h"

#include "core/backup/archiveio.h"

#include <QBuffer>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <zlib.h>

namespace {

QByteArray le32(qint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    return QByteArray(b, 4);
}

QByteArray randomBytes(int n, quint32 seed = 7) {
    QRandomGenerator rng(seed);
    QByteArray b(n, Qt::Uninitialized);
    for (char& c : b)
        c = char(rng.bounded(256));
    return b;
}

QByteArray deflated(const QByteArray& plain) {
    uLongf size = compressBound(uLong(plain.size()));
    QByteArray out(int(size), Qt::Uninitialized);
    compress2(reinterpret_cast<Bytef*>(out.data()), &size,
              reinterpret_cast<const Bytef*>(plain.constData()), uLong(plain.size()), 6);
    out.resize(int(size));
    return out;
}

// Builds archives byte by byte, for the hostile cases.
struct Archive {
    QByteArray bytes;
    Archive& header(const QByteArray& title = "T", qint32 total = 0, qint32 count = 1) {
        bytes += le32(qint32(title.size())) + title + le32(total) + le32(count);
        return *this;
    }
    Archive& entry(const QByteArray& name) {
        bytes += le32(qint32(name.size())) + name +
                 le32(packeddatetime::pack(QDateTime(QDate(2020, 5, 1), QTime(12, 0))));
        return *this;
    }
    Archive& dataPart(const QList<QByteArray>& blocks, bool stored = false) {
        bytes += QByteArray("EC2\0", 4);
        for (const QByteArray& b : blocks) {
            if (stored) {
                bytes += le32(-qint32(b.size())) + b;
            } else {
                const QByteArray z = deflated(b);
                bytes += le32(qint32(z.size())) + z;
            }
        }
        bytes += le32(0);
        return *this;
    }
    Archive& raw(const QByteArray& b) {
        bytes += b;
        return *this;
    }
    Archive& end() { return raw(le32(0)); }
};

// Reads the blocks of the data part of the first entry named `name`.
struct Parsed {
    QString title;
    qint32 total = 0, count = 0;
    QStringList names;
    QList<QList<qint32>> blockLengths; // per entry
    bool endMark = false;
    QString marker;
};

Parsed parse(const QByteArray& a) {
    Parsed p;
    qsizetype pos = 0;
    auto i32 = [&]() {
        const qint32 v = qFromLittleEndian<qint32>(a.constData() + pos);
        pos += 4;
        return v;
    };
    const qint32 tl = i32();
    p.title = QString::fromLatin1(a.mid(pos, tl));
    pos += tl;
    p.total = i32();
    p.count = i32();
    while (pos + 4 <= a.size()) {
        const qint32 n = i32();
        if (n == 0) {
            p.endMark = true;
            break;
        }
        const QByteArray name = a.mid(pos, n);
        pos += n;
        if (name.startsWith("NEXT:DISK")) {
            p.marker = QString::fromLatin1(name);
            break;
        }
        p.names.append(QString::fromLatin1(name));
        pos += 4; // time
        pos += 4; // EC2
        QList<qint32> lengths;
        for (qint32 len = i32(); len != 0; len = i32()) {
            lengths.append(len);
            pos += std::abs(len);
        }
        p.blockLengths.append(lengths);
    }
    return p;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

} // namespace

class TestBackupFile : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString& name) const { return m_dir->filePath(name); }

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void blocks_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QList<qint32>>("lengths"); // 1 stands for "some compressed length"
        QTest::newRow("empty file") << QByteArray() << QList<qint32>();
        QTest::newRow("exactly one block") << QByteArray(16384, 'a') << QList<qint32>({1});
        QTest::newRow("one byte more") << QByteArray(16385, 'a') << QList<qint32>({1, 1});
        QTest::newRow("incompressible")
            << randomBytes(16384 * 2 + 10)
            << QList<qint32>({-16384, -16384, 1}); // a short tail still fits as a stream
    }
    void blocks() {
        QFETCH(QByteArray, content);
        QFETCH(QList<qint32>, lengths);
        writeFile(path("in/file.bin"), content);
        TBackupFile b;
        b.setBackupTitle(QStringLiteral("Titel"));
        QVERIFY(b.backup({path("in/file.bin")}, path("a.bck")));
        const QByteArray archive = readAll(path("a.bck"));
        const Parsed p = parse(archive);
        QCOMPARE(p.title, QStringLiteral("Titel"));
        QCOMPARE(p.total, content.size());
        QCOMPARE(p.count, 1);
        QVERIFY(p.endMark);
        QCOMPARE(p.names,
                 QStringList({QFileInfo(path("in/file.bin")).absoluteFilePath().toLower()}));
        QList<qint32> seen = p.blockLengths.first();
        for (qint32& l : seen)
            if (l > 0)
                l = 1;
        QCOMPARE(seen, lengths);
        if (content.isEmpty()) // name, time, marker, block end and nothing else
            QVERIFY(archive.endsWith(QByteArray("EC2\0", 4) + le32(0) + le32(0)));

        QVERIFY(b.restore(path("a.bck"), path("out")));
        QCOMPARE(readAll(path("out/file.bin")), content);
    }

    void fileListComesFirst() {
        writeFile(path("in/Eins.txt"), "eins");
        writeFile(path("in/zwei.txt"), "zwei!");
        TBackupFile b;
        b.setSaveFileID(true);
        QVERIFY(b.backup({path("in/*.TXT")}, path("a.bck")));
        const Parsed p = parse(readAll(path("a.bck")));
        QCOMPARE(p.count, 2);
        QCOMPARE(p.names.size(), 3);
        QCOMPARE(p.names.first(), QStringLiteral("FILE:LIST"));
        QVERIFY(p.names[1].endsWith(QLatin1String("/in/eins.txt")));
        QCOMPARE(b.filesProcessed(), 2);
        QVERIFY(b.restore(path("a.bck"), path("out")));
        QCOMPARE(QDir(path("out")).entryList(QDir::Files), QStringList({"eins.txt", "zwei.txt"}));
    }

    void listingIgnoresLetterCase() {
        writeFile(path("data/WinDsKm.InI"), "x");
        writeFile(path("data/WinDsKm.db"), "y");
        writeFile(path("data/sub/deep.DB"), "z");
        TBackupFile b;
        const auto files =
            b.listFiles({path("data/windskm.ini"), path("data/*.db"), path("data/*.DB /s")},
                        path("data/WinDsKm.db"));
        QStringList names, real;
        for (const auto& f : files) {
            names.append(f.name.section('/', -2));
            real.append(QFileInfo(f.path).fileName());
        }
        QCOMPARE(names, QStringList({"data/windskm.ini", "sub/deep.db"}));
        QCOMPARE(real, QStringList({"WinDsKm.InI", "deep.DB"}));
    }

    void volumes() {
        const QByteArray content = randomBytes(300000, 3);
        writeFile(path("in/big.bin"), content);
        TBackupFile b;
        b.setMaxSize(100000);
        QList<int> asked;
        b.OnNeedDisk = [&](int volume, bool& cont) {
            asked.append(volume);
            cont = true;
        };
        QVERIFY(b.backup({path("in/big.bin")}, path("sich.bck")));
        QCOMPARE(asked.first(), 2);
        const QByteArray first = readAll(path("sich.bck"));
        const Parsed p = parse(first);
        QCOMPARE(p.marker, QStringLiteral("NEXT:DISK002"));
        // The last block of volume 1 started below 83516 and ended at or beyond it.
        const qsizetype markerAt = first.size() - 4 - 12 - 4; // block end, marker length, marker
        QVERIFY(markerAt >= 83516);
        QVERIFY(markerAt - 4 - 16384 < 83516);
        const QByteArray second = readAll(path("sich.002"));
        QVERIFY(second.startsWith(QByteArray("EC2\0", 4)));
        QVERIFY(QFile::exists(path("sich.003")) || second.endsWith(le32(0)));

        QList<int> restoreAsked;
        b.OnNeedDisk = [&](int volume, bool& cont) {
            restoreAsked.append(volume);
            cont = true;
        };
        QVERIFY(b.restore(path("sich.bck"), path("out")));
        QCOMPARE(restoreAsked, asked);
        QCOMPARE(readAll(path("out/big.bin")), content);
    }

    void cancelledVolumePromptFails() {
        writeFile(path("in/big.bin"), randomBytes(200000));
        TBackupFile b;
        b.setMaxSize(100000);
        b.OnNeedDisk = [](int, bool& cont) { cont = false; };
        QVERIFY(!b.backup({path("in/big.bin")}, path("sich.bck")));
        QVERIFY(!b.cancelled());
        QVERIFY(QFile::exists(path("sich.bck")));
        QVERIFY(!QFile::exists(path("sich.002")));
    }

    void restoreModes_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("older");
        QTest::addColumn<bool>("restored");
        const int all = TBackupFile::rmAll, noOverwrite = TBackupFile::rmNoOverwrite,
                  newer = TBackupFile::rmNewer, existing = TBackupFile::rmExisting,
                  existingNewer = TBackupFile::rmExistingNewer;
        QTest::newRow("all, missing") << all << false << false << true;
        QTest::newRow("all, newer target") << all << true << false << true;
        QTest::newRow("no overwrite, missing") << noOverwrite << false << false << true;
        QTest::newRow("no overwrite, present") << noOverwrite << true << true << false;
        QTest::newRow("newer, missing") << newer << false << false << true;
        QTest::newRow("newer, older target") << newer << true << true << true;
        QTest::newRow("newer, newer target") << newer << true << false << false;
        QTest::newRow("existing, missing") << existing << false << false << false;
        QTest::newRow("existing, present") << existing << true << false << true;
        QTest::newRow("existing newer, older") << existingNewer << true << true << true;
        QTest::newRow("existing newer, newer") << existingNewer << true << false << false;
        QTest::newRow("existing newer, missing") << existingNewer << false << false << false;
    }
    void restoreModes() {
        QFETCH(int, mode);
        QFETCH(bool, exists);
        QFETCH(bool, older);
        QFETCH(bool, restored);
        writeFile(path("in/f.txt"), "archiv");
        {
            QFile f(path("in/f.txt"));
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.setFileTime(QDateTime(QDate(2020, 6, 1), QTime(10, 0)),
                          QFileDevice::FileModificationTime);
        }
        TBackupFile b;
        QVERIFY(b.backup({path("in/f.txt")}, path("a.bck")));
        if (exists) {
            writeFile(path("out/f.txt"), "vorher");
            QFile f(path("out/f.txt"));
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.setFileTime(QDateTime(older ? QDate(2019, 1, 1) : QDate(2021, 1, 1), QTime(10, 0)),
                          QFileDevice::FileModificationTime);
        }
        b.setRestoreMode(TBackupFile::RestoreMode(mode));
        QVERIFY(b.restore(path("a.bck"), path("out")));
        const QByteArray now = readAll(path("out/f.txt"));
        QCOMPARE(now, restored ? QByteArray("archiv")
                      : exists ? QByteArray("vorher")
                               : QByteArray());
        if (restored)
            QCOMPARE(QFileInfo(path("out/f.txt")).lastModified(),
                     QDateTime(QDate(2020, 6, 1), QTime(10, 0)));
    }

    void restoreHandlersMayRedirect() {
        writeFile(path("in/a.txt"), "a");
        writeFile(path("in/b.txt"), "b");
        TBackupFile b;
        QVERIFY(b.backup({path("in/*.txt")}, path("x.bck")));
        QStringList done;
        b.OnRestoreFile = [&](QString& target, bool& restore, qint32) {
            if (target.endsWith(QLatin1String("b.txt")))
                restore = false;
            target.replace(QLatin1String("a.txt"), QLatin1String("c.txt"));
        };
        b.OnFileRestored = [&](const QString& target, QFile&) {
            done.append(QFileInfo(target).fileName());
        };
        QVERIFY(b.restore(path("x.bck"), path("out")));
        QCOMPARE(done, QStringList({"c.txt"}));
        QVERIFY(!QFile::exists(path("out/b.txt")));
    }

    void restoreFullPathKeepsDirectories() {
        Archive a;
        a.header().entry("c:\\daten\\sub\\f.txt").dataPart({"inhalt"}).end();
        writeFile(path("a.bck"), a.bytes);
        TBackupFile b;
        b.setRestoreFullPath(true);
        QVERIFY(b.restore(path("a.bck"), path("out")));
        QCOMPARE(readAll(path("out/daten/sub/f.txt")), QByteArray("inhalt"));
        b.setRestoreFullPath(false);
        QVERIFY(b.restore(path("a.bck"), path("flat")));
        QCOMPARE(readAll(path("flat/f.txt")), QByteArray("inhalt"));
    }

    void cancelMidFile() {
        writeFile(path("in/big.bin"), randomBytes(100000));
        TBackupFile b;
        int calls = 0;
        b.OnProgress = [&](const QString& name, bool&, int) {
            if (!name.isEmpty() && ++calls == 2)
                b.cancel();
        };
        QVERIFY(!b.backup({path("in/big.bin")}, path("a.bck")));
        QVERIFY(b.cancelled());
        QCOMPARE(b.errorCode(), 0);
        QVERIFY(!parse(readAll(path("a.bck"))).endMark);
    }

    void progressAndRate() {
        writeFile(path("in/text.txt"), QByteArray("Diskarium ").repeated(10000));
        TBackupFile b;
        QList<int> percents;
        b.OnProgress = [&](const QString&, bool&, int p) { percents.append(p); };
        QVERIFY(b.backup({path("in/text.txt")}, path("a.bck")));
        QCOMPARE(percents.first(), 0);
        QCOMPARE(percents.last(), 100);
        QVERIFY(std::is_sorted(percents.begin(), percents.end()));
        QVERIFY(b.compressionRate() > 90);
        b.setCompressionLevel(TBackupFile::clNone);
        QVERIFY(b.backup({path("in/text.txt")}, path("n.bck")));
        const QList<qint32> stored = parse(readAll(path("n.bck"))).blockLengths.first();
        for (qsizetype i = 0; i + 1 < stored.size(); ++i)
            QCOMPARE(stored[i], -16384); // level 0 never shrinks a full block
        QVERIFY(b.compressionRate() <= 0);
    }

    void streamRoundTrip() {
        writeFile(path("in/s.txt"), "über den Strom");
        QBuffer buffer;
        TBackupFile b;
        b.setStream(&buffer);
        QVERIFY(b.backup({path("in/s.txt")}, TBackupFile::kStreamPath));
        buffer.close();
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QVERIFY(b.restore(TBackupFile::kStreamPath, path("out")));
        QCOMPARE(readAll(path("out/s.txt")), QByteArray("über den Strom"));
    }

    void missingArchiveIsFalseWithoutMessage() {
        TBackupFile b;
        int errors = 0;
        b.OnError = [&](int, const QString&, const QString&) { ++errors; };
        QVERIFY(!b.restore(path("nichts.bck"), path("out")));
        QCOMPARE(errors, 0);
        QVERIFY(b.archiveError().isEmpty());
    }

    void unreadableSourceFile() {
        writeFile(path("in/secret.txt"), "x");
        QFile::setPermissions(path("in/secret.txt"), QFileDevice::WriteOwner);
        if (QFile(path("in/secret.txt")).open(QIODevice::ReadOnly))
            QSKIP("running as root: permissions do not keep the file from being read");
        TBackupFile b;
        QString reported;
        b.OnError = [&](int code, const QString& file, const QString&) {
            reported = QString::number(code) + file;
        };
        QVERIFY(!b.backup({path("in/secret.txt")}, path("a.bck")));
        QVERIFY(reported.startsWith('1'));
    }

    void hostileArchives_data() {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("archiveError");
        QTest::addColumn<int>("code");
        const QByteArray valid =
            Archive().header().entry("/x/ok.txt").dataPart({"gut"}).end().bytes;
        QTest::newRow("text file")
            << QByteArray("Dies ist keine Sicherung.") << "Cannot read archive" << 0;
        QTest::newRow("too short") << QByteArray("\x01\0", 2) << "Cannot read archive" << 0;
        QTest::newRow("negative title")
            << (le32(-5) + QByteArray(20, 'x')) << "Cannot read archive" << 0;
        QTest::newRow("absurd title")
            << (le32(0x7FFFFFFF) + QByteArray(20, 'x')) << "Cannot read archive" << 0;
        QTest::newRow("absurd name")
            << Archive().header().raw(le32(0x40000000)).bytes << "Invalid archive type" << 0;
        QTest::newRow("bad marker")
            << Archive().header().entry("/x/a").raw("ZIP\0" + le32(0)).end().bytes
            << "Invalid archive type" << 0;
        QTest::newRow("empty file part")
            << Archive().header().entry("/x/").dataPart({"a"}).end().bytes << "" << 5;
        QTest::newRow("dot dot") << Archive().header().entry("..").dataPart({"a"}).end().bytes << ""
                                 << 5;
        QTest::newRow("nul in name")
            << Archive().header().entry(QByteArray("/x/a\0b", 6)).dataPart({"a"}).end().bytes << ""
            << 5;
        QTest::newRow("dot") << Archive().header().entry("/x/.").dataPart({"a"}).end().bytes << ""
                             << 5;
        QTest::newRow("inflates too far")
            << Archive().header().entry("/x/a").dataPart({QByteArray(20000, 'z')}).end().bytes << ""
            << 6;
        QTest::newRow("stored too long")
            << Archive()
                   .header()
                   .entry("/x/a")
                   .raw(QByteArray("EC2\0", 4) + le32(-20000) + QByteArray(20000, 'y'))
                   .bytes
            << "Invalid archive type" << 0;
        QTest::newRow("smallest length")
            << Archive()
                   .header()
                   .entry("/x/a")
                   .raw(QByteArray("EC2\0", 4) + le32(qint32(0x80000000)))
                   .bytes
            << "Invalid archive type" << 0;
        QTest::newRow("damaged block") << Archive()
                                              .header()
                                              .entry("/x/a")
                                              .raw(QByteArray("EC2\0", 4) + le32(8) +
                                                   QByteArray("\x78\x9c garbage", 8) + le32(0))
                                              .end()
                                              .bytes
                                       << "" << 6;
        for (int cut : {20, 30, 40, int(valid.size()) - 4, int(valid.size()) - 1})
            QTest::newRow(qPrintable(QStringLiteral("truncated at %1").arg(cut)))
                << valid.left(cut) << "" << 3;
        QTest::newRow("missing volume")
            << Archive().header().entry("/x/a").dataPart({"a"}).raw(le32(12) + "NEXT:DISK002").bytes
            << "" << 3;
    }
    void hostileArchives() {
        QFETCH(QByteArray, archive);
        QFETCH(QString, archiveError);
        QFETCH(int, code);
        writeFile(path("evil.bck"), archive);
        TBackupFile b;
        b.OnNeedDisk = [](int, bool& cont) { cont = false; };
        int reported = 0;
        b.OnError = [&](int c, const QString&, const QString&) { reported = c; };
        QVERIFY(!b.restore(path("evil.bck"), path("target")));
        QCOMPARE(b.archiveError(), archiveError);
        QCOMPARE(reported, code);
        // Nothing was written beside the target directory.
        QStringList beside = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        beside.removeAll(QStringLiteral("target"));
        QCOMPARE(beside, QStringList({"evil.bck"}));
    }

    void escapingFullPathIsRefused() {
        writeFile(path("a.bck"),
                  Archive().header().entry("c:\\..\\..\\etc\\x").dataPart({"a"}).end().bytes);
        TBackupFile b;
        b.setRestoreFullPath(true);
        int code = 0;
        b.OnError = [&](int c, const QString&, const QString&) { code = c; };
        QVERIFY(!b.restore(path("a.bck"), path("target")));
        QCOMPARE(code, 5);
        QStringList beside = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        beside.removeAll(QStringLiteral("target"));
        QCOMPARE(beside, QStringList({"a.bck"}));
    }

    void negativeNameLengthIsSkipped() {
        writeFile(path("a.bck"),
                  Archive().header().raw(le32(-1)).entry("/x/f").dataPart({"ok"}).end().bytes);
        TBackupFile b;
        QVERIFY(b.restore(path("a.bck"), path("out")));
        QCOMPARE(readAll(path("out/f")), QByteArray("ok"));
    }

    // A marker that names a volume already read, or skips one, would read volumes again and
    // again or leave data out: refused at once, by restore and by the listing.
    void volumesAreReadOnceInOrder_data() {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        const QByteArray start = Archive().header().entry("/x/a").dataPart({"a"}).bytes;
        const QByteArray toTwo = le32(12) + "NEXT:DISK002";
        const QByteArray part = Archive().dataPart({"b"}).bytes;
        QTest::newRow("second names itself") << start + toTwo << part + toTwo;
        QTest::newRow("second names the first")
            << start + toTwo << part + le32(12) + "NEXT:DISK001";
        QTest::newRow("first names itself") << start + le32(12) + "NEXT:DISK001" << part + le32(0);
        QTest::newRow("skips a volume") << start + le32(12) + "NEXT:DISK003" << part + le32(0);
    }
    void volumesAreReadOnceInOrder() {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        writeFile(path("a.bck"), first);
        writeFile(path("a.002"), second);
        writeFile(path("a.003"), Archive().dataPart({"c"}).end().bytes);
        TBackupFile b;
        b.OnNeedDisk = [](int, bool& cont) { cont = true; };
        QVERIFY(!b.restore(path("a.bck"), path("out")));
        QVERIFY2(b.damage().startsWith(QStringLiteral("Die Sicherung ist beschädigt")),
                 qPrintable(b.damage()));
        QVERIFY(QFileInfo(path("out/a")).size() <= 2);
        QString error;
        QVERIFY(!listArchive(path("a.bck"), &error));
        QVERIFY2(error.startsWith(QStringLiteral("Die Sicherung ist beschädigt")),
                 qPrintable(error));
    }

    // Stored blocks carry no check of their own: the file list's checksum finds a flipped bit,
    // while readers that know only name, time and size still read the list.
    void checksumsFindDamageInStoredBlocks() {
        const QByteArray noise = randomBytes(3 * TBackupFile::kBlockSize);
        writeFile(path("in/rauschen.bin"), noise);
        TBackupFile b;
        b.setSaveFileID(true);
        QVERIFY(b.backup({path("in/*.bin")}, path("a.bck")));
        QByteArray archive = readAll(path("a.bck"));
        const QByteArray line = archiveio::fileListLine(
            path("in/rauschen.bin").toLower(),
            packeddatetime::pack(QFileInfo(path("in/rauschen.bin")).lastModified()), noise.size(),
            QCryptographicHash::hash(noise, QCryptographicHash::Sha256).toHex());
        QVERIFY(line.contains("=" + QByteArray::number(noise.size()) + "\tsha256:"));
        QVERIFY(b.restore(path("a.bck"), path("good")));
        QVERIFY(b.checksumsVerified());
        QCOMPARE(readAll(path("good/rauschen.bin")), noise);

        const qsizetype at = archive.indexOf(noise.mid(20000, 64));
        QVERIFY(at > 0);
        archive[at] = char(archive[at] ^ 0x01);
        writeFile(path("a.bck"), archive);
        QVERIFY(!b.restore(path("a.bck"), path("bad")));
        QVERIFY2(b.damage().contains(QLatin1String("rauschen.bin")), qPrintable(b.damage()));
        QString error;
        QVERIFY(!listArchive(path("a.bck"), &error));
        QVERIFY2(error.contains(QLatin1String("rauschen.bin")), qPrintable(error));
    }

    void volumePaths() {
        QCOMPARE(TBackupFile::volumePath(QStringLiteral("/m/sicherung.bck"), 2),
                 QStringLiteral("/m/sicherung.002"));
        QCOMPARE(TBackupFile::volumePath(QStringLiteral("/m/ohne"), 12),
                 QStringLiteral("/m/ohne.012"));
    }
};

QTEST_GUILESS_MAIN(TestBackupFile)
#include "tst_backupfile.moc"
