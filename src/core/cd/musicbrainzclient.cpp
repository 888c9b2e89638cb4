#include "musicbrainzclient.h"

#include "core/settings/settings.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>

namespace {

// The service's rules: one request a second for the whole program, a busy answer asked
// again after two seconds.
int requestSpacingMs = 1000;
int busyRetryMs = 2000;
const QString kUnreadable = QStringLiteral("Die Antwort von MusicBrainz ist nicht lesbar.");
const QString kNoRelease = QStringLiteral("MusicBrainz kennt dazu keine Ausgabe.");
const QString kIncludes = QStringLiteral("inc=artist-credits+recordings+release-groups&fmt=json");

// When the last request to the service went out, for all clients of the program.
QElapsedTimer& lastRequest() {
    static QElapsedTimer timer;
    return timer;
}

QString serverBase(const QString& url) {
    QString base = url.trimmed();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

} // namespace

MusicBrainzClient::MusicBrainzClient(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)) {}

MusicBrainzClient::~MusicBrainzClient() = default;

void MusicBrainzClient::configure(const Settings& settings) {
    setServer(settings.musicBrainzServer);
    setCoverServer(settings.coverArtServer);
    setContact(settings.cddbUserName);
}

QByteArray MusicBrainzClient::userAgent() const {
    QByteArray agent = "Diskarium/1.5.0";
    if (!m_contact.trimmed().isEmpty())
        agent += " ( " + m_contact.trimmed().toUtf8() + " )";
    return agent;
}

void MusicBrainzClient::status(const QString& text) {
    if (m_onStatus)
        m_onStatus(text);
}

void MusicBrainzClient::abort() {
    m_aborted = true;
    if (m_reply)
        m_reply->abort();
    if (m_loop)
        m_loop->quit();
}

bool MusicBrainzClient::pause(int milliseconds) {
    if (milliseconds > 0 && !m_aborted) {
        QEventLoop loop;
        m_loop = &loop;
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
        loop.exec();
        m_loop = nullptr;
    }
    return !m_aborted;
}

void MusicBrainzClient::setPacing(int spacingMs, int retryMs) {
    requestSpacingMs = spacingMs;
    busyRetryMs = retryMs;
}

bool MusicBrainzClient::waitForTurn() {
    QElapsedTimer& last = lastRequest();
    if (last.isValid() && last.elapsed() < requestSpacingMs)
        pause(int(requestSpacingMs - last.elapsed()));
    last.start();
    return !m_aborted;
}

MusicBrainzClient::Answer MusicBrainzClient::get(const QString& url, const QByteArray& accept) {
    Answer answer = getOnce(url, accept);
    // The service answers 503 when it is busy or asked too often: once more, a little later.
    if (answer.status == 503 && !answer.cancelled) {
        if (!pause(busyRetryMs)) {
            answer.cancelled = true;
            return answer;
        }
        answer = getOnce(url, accept);
    }
    return answer;
}

MusicBrainzClient::Answer MusicBrainzClient::getOnce(const QString& url, const QByteArray& accept) {
    Answer answer;
    if (!waitForTurn()) {
        answer.cancelled = true;
        return answer;
    }
    QNetworkRequest request{QUrl(url)};
    request.setRawHeader("User-Agent", userAgent());
    request.setRawHeader("Accept", accept);
    request.setTransferTimeout(m_timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QEventLoop loop;
    m_loop = &loop;
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!m_reply->isFinished())
        loop.exec();
    if (!m_reply->isFinished())
        m_reply->abort(); // the loop was left by abort()
    answer.status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (m_reply->isOpen())
        answer.body = m_reply->readAll();
    answer.cancelled = m_aborted;
    answer.timedOut = !m_aborted && m_reply->error() == QNetworkReply::OperationCanceledError;
    m_reply->deleteLater();
    m_reply = nullptr;
    m_loop = nullptr;
    return answer;
}

MusicBrainzClient::Lookup MusicBrainzClient::lookup(const TCDToc& toc, int tracks) {
    m_aborted = false;
    Lookup result;
    const auto identity = musicbrainz::discIdentity(toc, tracks);
    if (!identity) {
        result.message = QStringLiteral("Das Inhaltsverzeichnis dieser CD ist ungültig.");
        return result;
    }
    const QString base = serverBase(m_server) + QStringLiteral("/ws/2/discid/") + identity->id;
    status(QStringLiteral("Frage MusicBrainz nach der CD %1").arg(identity->id));
    Answer answer = get(base + QLatin1Char('?') + kIncludes, "application/json");
    // An unknown disc ID: the releases whose table of contents is close to this one.
    if (answer.status == 404) {
        status(QStringLiteral("Suche ähnliche CDs bei MusicBrainz"));
        QString tocText = identity->toc;
        answer = get(base + QStringLiteral("?toc=") +
                         tocText.replace(QLatin1Char(' '), QLatin1Char('+')) + QLatin1Char('&') +
                         kIncludes,
                     "application/json");
    }
    status(QStringLiteral("Bereit"));
    if (failed(answer, QStringLiteral("MusicBrainz kennt diese CD nicht."), result.outcome,
               result.message))
        return result;
    const auto releases = musicbrainz::parseDiscReply(answer.body, identity->id, tracks);
    if (!releases) {
        result.message = kUnreadable;
        return result;
    }
    result.releases = *releases;
    result.outcome = releases->isEmpty() ? Outcome::NotFound : Outcome::Found;
    if (releases->isEmpty())
        result.message = QStringLiteral("MusicBrainz kennt diese CD nicht.");
    return result;
}

bool MusicBrainzClient::failed(const Answer& answer, const QString& notFound, Outcome& outcome,
                               QString& message) {
    if (answer.status == 200 && !answer.cancelled)
        return false;
    outcome = answer.cancelled                           ? Outcome::Cancelled
              : answer.status == 404 && !answer.timedOut ? Outcome::NotFound
                                                         : Outcome::Failed;
    if (answer.cancelled)
        message.clear();
    else if (answer.timedOut)
        message = QStringLiteral("MusicBrainz hat nicht rechtzeitig geantwortet.");
    else if (answer.status == 0)
        message = QStringLiteral("Internetverbindung konnte nicht aufgebaut werden!");
    else if (answer.status == 404)
        message = notFound;
    else
        message = QStringLiteral("MusicBrainz meldet den Fehler %1.").arg(answer.status);
    return true;
}

MusicBrainzClient::Search MusicBrainzClient::search(const QString& query, int offset) {
    m_aborted = false;
    Search result;
    status(QStringLiteral("Suche bei MusicBrainz"));
    const Answer answer =
        get(serverBase(m_server) + musicbrainz::searchTarget(query, offset), "application/json");
    status(QStringLiteral("Bereit"));
    if (failed(answer, kNoRelease, result.outcome, result.message))
        return result;
    const auto page = musicbrainz::parseSearchReply(answer.body);
    if (!page) {
        result.message = kUnreadable;
        return result;
    }
    result.page = *page;
    result.outcome = page->hits.isEmpty() ? Outcome::NotFound : Outcome::Found;
    if (page->hits.isEmpty())
        result.message = kNoRelease;
    return result;
}

MusicBrainzClient::ReleaseLookup MusicBrainzClient::release(const QString& mbid) {
    m_aborted = false;
    ReleaseLookup result;
    status(QStringLiteral("Hole die Ausgabe von MusicBrainz"));
    const Answer answer =
        get(serverBase(m_server) + musicbrainz::releaseTarget(mbid), "application/json");
    status(QStringLiteral("Bereit"));
    if (failed(answer, kNoRelease, result.outcome, result.message))
        return result;
    const auto release = musicbrainz::parseReleaseReply(answer.body);
    if (!release) {
        result.message = kUnreadable;
        return result;
    }
    result.release = *release;
    result.outcome = Outcome::Found;
    return result;
}

QByteArray MusicBrainzClient::frontCover(const QString& releaseId, QString* hint) {
    m_aborted = false;
    status(QStringLiteral("Hole das Titelbild"));
    const Answer answer =
        get(serverBase(m_coverServer) + QStringLiteral("/release/%1/front-500").arg(releaseId),
            "image/jpeg");
    status(QStringLiteral("Bereit"));
    // A JPEG starts with its start-of-image marker; anything else is not stored.
    if (answer.status == 200 && answer.body.startsWith("\xFF\xD8"))
        return answer.body;
    if (hint)
        *hint = answer.cancelled ? QString()
                : answer.status == 404
                    ? QStringLiteral("Zu dieser Ausgabe gibt es kein Titelbild.")
                    : QStringLiteral("Das Titelbild konnte nicht geholt werden.");
    return {};
}

std::optional<MusicBrainzClient::Choice> MusicBrainzClient::choose(const TCDToc& toc, int tracks,
                                                                   int number, bool withCover,
                                                                   QString* message) {
    const Lookup found = lookup(toc, tracks);
    if (found.outcome != Outcome::Found) {
        if (message)
            *message = found.outcome == Outcome::Cancelled ? QStringLiteral("Abgebrochen.")
                                                           : found.message;
        return std::nullopt;
    }
    if (number < 1 || number > found.releases.size()) {
        if (message)
            *message = QStringLiteral("MusicBrainz kennt zu dieser CD nur %1 Ausgabe(n).")
                           .arg(found.releases.size());
        return std::nullopt;
    }
    Choice choice;
    choice.release = found.releases[number - 1];
    choice.record = choice.release.toDiscRecord();
    if (withCover)
        choice.cover = frontCover(choice.release.id, &choice.coverHint);
    return choice;
}
