#include "cddbexchange.h"

#include "cddbtext.h"
#include "cdtoc.h"

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

QByteArray CddbExchange::helloLine(const QString& user, const QString& host) {
    return QStringLiteral("cddb hello %1 %2 WinDsKm32 %3  \r\n")
        .arg(user, host, QStringLiteral("1.5.0"))
        .toLatin1();
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

void CddbExchange::fail(Failure failure) {
    m_failure = failure;
    m_stage = Stage::Finished;
}

QString CddbExchange::failureMessage() const {
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
    if (m_stage == Stage::Command && m_buffer.size() > 0) {
        const int code = codeOf(m_buffer);
        if (code == 211 || code == 210)
            m_status = m_command == Command::Query  ? QStringLiteral("Empfange Query-Liste")
                       : m_command == Command::Read ? QStringLiteral("Empfange Tonträgerdaten")
                                                    : QStringLiteral("Empfange Host-Liste");
    }
    const int code = codeOf(m_buffer);
    // An error reply ends the stage at once, whether or not its line is complete.
    if (code >= 400 && code < 600 && !(m_stage == Stage::Hello && code == 402) &&
        m_stage != Stage::Quit) {
        fail(m_stage == Stage::Command ? Failure::Command : Failure::Connection);
        return quitLine();
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
        if (code != 200 && code != 201) {
            fail(Failure::Connection);
            return {};
        }
        m_status = QStringLiteral("Verbunden mit ") +
                   QString::fromLatin1(firstLine(reply)).section(QLatin1Char(' '), 1, 1);
        m_stage = Stage::Hello;
        return helloLine(m_user, m_host);
    case Stage::Hello:
        if (code != 200 && code != 402) {
            fail(Failure::Connection);
            return quitLine();
        }
        m_stage = Stage::Command;
        return m_commandLine;
    case Stage::Command: {
        const bool good = m_command == Command::Query ? (code == 200 || code == 211) : code == 210;
        if (!good) {
            fail(Failure::Command);
            return quitLine();
        }
        m_reply = QString::fromLatin1(reply);
        m_commandDone = true;
        if (m_command == Command::Sites)
            m_status = QStringLiteral("Host-Liste empfangen");
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
