#include "cddbexchange.h"

#include "cddbtext.h"
#include "cdtoc.h"
#include "core/common/windows1252.h"

#include <QStringDecoder>

namespace {

QByteArray firstLine(const QByteArray& buffer) {
    const qsizetype end = buffer.indexOf('\n');
    QByteArray line = end < 0 ? buffer : buffer.left(end);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

int codeOf(const QByteArray& buffer) {
    return cddb::replyCode(QString::fromLatin1(firstLine(buffer)));
}

bool listEnded(const QByteArray& buffer) {
    return buffer.endsWith("\r\n.\r\n") || buffer.endsWith("\n.\n") || buffer.endsWith("\n.\r\n");
}

} // namespace

CddbExchange::CddbExchange(Command command, QByteArray commandLine, QString userName,
                           QString localHost)
    : m_command(command), m_commandLine(std::move(commandLine)), m_user(std::move(userName)),
      m_host(std::move(localHost)), m_status(QStringLiteral("Baue Verbindung auf")) {}

QStringList CddbExchange::helloWords(const QString& user, const QString& host) {
    const qsizetype at = user.lastIndexOf(QLatin1Char('@'));
    if (at < 0)
        return {user, host};
    return {user.left(at), user.mid(at + 1)};
}

QByteArray CddbExchange::helloLine(const QString& user, const QString& host) {
    const QStringList words = helloWords(user, host);
    return QStringLiteral("cddb hello %1 %2 WinDsKm32 %3  \r\n")
        .arg(words[0], words[1], QStringLiteral("1.5.0"))
        .toUtf8();
}

QByteArray CddbExchange::protoLine() {
    return QByteArrayLiteral("proto 6\r\n");
}

QByteArray CddbExchange::httpQuery() const {
    auto words = [](const QStringList& list) {
        QByteArrayList encoded;
        for (const QString& word : list)
            if (!word.isEmpty())
                encoded.append(word.toUtf8().toPercentEncoding());
        return encoded.join('+');
    };
    const QStringList hello = helloWords(m_user, m_host) +
                              QStringList{QStringLiteral("WinDsKm32"), QStringLiteral("1.5.0")};
    return "cmd=" + words(QString::fromLatin1(m_commandLine).simplified().split(QLatin1Char(' '))) +
           "&hello=" + words(hello) + "&proto=" + QByteArray::number(kProtocolLevel);
}

QByteArray CddbExchange::queryLine(quint32 discId, int tracks, const QList<qint32>& frameOffsets,
                                   qint32 leadOutSeconds) {
    QString line = QStringLiteral("cddb query %1 %2 ").arg(discIdForQuery(discId)).arg(tracks);
    for (qint32 offset : frameOffsets)
        line += QStringLiteral("%1 ").arg(offset);
    line += QStringLiteral("%1 \r\n").arg(leadOutSeconds);
    return line.toLatin1();
}

QByteArray CddbExchange::readLine(const QString& category, const QString& discId) {
    return QStringLiteral("cddb read %1 %2 \r\n").arg(category, discId).toLatin1();
}

QByteArray CddbExchange::sitesLine() {
    return QByteArrayLiteral("sites \r\n");
}

QByteArray CddbExchange::quitLine() {
    return QByteArrayLiteral("quit \r\n");
}

void CddbExchange::connected() {
    if (m_stage != Stage::Connecting)
        return;
    m_stage = Stage::Greeting;
    m_status = QStringLiteral("Verbunden");
}

QByteArray CddbExchange::fail(Failure failure) {
    m_failure = failure;
    const bool greeted = m_stage != Stage::Connecting && m_stage != Stage::Greeting;
    m_stage = Stage::Finished;
    // A server that refused a command still gets its goodbye; over HTTP there is none.
    return greeted && !m_http ? quitLine() : QByteArray();
}

void CddbExchange::startHttp() {
    if (m_stage != Stage::Connecting)
        return;
    m_http = true;
    m_level = kProtocolLevel;
    m_stage = Stage::Command;
    m_status = QStringLiteral("Verbunden");
}

void CddbExchange::bodyEnded() {
    if (m_stage == Stage::Finished)
        return;
    if (!m_buffer.isEmpty() && !m_buffer.endsWith('\n'))
        received("\r\n"); // a last line without its line end
    if (m_stage != Stage::Finished)
        fail(Failure::Command);
}

QString CddbExchange::decode(const QByteArray& bytes) const {
    if (m_level < kProtocolLevel)
        return QString::fromLatin1(bytes);
    QStringList lines;
    for (const QByteArray& line : bytes.split('\n')) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString decoded = utf8.decode(line);
        if (utf8.hasError())
            decoded = windows1252::decode(line);
        lines.append(decoded);
    }
    return lines.join(QLatin1Char('\n'));
}

QString CddbExchange::failureMessage() const {
    if (m_failure == Failure::Server)
        return QStringLiteral("Der CDDB-Server meldet: %1").arg(m_serverText);
    if (m_failure == Failure::Connection)
        return QStringLiteral("Internetverbindung konnte nicht aufgebaut werden!");
    if (m_failure == Failure::Command)
        return m_command == Command::Sites
                   ? QStringLiteral("Liste der CDDB-Hosts konnte nicht empfangen werden.")
                   : QStringLiteral("Tonträgerdaten konnten nicht ermittelnt werden!");
    return {};
}

CddbExchange::Completeness CddbExchange::replyState() const {
    if (!m_buffer.contains('\n'))
        return Completeness::Incomplete;
    if (m_stage != Stage::Command)
        return Completeness::Complete;
    const int code = codeOf(m_buffer);
    // Lists (211 hits, 210 records and server lists) end with a "." line.
    const bool list = code == 210 || (code == 211 && m_command == Command::Query);
    if (list && !listEnded(m_buffer))
        return Completeness::Incomplete;
    return Completeness::Complete;
}

QByteArray CddbExchange::received(QByteArrayView bytes) {
    if (m_stage == Stage::Finished || m_stage == Stage::Connecting)
        return {};
    m_buffer.append(bytes.data(), bytes.size());
    const int code = codeOf(m_buffer);
    if (m_stage == Stage::Command && (code == 211 || code == 210))
        m_status = m_command == Command::Query  ? QStringLiteral("Empfange Query-Liste")
                   : m_command == Command::Read ? QStringLiteral("Empfange Tonträgerdaten")
                                                : QStringLiteral("Empfange Host-Liste");
    // An error reply ends the stage at once; a refused protocol level only keeps level 1.
    const bool error = code >= 400 && code < 600;
    if (error && m_stage != Stage::Quit && m_stage != Stage::Proto &&
        !(m_stage == Stage::Hello && code == 402)) {
        if (code >= 500 && m_stage != Stage::Greeting) {
            if (!m_buffer.contains('\n'))
                return {}; // the server's text is shown: wait for its whole line
            m_serverText = decode(firstLine(m_buffer)).trimmed();
            return fail(Failure::Server);
        }
        return fail(m_stage == Stage::Command ? Failure::Command : Failure::Connection);
    }
    if (replyState() == Completeness::Incomplete)
        return {};
    return advance();
}

QByteArray CddbExchange::advance() {
    const QByteArray reply = m_buffer;
    const int code = codeOf(reply);
    m_buffer.clear();
    switch (m_stage) {
    case Stage::Greeting:
        if (code != 200 && code != 201)
            return fail(Failure::Connection);
        m_status = QStringLiteral("Verbunden mit ") +
                   QString::fromLatin1(firstLine(reply)).section(QLatin1Char(' '), 1, 1);
        m_stage = Stage::Hello;
        return helloLine(m_user, m_host);
    case Stage::Hello:
        if (code != 200 && code != 402)
            return fail(Failure::Connection);
        m_stage = Stage::Proto;
        return protoLine();
    case Stage::Proto:
        // "201 OK, protocol version now: 6"; anything else leaves the server at level 1.
        if (code == 201)
            m_level = kProtocolLevel;
        m_stage = Stage::Command;
        return m_commandLine;
    case Stage::Command: {
        const bool good =
            m_command == Command::Query ? (code == 200 || code == 211 || code == 210) : code == 210;
        if (!good)
            return fail(Failure::Command);
        m_reply = decode(reply);
        m_commandDone = true;
        if (m_command == Command::Sites)
            m_status = QStringLiteral("Host-Liste empfangen");
        if (m_http) {
            m_stage = Stage::Finished;
            return {};
        }
        m_stage = Stage::Quit;
        return quitLine();
    }
    case Stage::Quit:
        if (code == 230)
            m_status = QStringLiteral("Verbindung beendet");
        m_stage = Stage::Finished;
        return {};
    case Stage::Connecting:
    case Stage::Finished:
        break;
    }
    return {};
}

void CddbExchange::connectionClosed() {
    if (m_stage == Stage::Finished)
        return;
    if (m_stage == Stage::Quit) {
        m_stage = Stage::Finished; // the command's reply is in; quit needs no answer
        return;
    }
    fail(m_stage == Stage::Command ? Failure::Command : Failure::Connection);
}

void CddbExchange::timedOut() {
    connectionClosed();
}
