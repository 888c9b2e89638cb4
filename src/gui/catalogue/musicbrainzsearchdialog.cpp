#include "musicbrainzsearchdialog.h"

#include "core/cd/cddbtext.h"
#include "core/cd/musicbrainzclient.h"
#include "core/common/messageservice.h"
#include "core/settings/settings.h"
#include "entrypage.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QPushButton* button(const QString& caption, const QString& hint, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setAutoDefault(false);
    setHint(b, hint);
    return b;
}

} // namespace

TMusicBrainzSearchDialog::TMusicBrainzSearchDialog(Settings& settings, MessageService& messages,
                                                   QWidget* parent)
    : QDialog(parent), m_settings(settings), m_messages(messages),
      m_client(new MusicBrainzClient(this)) {
    setWindowTitle(QStringLiteral("Bei MusicBrainz suchen"));
    m_artist = new QLineEdit(this);
    m_title = new QLineEdit(this);
    m_barcode = new QLineEdit(this);
    m_catno = new QLineEdit(this);
    m_contact = new QLineEdit(settings.cddbUserName, this);
    setHint(m_artist, QStringLiteral("Gruppe oder Interpret der gesuchten Ausgabe"));
    setHint(m_title, QStringLiteral("Titel der gesuchten Ausgabe"));
    setHint(m_barcode, QStringLiteral("Barcode der Ausgabe (8, 12 oder 13 Ziffern); wird vor "
                                      "Katalognummer, Interpret und Titel gesucht"));
    setHint(m_catno, QStringLiteral("Katalognummer der Ausgabe; wird vor Interpret und Titel "
                                    "gesucht"));
    setHint(m_contact,
            QStringLiteral("Ihre E-Mail-Adresse: MusicBrainz wird sie als Kontakt genannt."));

    m_hits = new QTableWidget(0, 9, this);
    m_hits->setHorizontalHeaderLabels(
        {QStringLiteral("Titel"), QStringLiteral("Interpret"), QStringLiteral("Format"),
         QStringLiteral("Land"), QStringLiteral("Jahr"), QStringLiteral("Label"),
         QStringLiteral("Katalognr."), QStringLiteral("Barcode"), QStringLiteral("Lieder")});
    m_hits->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_hits->setSelectionMode(QAbstractItemView::SingleSelection);
    m_hits->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_hits->setTabKeyNavigation(false);
    m_hits->setWordWrap(false);
    const int w = fontMetrics().horizontalAdvance(QLatin1Char('W'));
    const int widths[] = {14, 12, 8, 3, 4, 9, 8, 10, 4};
    for (int i = 0; i < 9; ++i)
        m_hits->setColumnWidth(i, widths[i] * w);
    m_hits->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_hits->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setHint(m_hits, QStringLiteral("Die gefundenen Ausgaben (Doppelklick: übernehmen)"));
    m_range = new QLabel(this);
    m_status = new QLabel(QStringLiteral("Bereit"), this);
    m_coverBox = new QCheckBox(QStringLiteral("Titel&bild übernehmen"), this);
    m_coverBox->setChecked(true);
    setHint(m_coverBox, QStringLiteral("Das Titelbild der gewählten Ausgabe wird als erstes Bild "
                                       "des Tonträgers gespeichert."));

    m_search = button(QStringLiteral("&Suchen"),
                      QStringLiteral("Bei MusicBrainz nach den Angaben suchen"), this);
    m_previous = button(QStringLiteral("&Vorherige Treffer"),
                        QStringLiteral("Die vorigen 25 Treffer zeigen"), this);
    m_next = button(QStringLiteral("&Weitere Treffer"),
                    QStringLiteral("Die nächsten 25 Treffer zeigen"), this);
    m_take = button(QStringLiteral("&Übernehmen"),
                    QStringLiteral("Die gewählte Ausgabe in den Tonträger übernehmen"), this);
    m_cancel = button(QStringLiteral("&Abbruch"),
                      QStringLiteral("Die laufende Anfrage abbrechen oder den Dialog schließen "
                                     "(Esc)"),
                      this);
    m_search->setDefault(true);

    connect(m_search, &QPushButton::clicked, this, &TMusicBrainzSearchDialog::search);
    connect(m_previous, &QPushButton::clicked, this, &TMusicBrainzSearchDialog::previousPage);
    connect(m_next, &QPushButton::clicked, this, &TMusicBrainzSearchDialog::nextPage);
    connect(m_take, &QPushButton::clicked, this, &TMusicBrainzSearchDialog::take);
    connect(m_hits, &QTableWidget::cellDoubleClicked, this, &TMusicBrainzSearchDialog::take);
    connect(m_hits, &QTableWidget::currentCellChanged, this,
            &TMusicBrainzSearchDialog::updateButtons);
    // "Abbruch" ends a running request, or closes the dialog when none runs.
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        if (m_busy)
            m_client->abort();
        else
            reject();
    });
    for (QLineEdit* e : {m_artist, m_title, m_barcode, m_catno, m_contact})
        connect(e, &QLineEdit::textEdited, this, &TMusicBrainzSearchDialog::searchTyped);
    m_client->setStatusHandler([this](const QString& status) { m_status->setText(status); });

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Interpret:"), m_artist);
    form->addRow(QStringLiteral("&Titel:"), m_title);
    form->addRow(QStringLiteral("Ba&rcode:"), m_barcode);
    form->addRow(QStringLiteral("&Katalognummer:"), m_catno);
    form->addRow(QStringLiteral("&E-Mail-Adresse:"), m_contact);
    auto* pages = new QHBoxLayout;
    pages->addWidget(m_range, 1);
    pages->addWidget(m_previous);
    pages->addWidget(m_next);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_search);
    buttons->addWidget(m_take);
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(pages);
    layout->addWidget(m_hits, 1);
    layout->addWidget(m_coverBox);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    setTabOrder(m_artist, m_title);
    setTabOrder(m_title, m_barcode);
    setTabOrder(m_barcode, m_catno);
    setTabOrder(m_catno, m_contact);
    setTabOrder(m_contact, m_search);
    setTabOrder(m_search, m_hits);
    setTabOrder(m_hits, m_previous);
    setTabOrder(m_previous, m_next);
    setTabOrder(m_next, m_coverBox);
    setTabOrder(m_coverBox, m_take);
    setTabOrder(m_take, m_cancel);
    resize(90 * w, 36 * fontMetrics().height());
    updateButtons();
}

TMusicBrainzSearchDialog::~TMusicBrainzSearchDialog() = default;

void TMusicBrainzSearchDialog::setTimeout(int milliseconds) {
    m_client->setTimeout(milliseconds);
}

void TMusicBrainzSearchDialog::setTerms(const QString& artist, const QString& title,
                                        const QString& catalogueNumber) {
    m_artist->setText(artist);
    m_title->setText(title);
    m_catno->setText(catalogueNumber);
}

void TMusicBrainzSearchDialog::searchTyped() {
    // New terms: Enter searches again instead of taking a hit of the old ones.
    m_take->setDefault(false);
    m_search->setDefault(true);
    updateButtons();
}

void TMusicBrainzSearchDialog::updateButtons() {
    const bool idle = !m_busy;
    const bool named = cddb::userNameProblem(m_contact->text().trimmed()).isEmpty();
    for (QLineEdit* e : {m_artist, m_title, m_barcode, m_catno, m_contact})
        e->setEnabled(idle);
    m_search->setEnabled(idle && named);
    const bool hits = m_hits->rowCount() > 0;
    m_hits->setEnabled(idle && hits);
    m_previous->setEnabled(idle && named && m_page.hasPrevious());
    m_next->setEnabled(idle && named && m_page.hasNext());
    m_take->setEnabled(idle && named && hits && m_hits->currentRow() >= 0);
    m_coverBox->setEnabled(idle);
    // The service answers only programs that name a contact: say why nothing can be searched.
    static const QString needsContact = QStringLiteral(
        "Bitte Ihre E-Mail-Adresse angeben: MusicBrainz beantwortet nur Anfragen mit Kontakt.");
    if (idle && !named)
        m_status->setText(needsContact);
    else if (idle && m_status->text() == needsContact)
        m_status->setText(QStringLiteral("Bereit"));
}

void TMusicBrainzSearchDialog::setBusy(bool busy) {
    m_busy = busy;
    m_status->setText(busy ? QStringLiteral("Baue Verbindung auf") : QStringLiteral("Bereit"));
    updateButtons();
}

bool TMusicBrainzSearchDialog::closeIfRequested() {
    if (!m_closeRequested)
        return false;
    m_closeRequested = false;
    storeSettings();
    QDialog::reject();
    return true;
}

void TMusicBrainzSearchDialog::failed(const QString& message) {
    m_messages.error(QStringLiteral("%1\nVersuchter Server: %2")
                         .arg(message, m_settings.musicBrainzServer.trimmed()));
}

void TMusicBrainzSearchDialog::search() {
    if (m_busy)
        return;
    musicbrainz::SearchTerms terms;
    terms.artist = m_artist->text().trimmed();
    terms.title = m_title->text().trimmed();
    terms.barcode = m_barcode->text().trimmed();
    terms.catalogueNumber = m_catno->text().trimmed();
    if (!terms.barcode.isEmpty())
        terms.kind = musicbrainz::SearchTerms::Kind::Barcode;
    else if (!terms.catalogueNumber.isEmpty())
        terms.kind = musicbrainz::SearchTerms::Kind::CatalogueNumber;
    QString error;
    const std::optional<QString> query = musicbrainz::searchQuery(terms, &error);
    if (!query) {
        m_messages.information(error);
        (terms.kind == musicbrainz::SearchTerms::Kind::Barcode ? m_barcode : m_artist)->setFocus();
        return;
    }
    m_query = *query;
    m_searchedCatalog = terms.kind == musicbrainz::SearchTerms::Kind::CatalogueNumber
                            ? terms.catalogueNumber
                            : QString();
    showPage(0);
}

void TMusicBrainzSearchDialog::nextPage() {
    if (!m_busy && m_page.hasNext())
        showPage(m_page.offset + int(m_page.hits.size()));
}

void TMusicBrainzSearchDialog::previousPage() {
    if (!m_busy && m_page.hasPrevious())
        showPage(std::max(0, m_page.offset - musicbrainz::kHitsPerPage));
}

void TMusicBrainzSearchDialog::showPage(int offset) {
    m_client->configure(m_settings);
    m_client->setContact(m_contact->text().trimmed());
    setBusy(true);
    const MusicBrainzClient::Search result = m_client->search(m_query, offset);
    setBusy(false);
    if (closeIfRequested() || result.outcome == MusicBrainzClient::Outcome::Cancelled)
        return;
    if (result.outcome == MusicBrainzClient::Outcome::NotFound) {
        fillHits({});
        m_messages.information(result.message);
        return;
    }
    if (result.outcome != MusicBrainzClient::Outcome::Found) {
        failed(result.message);
        return;
    }
    fillHits(result.page);
    m_search->setDefault(false);
    m_take->setDefault(true);
    m_hits->setFocus();
}

void TMusicBrainzSearchDialog::fillHits(const musicbrainz::HitPage& page) {
    m_page = page;
    m_hits->clearContents();
    m_hits->setRowCount(int(page.hits.size()));
    QStringList numbers;
    for (int row = 0; row < page.hits.size(); ++row) {
        const musicbrainz::Hit& hit = page.hits[row];
        const QString cells[] = {hit.title,
                                 hit.artist,
                                 hit.format,
                                 hit.country,
                                 hit.year,
                                 hit.labels,
                                 hit.catalogueNumbers,
                                 hit.barcode,
                                 QString::number(hit.tracks)};
        for (int column = 0; column < 9; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setToolTip(cells[column]);
            if (column == 8)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_hits->setItem(row, column, item);
        }
        // Numbered on over the pages, as the range above says.
        numbers.append(QString::number(page.offset + row + 1));
    }
    m_hits->setVerticalHeaderLabels(numbers);
    m_range->setText(page.hits.isEmpty() ? QString() : page.range());
    if (!page.hits.isEmpty())
        m_hits->setCurrentCell(0, 0);
    updateButtons();
}

void TMusicBrainzSearchDialog::take() {
    const int row = m_hits->currentRow();
    if (m_busy || row < 0 || row >= m_page.hits.size())
        return;
    const QString id = m_page.hits[row].id;
    m_client->configure(m_settings);
    m_client->setContact(m_contact->text().trimmed());
    setBusy(true);
    const MusicBrainzClient::ReleaseLookup result = m_client->release(id);
    setBusy(false);
    if (closeIfRequested() || result.outcome == MusicBrainzClient::Outcome::Cancelled)
        return;
    if (result.outcome != MusicBrainzClient::Outcome::Found) {
        failed(result.message);
        return;
    }
    musicbrainz::ReleaseTakeOver chosen = musicbrainz::takeOver(result.release, m_searchedCatalog);
    if (m_coverBox->isChecked()) {
        setBusy(true);
        QString hint; // no cover is no failure: the carrier is taken without one
        chosen.reading.cover = m_client->frontCover(id, &hint);
        setBusy(false);
        // Neither a cover nor a reason for none: "Abbruch" ended the request.
        if (closeIfRequested() || (chosen.reading.cover.isEmpty() && hint.isEmpty()))
            return;
    }
    if (m_check && !m_check(chosen))
        return;
    if (!chosen.hint.isEmpty())
        m_messages.information(chosen.hint);
    m_chosen = std::move(chosen);
    storeSettings();
    accept();
}

void TMusicBrainzSearchDialog::storeSettings() {
    m_settings.cddbUserName = m_contact->text().trimmed();
}

void TMusicBrainzSearchDialog::reject() {
    if (m_busy) {
        // Closing while a request runs (Escape, Abbruch, the window's close button) ends the
        // request, then the dialog.
        m_closeRequested = true;
        m_client->abort();
        return;
    }
    storeSettings();
    QDialog::reject();
}
