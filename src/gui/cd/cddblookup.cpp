#include "cddblookup.h"

#include "core/cd/cddbclient.h"
#include "core/cd/cdtoc.h"
#include "core/cd/discfill.h"
#include "core/cd/musicbrainzclient.h"
#include "core/common/messageservice.h"
#include "core/settings/settings.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHostInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// A failed look-up says which server it tried, so a wrong or unreachable entry can be found.
QString withServer(const QString& message, const QString& server) {
    return QStringLiteral("%1\nVersuchter Server: %2").arg(message, server);
}

QString hostAndPort(const QString& host, int port) {
    return QStringLiteral("%1:%2").arg(host).arg(port);
}

QString hostAndPort(const QUrl& url) {
    return hostAndPort(url.host(), url.port(url.scheme() == QLatin1String("http") ? 80 : 443));
}

} // namespace

TCDDBLookup::TCDDBLookup(Settings& settings, const QString& dataDirectory, MessageService& messages,
                         QWidget* parent)
    : QDialog(parent), m_settings(settings), m_dataDirectory(dataDirectory), m_messages(messages),
      m_client(new CddbClient(this)), m_musicBrainz(new MusicBrainzClient(this)) {
    setWindowTitle(QStringLiteral("CDDB-Server abfragen"));
    m_source = new QComboBox(this);
    m_source->addItems({QStringLiteral("CDDB"), QStringLiteral("MusicBrainz")});
    m_source->setToolTip(QStringLiteral("Woher die Titel der CD kommen: von einem CDDB-Server "
                                        "oder von MusicBrainz (mit Titelbild)"));
    setSource(settings.lookupSource == 1 ? Source::MusicBrainz : Source::Cddb);
    m_coverBox = new QCheckBox(QStringLiteral("&Titelbild übernehmen"), this);
    m_coverBox->setChecked(true);
    m_coverBox->setToolTip(QStringLiteral(
        "Das Titelbild der gewählten Ausgabe wird als erstes Bild des Tonträgers gespeichert."));
    m_user = new QLineEdit(settings.cddbUserName, this);
    m_servers = new QComboBox(this);
    m_discIdLabel = new QLabel(this);
    m_hits = new QTreeWidget(this);
    m_hits->setHeaderLabels(
        {QStringLiteral("Kategorie"), QStringLiteral("CD ID"), QStringLiteral("Titel")});
    m_hits->setRootIsDecorated(false);
    const int w = fontMetrics().horizontalAdvance(QLatin1Char('W'));
    m_hits->setColumnWidth(0, 12 * w);
    m_hits->setColumnWidth(1, 6 * w);
    m_hits->setColumnWidth(2, 40 * w);
    m_status = new QLabel(QStringLiteral("Bereit"), this);
    m_connect = new QPushButton(QStringLiteral("&Verbinden"), this);
    m_refresh = new QPushButton(QStringLiteral("A&ktualisieren"), this);
    m_start = new QPushButton(QStringLiteral("&Start"), this);
    m_cancel = new QPushButton(QStringLiteral("&Abbruch"), this);
    m_client->setStatusHandler([this](const QString& status) { m_status->setText(status); });
    m_musicBrainz->setStatusHandler([this](const QString& status) { m_status->setText(status); });
    connect(m_source, &QComboBox::currentIndexChanged, this, &TCDDBLookup::updateButtons);
    connect(m_hits, &QTreeWidget::currentItemChanged, this, &TCDDBLookup::updateButtons);

    m_user->setToolTip(QStringLiteral(
        "Ihre E-Mail-Adresse: Sie wird dem CDDB-Server mit jeder Anfrage gesandt, wie er es "
        "verlangt, und MusicBrainz als Kontakt genannt."));
    connect(m_user, &QLineEdit::editingFinished, this, [this] {
        const QString name = m_user->text().trimmed();
        if (!name.isEmpty() && name != m_refusedName) {
            if (const QString problem = cddb::userNameProblem(name); !problem.isEmpty()) {
                m_refusedName = name; // told once, not again on every focus change
                m_messages.error(problem);
            }
        }
        updateButtons();
    });
    connect(m_connect, &QPushButton::clicked, this, &TCDDBLookup::query);
    connect(m_refresh, &QPushButton::clicked, this, &TCDDBLookup::refreshHosts);
    connect(m_start, &QPushButton::clicked, this, &TCDDBLookup::read);
    connect(m_hits, &QTreeWidget::itemDoubleClicked, this, &TCDDBLookup::read);
    // "Abbruch" ends a running exchange, or closes the dialog when none runs.
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        if (m_busy) {
            m_client->abort();
            m_musicBrainz->abort();
        } else {
            reject();
        }
    });

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Quelle:"), m_source);
    form->addRow(QStringLiteral("&E-Mail-Adresse:"), m_user);
    form->addRow(QStringLiteral("CDDB-&Server:"), m_servers);
    form->addRow(QStringLiteral("Errechnete CD-ID:"), m_discIdLabel);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_connect);
    buttons->addWidget(m_refresh);
    buttons->addWidget(m_start);
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_hits, 1);
    layout->addWidget(m_coverBox);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    resize(640, 420);

    loadServers();
    updateButtons();
}

TCDDBLookup::~TCDDBLookup() = default;

void TCDDBLookup::setTimeout(int milliseconds) {
    m_client->setTimeout(milliseconds);
    m_musicBrainz->setTimeout(milliseconds);
}

TCDDBLookup::Source TCDDBLookup::source() const {
    return m_source->currentIndex() == 1 ? Source::MusicBrainz : Source::Cddb;
}

void TCDDBLookup::setSource(Source source) {
    m_source->setCurrentIndex(source == Source::MusicBrainz ? 1 : 0);
}

void TCDDBLookup::setDisc(const TCDToc& toc, quint32 discId, qint32 leadOutSeconds, int tracks) {
    m_toc = toc;
    m_discId = discId;
    m_leadOutSeconds = leadOutSeconds;
    m_tracks = tracks;
    m_discIdLabel->setText(discIdForDisplay(discId));
}

QString TCDDBLookup::statusText() const {
    return m_status->text();
}

QString TCDDBLookup::shownDiscId() const {
    return m_discIdLabel->text();
}

void TCDDBLookup::loadServers() {
    QString first;
    const auto lines = cddb::loadServerList(cddb::serverListPath(m_dataDirectory), &first);
    m_servers->clear();
    if (!lines) {
        m_messages.error(QStringLiteral("CDDB-Hostliste konnte nicht geladen werden!"));
        return;
    }
    m_servers->addItems(*lines);
    const int stored = m_servers->findText(m_settings.cddbHost);
    m_servers->setCurrentIndex(stored >= 0 ? stored : std::max(0, m_servers->findText(first)));
}

void TCDDBLookup::updateButtons() {
    const bool named = cddb::userNameProblem(m_user->text()).isEmpty();
    const bool idle = !m_busy;
    const bool cddb = source() == Source::Cddb;
    m_source->setEnabled(idle);
    m_user->setEnabled(idle);
    m_servers->setEnabled(idle && cddb);
    m_connect->setEnabled(idle && named && (!cddb || m_servers->count() > 0));
    m_refresh->setEnabled(idle && named && cddb);
    const bool hits = m_hits->topLevelItemCount() > 0;
    m_start->setEnabled(idle && hits);
    m_hits->setEnabled(idle && hits);
    const QTreeWidgetItem* hit = m_hits->currentItem();
    m_coverBox->setEnabled(idle && hit && hit->data(0, Qt::UserRole).toInt() >= 0);
}

void TCDDBLookup::setBusy(bool busy) {
    m_busy = busy;
    m_status->setText(busy ? QStringLiteral("Baue Verbindung auf") : QStringLiteral("Bereit"));
    updateButtons();
}

bool TCDDBLookup::runExchange(CddbExchange& exchange) {
    const auto server = cddb::parseServerLine(m_servers->currentText());
    if (!server) {
        m_messages.error(
            withServer(QStringLiteral("Internetverbindung konnte nicht aufgebaut werden!"),
                       m_servers->currentText()));
        return false;
    }
    setBusy(true);
    const bool ok = m_client->run(*server, exchange);
    setBusy(false);
    if (!ok && !m_closeRequested)
        m_messages.error(
            withServer(exchange.failureMessage(), hostAndPort(server->host, server->port)));
    closeIfRequested();
    return ok;
}

bool TCDDBLookup::closeIfRequested() {
    if (!m_closeRequested)
        return false;
    m_closeRequested = false;
    storeSettings();
    QDialog::reject();
    return true;
}

void TCDDBLookup::query() {
    if (m_busy)
        return;
    if (source() == Source::MusicBrainz) {
        queryMusicBrainz();
        return;
    }
    QList<qint32> offsets;
    for (int i = 0; i < m_tracks; ++i)
        offsets.append(m_toc[size_t(i)].frameOffset);
    CddbExchange exchange(CddbExchange::Command::Query,
                          CddbExchange::queryLine(m_discId, m_tracks, offsets, m_leadOutSeconds),
                          m_user->text().trimmed(), QHostInfo::localHostName());
    if (!runExchange(exchange))
        return;
    m_hits->clear();
    m_releases.clear();
    for (const cddb::Hit& hit : cddb::parseQueryReply(exchange.reply()))
        new QTreeWidgetItem(m_hits, {hit.category, hit.discId, hit.title});
    for (int i = 0; i < m_hits->topLevelItemCount(); ++i)
        m_hits->topLevelItem(i)->setData(0, Qt::UserRole, -1); // a CDDB hit, read from the server
    if (m_hits->topLevelItemCount() > 0)
        m_hits->setCurrentItem(m_hits->topLevelItem(0));
    updateButtons();
}

void TCDDBLookup::queryMusicBrainz() {
    m_musicBrainz->configure(m_settings);
    m_musicBrainz->setContact(m_user->text().trimmed());
    setBusy(true);
    const MusicBrainzClient::Lookup result = m_musicBrainz->lookup(m_toc, m_tracks);
    setBusy(false);
    if (closeIfRequested())
        return;
    if (result.outcome == MusicBrainzClient::Outcome::Cancelled)
        return;
    if (result.outcome != MusicBrainzClient::Outcome::Found) {
        m_messages.error(
            withServer(result.message, hostAndPort(QUrl(m_settings.musicBrainzServer.trimmed()))));
        return;
    }
    m_hits->clear();
    m_releases = result.releases;
    for (int i = 0; i < m_releases.size(); ++i) {
        auto* item = new QTreeWidgetItem(m_hits, {QStringLiteral("MusicBrainz"),
                                                  m_releases[i].id.left(8), m_releases[i].label()});
        item->setData(0, Qt::UserRole, i);
    }
    m_hits->setCurrentItem(m_hits->topLevelItem(0));
    updateButtons();
}

void TCDDBLookup::takeRecord(const cddb::DiscRecord& disc, const QList<CarrierOrigin>& origins) {
    m_origins = origins;
    m_artist = disc.artist;
    m_title = disc.title;
    m_titles = disc.tracks;
    m_extendedData = disc.extendedData;
    m_year = disc.year;
    m_genre = disc.genre;
    m_success = true;
    storeSettings();
    accept();
}

void TCDDBLookup::read() {
    QTreeWidgetItem* hit = m_hits->currentItem();
    if (m_busy || !hit)
        return;
    // A MusicBrainz hit holds its release already; only the cover is still to fetch.
    if (const int release = hit->data(0, Qt::UserRole).toInt(); release >= 0) {
        m_cover.clear();
        m_coverHint.clear();
        if (m_coverBox->isChecked()) {
            setBusy(true);
            m_cover = m_musicBrainz->frontCover(m_releases[release].id, &m_coverHint);
            setBusy(false);
            if (closeIfRequested())
                return;
        }
        takeRecord(m_releases[release].toDiscRecord(), discfill::origins(m_releases[release]));
        return;
    }
    CddbExchange exchange(CddbExchange::Command::Read,
                          CddbExchange::readLine(hit->text(0), hit->text(1)),
                          m_user->text().trimmed(), QHostInfo::localHostName());
    if (!runExchange(exchange))
        return;
    m_cover.clear();
    takeRecord(cddb::parseRecord(exchange.reply()));
}

void TCDDBLookup::refreshHosts() {
    if (m_busy)
        return;
    CddbExchange exchange(CddbExchange::Command::Sites, CddbExchange::sitesLine(),
                          m_user->text().trimmed(), QHostInfo::localHostName());
    if (!runExchange(exchange))
        return;
    if (!cddb::writeServerList(cddb::serverListPath(m_dataDirectory), exchange.reply())) {
        m_messages.error(QStringLiteral("Liste der CDDB-Hosts konnte nicht empfangen werden."));
        return;
    }
    const QString selected = m_servers->currentText();
    loadServers();
    if (const int again = m_servers->findText(selected); again >= 0)
        m_servers->setCurrentIndex(again);
    m_status->setText(QStringLiteral("Bereit"));
    updateButtons();
}

void TCDDBLookup::storeSettings() {
    m_settings.cddbHost = m_servers->currentText();
    m_settings.cddbUserName = m_user->text().trimmed();
    m_settings.lookupSource = source() == Source::MusicBrainz ? 1 : 0;
}

void TCDDBLookup::reject() {
    if (m_busy) {
        // Closing while an exchange runs ends the exchange, then the dialog.
        m_closeRequested = true;
        m_client->abort();
        m_musicBrainz->abort();
        return;
    }
    storeSettings();
    QDialog::reject();
}

void TCDDBLookup::closeEvent(QCloseEvent* event) {
    if (m_busy) {
        m_closeRequested = true;
        m_client->abort();
        m_musicBrainz->abort();
        event->ignore();
        return;
    }
    storeSettings();
    QDialog::closeEvent(event);
}
