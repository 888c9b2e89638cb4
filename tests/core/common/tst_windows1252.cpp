#include "core/common/windows1252.h"

#include <QTest>

class TestWindows1252 : public QObject {
    Q_OBJECT
private slots:
    void roundTrip() {
        const QString text = QStringLiteral("Größe: 5 € – „Ärzte“ Œuvre ß");
        QVERIFY(windows1252::canEncode(text));
        const QByteArray bytes = windows1252::encode(text);
        QCOMPARE(bytes.size(), text.size());
        QCOMPARE(bytes.at(text.indexOf(QChar(0x20AC))), char(0x80));
        QCOMPARE(windows1252::decode(bytes), text);
    }

    void everyByteSurvives() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(windows1252::encode(windows1252::decode(all)), all);
    }

    void unencodableTextFallsBackToUtf8() {
        const QString text = QStringLiteral("Ärzte \u4E2D \U0001F3B5");
        QVERIFY(!windows1252::canEncode(text));
        QCOMPARE(windows1252::encode(text), QByteArray("\xC4rzte ? ?"));
        const QByteArray file = windows1252::encodeTextFile(text);
        QVERIFY(file.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(windows1252::decodeTextFile(file), text);
    }

    void plainFilesStayWindows1252() {
        const QString text = QStringLiteral("Müller");
        const QByteArray file = windows1252::encodeTextFile(text);
        QCOMPARE(file, QByteArray("M\xFCller"));
        QCOMPARE(windows1252::decodeTextFile(file), text);
    }
};

QTEST_GUILESS_MAIN(TestWindows1252)
#include "tst_windows1252.moc"
