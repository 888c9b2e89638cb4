#pragma once

#include "musicbrainz.h"
#include "musicbrainzrelease.h"
#include "musicbrainzsearch.h"

#include <QObject>
#include <functional>
#include <optional>

struct Settings;
class QEventLoop;
class QNetworkAccessManager;
class QNetworkReply;

// Asks the MusicBrainz web service for the releases of a disc or of a search and the cover
// archive for a release's front cover, as the service's rules demand: a User-Agent naming the
// program and a contact, at most one request a second (for the whole program), a time-out,
// cancel at any time, and a busy service (503) asked once more after two seconds. The event
// loop keeps turning meanwhile, so a window stays responsive.
class MusicBrainzClient : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Found, NotFound, Failed, Cancelled };
    struct Lookup {
        Outcome outcome = Outcome::Failed;
        QList<musicbrainz::Release> releases;
        QString message; // for the user, when not found or failed
    };

    // One page of a release search.
    struct Search {
        Outcome outcome = Outcome::Failed;
        musicbrainz::HitPage page;
        QString message; // for the user, when not found or failed
    };
    // A release with its credits, labels, recordings and release group.
    struct ReleaseLookup {
        Outcome outcome = Outcome::Failed;
        musicbrainz::ReleaseDetails release;
        QString message;
    };

    // A release chosen without a dialog, as the tool's add-cd takes it.
    struct Choice {
        musicbrainz::Release release;
        cddb::DiscRecord record; // filled in as from a CDDB record
        QByteArray cover;        // JPEG, empty when not asked for or none
        QString coverHint;       // why there is no cover although it was asked for
    };

    explicit MusicBrainzClient(QObject* parent = nullptr);
    ~MusicBrainzClient() override;

    // Server, cover server and contact (the CDDB e-mail address) from the settings.
    void configure(const Settings& settings);
    // "https://musicbrainz.org", "https://coverartarchive.org" or a mirror.
    void setServer(const QString& url) { m_server = url; }
    void setCoverServer(const QString& url) { m_coverServer = url; }
    // The e-mail address the service may write to about this program's requests.
    void setContact(const QString& contact) { m_contact = contact; }
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    void setStatusHandler(std::function<void(const QString&)> handler) {
        m_onStatus = std::move(handler);
    }
    QByteArray userAgent() const;
    // The pause between two requests of the program and before asking a busy service again:
    // 1000 and 2000 ms as the service demands. Only tests of other behaviour shorten them.
    static void setPacing(int spacingMs, int retryMs);

    // The releases of the disc: by its disc ID, and by its table of contents when the
    // service does not know the ID.
    Lookup lookup(const TCDToc& toc, int tracks);
    // The hits of a search query (musicbrainz::searchQuery) from offset on (0: the first
    // page); NotFound when the service knows none.
    Search search(const QString& query, int offset);
    // The release of a hit, by its MBID.
    ReleaseLookup release(const QString& mbid);
    // The front cover of a release (JPEG, 500 pixels), or an empty array when the archive has
    // none or cannot be reached (the hint says which).
    QByteArray frontCover(const QString& releaseId, QString* hint = nullptr);
    // lookup(), then release number `number` (1 = the first) and, when wanted, its front
    // cover. nullopt with a German message when there is no such release.
    std::optional<Choice> choose(const TCDToc& toc, int tracks, int number, bool withCover,
                                 QString* message);
    bool isRunning() const { return m_loop != nullptr; }

public slots:
    // Ends a running request (or the wait before it) as cancelled.
    void abort();

private:
    struct Answer {
        int status = 0; // HTTP status, 0 when none came
        QByteArray body;
        bool cancelled = false;
        bool timedOut = false;
    };
    Answer get(const QString& url, const QByteArray& accept);
    Answer getOnce(const QString& url, const QByteArray& accept);
    // Waits, keeping the event loop turning; false when cancelled meanwhile.
    bool pause(int milliseconds);
    bool waitForTurn();
    // True when the answer brought no reply to read, with the outcome and message for the user.
    static bool failed(const Answer& answer, const QString& notFound, Outcome& outcome,
                       QString& message);
    void status(const QString& text);

    QString m_server = QStringLiteral("https://musicbrainz.org");
    QString m_coverServer = QStringLiteral("https://coverartarchive.org");
    QString m_contact;
    int m_timeoutMs = 30000;
    std::function<void(const QString&)> m_onStatus;
    QNetworkAccessManager* m_network;
    QEventLoop* m_loop = nullptr;
    QNetworkReply* m_reply = nullptr;
    bool m_aborted = false;
};
