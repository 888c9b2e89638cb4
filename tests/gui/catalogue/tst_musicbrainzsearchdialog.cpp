#include "core/catalogue/carrierorigins.h"
#include "core/cd/musicbrainzclient.h"
#include "entrywindowfixture.h"
#include "gui/catalogue/carrierpage.h"
#include "gui/catalogue/lookupcombo.h"
#include "gui/catalogue/musicbrainzsearchdialog.h"
#include "support/fakehttpserver.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QUrlQuery>

namespace {

QString releaseId(int n) {
    return QStringLiteral("aaaaaaaa-0000-4000-8000-%1").arg(n, 12, 10, QLatin1Char('0'));
}
const QString kReleaseGroup = QStringLiteral("bbbbbbbb-0000-4000-8000-000000000001");

QJsonArray credit(const QString& name) {
    return QJsonArray{QJsonObject{{"name", name}, {"joinphrase", ""}}};
}

// A page of the search reply: hits offset+1 ... offset+count of total.
QByteArray searchPage(int offset, int count, int total) {
    QJsonArray releases;
    for (int n = offset + 1; n <= offset + count; ++n)
        releases.append(QJsonObject{
            {"id", releaseId(n)},
            {"title", QStringLiteral("Platte %1").arg(n)},
            {"artist-credit", credit(QStringLiteral("ABBA"))},
            {"date", "1976"},
            {"country", "SE"},
            {"track-count", 3},
            {"media", QJsonArray{QJsonObject{{"format", "12\" Vinyl"}, {"track-count", 3}}}}});
    return QJsonDocument(QJsonObject{{"count", total}, {"offset", offset}, {"releases", releases}})
        .toJson();
}

// The chosen release: an LP "ABBA / Arrival" with two songs on side A and one on side B.
QByteArray release(const QString& id) {
    QJsonArray tracks;
    const char* numbers[] = {"A1", "A2", "B1"};
    for (int i = 0; i < 3; ++i)
        tracks.append(QJsonObject{{"position", i + 1},
                                  {"number", numbers[i]},
                                  {"title", QStringLiteral("Lied %1").arg(i + 1)},
                                  {"length", 245600}});
    return QJsonDocument(
               QJsonObject{
                   {"id", id},
                   {"title", "Arrival"},
                   {"date", "1976-10-11"},
                   {"country", "SE"},
                   {"artist-credit", credit(QStringLiteral("ABBA"))},
                   {"release-group", QJsonObject{{"id", kReleaseGroup}, {"primary-type", "Album"}}},
                   {"label-info",
                    QJsonArray{QJsonObject{{"catalog-number", "POLS 272"},
                                           {"label", QJsonObject{{"name", "Polar"}}}}}},
                   {"media", QJsonArray{QJsonObject{
                                 {"position", 1}, {"format", "12\" Vinyl"}, {"tracks", tracks}}}}})
        .toJson();
}

} // namespace

// "Im Netz suchen..." of a new carrier: the search dialog against a fake MusicBrainz.
class TestMusicBrainzSearchDialog : public QObject {
    Q_OBJECT
    std::unique_ptr<EntryWindowFixture> f;
    std::unique_ptr<FakeHttpServer> m_http;

    // Runs the steps in the dialog once it is shown, and closes it if they left it open.
    void inDialog(std::function<void(TMusicBrainzSearchDialog*)> steps) {
        QTimer::singleShot(0, this, [steps] {
            auto* d = qobject_cast<TMusicBrainzSearchDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            steps(d);
            if (d->isVisible())
                d->reject();
        });
    }
    QList<QByteArray> targets() const {
        QList<QByteArray> t;
        for (const FakeHttpServer::Request& r : m_http->requests())
            t.append(r.target);
        return t;
    }

private slots:
    void init() {
        f = std::make_unique<EntryWindowFixture>();
        m_http = std::make_unique<FakeHttpServer>();
        // Two pages of 27 hits; each release by its MBID; no cover in the archive.
        m_http->handler = [](const QByteArray& target) -> FakeHttpServer::Reply {
            const QUrl url(QString::fromLatin1(target));
            if (url.path() == QLatin1String("/ws/2/release/")) {
                const int offset = QUrlQuery(url).queryItemValue("offset").toInt();
                return {200, searchPage(offset, offset == 0 ? 25 : 2, 27), "application/json", 0};
            }
            if (url.path().startsWith(QLatin1String("/ws/2/release/")))
                return {200, release(url.path().mid(14)), "application/json", 0};
            return {404, {}, "text/plain", 0};
        };
        Settings& s = f->state->settings;
        s.musicBrainzServer = m_http->baseUrl();
        s.coverArtServer = m_http->baseUrl();
        s.cddbUserName = QStringLiteral("anna@example.org");
        MusicBrainzClient::setPacing(20, 40); // the client's own tests keep the service's pacing
    }
    void cleanup() {
        m_http.reset();
        f.reset();
    }

    // Two pages numbered on, Enter takes the hit; the page keeps what was typed and the first
    // save stores the songs and where the carrier came from.
    void pagesThenTakeAndSave() {
        auto w = f->open();
        CarrierPage* p = w->carrierPage();
        QVERIFY(p->webButton()->isVisible());
        QCOMPARE(p->webButton()->text(), QStringLiteral("Im &Netz suchen..."));
        p->titleEdit()->setText(QStringLiteral("Ankunft"));
        p->orderCodeEdit()->setText(QStringLiteral("POLS 272"));
        inDialog([](TMusicBrainzSearchDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Bei MusicBrainz suchen"));
            QCOMPARE(d->titleEdit()->text(), QStringLiteral("Ankunft"));
            QCOMPARE(d->catalogueNumberEdit()->text(), QStringLiteral("POLS 272"));
            d->catalogueNumberEdit()->clear();
            d->artistEdit()->setText(QStringLiteral("ABBA"));
            QTest::keyClick(d->artistEdit(), Qt::Key_Return);
            QCOMPARE(d->rangeLabel()->text(), QStringLiteral("Treffer 1-25 von 27"));
            QCOMPARE(d->hitTable()->rowCount(), 25);
            QCOMPARE(d->hitTable()->horizontalHeaderItem(6)->text(), QStringLiteral("Katalognr."));
            QVERIFY(!d->previousButton()->isEnabled());
            QVERIFY(d->nextButton()->isEnabled());
            d->nextButton()->click();
            QCOMPARE(d->rangeLabel()->text(), QStringLiteral("Treffer 26-27 von 27"));
            QCOMPARE(d->hitTable()->verticalHeaderItem(1)->text(), QStringLiteral("27"));
            QCOMPARE(d->hitTable()->item(1, 0)->text(), QStringLiteral("Platte 27"));
            QVERIFY(d->previousButton()->isEnabled());
            QVERIFY(!d->nextButton()->isEnabled());
            d->hitTable()->setCurrentCell(1, 0);
            QTest::keyClick(d->hitTable(), Qt::Key_Return);
            QVERIFY(!d->isVisible());
            QCOMPARE(d->result(), int(QDialog::Accepted));
        });
        p->webButton()->click();
        const QList<QByteArray> sent = targets();
        QCOMPARE(sent.size(), 4); // two pages, the release, its cover
        QVERIFY(sent[0].contains("offset=0"));
        QVERIFY(sent[1].contains("offset=25"));
        QVERIFY(sent[2].startsWith("/ws/2/release/" + releaseId(27).toLatin1() + "?inc="));
        QVERIFY(f->texts().isEmpty()); // a missing cover is no message

        QCOMPARE(p->groupEdit()->text(), QStringLiteral("ABBA"));
        QCOMPARE(p->titleEdit()->text(), QStringLiteral("Ankunft")); // typed, so kept
        QCOMPARE(p->yearEdit()->text(), QStringLiteral("1976"));
        QCOMPARE(p->typeCombo()->key(), OptNumber(1)); // LP
        QCOMPARE(p->makerEdit()->text(), QStringLiteral("Polar"));
        QCOMPARE(p->songCountEdit()->text(), QStringLiteral("3"));
        QVERIFY(w->save());
        QVERIFY(!p->webButton()->isEnabled());
        QCOMPARE(f->count("MUSIKPOS"), 3);
        const QList<CarrierOrigin> origins = carrierorigins::read(f->state->db, w->carrierNumber());
        QVERIFY(
            origins.contains(CarrierOrigin{carrierorigins::kMusicBrainzRelease, releaseId(27)}));
        QVERIFY(origins.contains(
            CarrierOrigin{carrierorigins::kMusicBrainzReleaseGroup, kReleaseGroup}));
    }

    // Without a contact the service cannot be asked: the dialog says so instead of a bare
    // disabled button, and says "Bereit" again once an address is typed.
    void contactIsAskedFor() {
        f->state->settings.cddbUserName.clear();
        auto w = f->open();
        inDialog([](TMusicBrainzSearchDialog* d) {
            QVERIFY(!d->searchButton()->isEnabled());
            QVERIFY(d->statusLabel()->text().contains(QStringLiteral("E-Mail-Adresse")));
            QTest::keyClicks(d->contactEdit(), QStringLiteral("anna@example.org"));
            QVERIFY(d->searchButton()->isEnabled());
            QCOMPARE(d->statusLabel()->text(), QStringLiteral("Bereit"));
        });
        w->carrierPage()->webButton()->click();
        QVERIFY(m_http->requests().isEmpty());
    }

    void badBarcodeSendsNothing() {
        auto w = f->open();
        inDialog([](TMusicBrainzSearchDialog* d) {
            d->barcodeEdit()->setText(QStringLiteral("4 00123-4"));
            d->searchButton()->click();
            QCOMPARE(d->hitTable()->rowCount(), 0);
        });
        w->carrierPage()->webButton()->click();
        QCOMPARE(f->texts(), QStringList{QStringLiteral("Ein Barcode hat 8, 12 oder 13 Ziffern.")});
        QVERIFY(m_http->requests().isEmpty());
        QVERIFY(!w->reading());
    }

    // A slow service: "Abbruch" ends the request and keeps the dialog, Escape closes it.
    void cancelWhileBusy_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Abbruch") << false;
        QTest::newRow("Escape") << true;
    }
    void cancelWhileBusy() {
        QFETCH(bool, escape);
        m_http->handler = [](const QByteArray&) -> FakeHttpServer::Reply {
            return {200, searchPage(0, 1, 1), "application/json", 10000};
        };
        auto w = f->open();
        inDialog([escape](TMusicBrainzSearchDialog* d) {
            d->artistEdit()->setText(QStringLiteral("ABBA"));
            QTimer::singleShot(300, d, [d, escape] {
                QVERIFY(d->isBusy());
                QVERIFY(!d->searchButton()->isEnabled());
                if (escape)
                    QTest::keyClick(d, Qt::Key_Escape);
                else
                    d->cancelButton()->click();
            });
            d->searchButton()->click();
            QVERIFY(!d->isBusy());
            QCOMPARE(d->isVisible(), !escape);
            QVERIFY(d->searchButton()->isEnabled());
        });
        w->carrierPage()->webButton()->click();
        QVERIFY(f->texts().isEmpty());
        QVERIFY(!w->reading());
    }

    // A carrier that may be the same edition is named after the choice; "Nein" leaves the new
    // carrier as it was, for another choice or none.
    void ownedAlready_data() {
        QTest::addColumn<MessageButton>("answer");
        QTest::newRow("Nein") << MessageButton::No;
        QTest::newRow("Ja") << MessageButton::Yes;
    }
    void ownedAlready() {
        QFETCH(MessageButton, answer);
        const int owned = f->storeCarrier(QStringLiteral("ABBA"));
        f->state->db.exec(u"UPDATE \"MUSIKKOP\" SET \"Text 2\" = 'Arrival'");
        QVERIFY(!f->open(owned)->carrierPage()->webButton()->isVisible());
        auto w = f->open();
        f->messages.answer(answer);
        inDialog([answer](TMusicBrainzSearchDialog* d) {
            d->artistEdit()->setText(QStringLiteral("ABBA"));
            d->titleEdit()->setText(QStringLiteral("Arrival"));
            d->coverBox()->setChecked(false);
            d->searchButton()->click();
            d->takeButton()->click();
            QCOMPARE(d->isVisible(), answer == MessageButton::No);
        });
        w->carrierPage()->webButton()->click();
        QCOMPARE(f->messages.messages().size(), 1);
        const Message& question = f->messages.messages().first();
        QCOMPARE(question.text, QStringLiteral("Sie haben diese Ausgabe vielleicht schon:\n"
                                               "Nr. %1 ABBA / Arrival (gleiche Gruppe und "
                                               "gleicher Titel)\n\nTrotzdem übernehmen?")
                                    .arg(owned));
        QCOMPARE(question.buttons, MessageButton::Yes | MessageButton::No);
        const bool taken = answer == MessageButton::Yes;
        QCOMPARE(w->carrierPage()->groupEdit()->text(), taken ? QStringLiteral("ABBA") : QString());
        QCOMPARE(bool(w->reading()), taken);
        QCOMPARE(f->count("MUSIKKOP"), 1);
    }
};

QTEST_MAIN(TestMusicBrainzSearchDialog)
#include "tst_musicbrainzsearchdialog.moc"
