#include "songpage.h"

#include "carrierpage.h"
#include "core/catalogue/carrierstore.h"
#include "core/catalogue/cataloguetexts.h"
#include "core/catalogue/fieldlabels.h"
#include "core/common/inifile.h"
#include "core/common/laufzeit.h"
#include "core/common/messageservice.h"
#include "core/shell/appstate.h"
#include "fieldedits.h"
#include "lookupcombo.h"
#include "tmainttdialog.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

using namespace cataloguetexts;

const QString kColumnsSection = QStringLiteral("Songlist");
const QString kColumnsKey = QStringLiteral("Columns");

QString number(const OptNumber& v) {
    return v ? QString::number(qint64(*v)) : QString();
}

} // namespace

SongPage::SongPage(TMainTtDialog& window) : EntryPage(window), m_store(window.db()) {
    build();
}

SongPage::~SongPage() = default;

void SongPage::build() {
    setHint(this, QStringLiteral("BPM = Beat per Minute"));
    auto* grid = new QGridLayout;
    auto place = [&](int key, QWidget* field, const QString& hintText, int row, int column) {
        auto* label = new QLabel(fieldlabels::caption(key), this);
        label->setBuddy(field);
        m_window.addKeyedLabel(label, key);
        setHint(field, hintText);
        grid->addWidget(label, row, column);
        grid->addWidget(field, row, column + 1);
    };
    m_side = new SideEdit(this);
    m_number = new NumberEdit(7, false, this);
    m_time = new LaufzeitEdit(this);
    m_title = new QLineEdit(this);
    m_title->setMaxLength(50);
    m_interpreter = new QLineEdit(this);
    m_interpreter->setMaxLength(50);
    m_direction = new LookupCombo(this);
    m_rating = new NumberEdit(7, true, this);
    m_from = new NumberEdit(9, false, this);
    m_to = new NumberEdit(9, false, this);
    m_year = new QLineEdit(this);
    m_year->setMaxLength(4);
    m_bpmFrom = new NumberEdit(5, false, this);
    m_bpmTo = new NumberEdit(5, false, this);
    for (NumberEdit* e : {m_bpmFrom, m_bpmTo})
        e->setValidator(new QIntValidator(0, 32767, e));
    m_dance = new LookupCombo(this);

    place(10510, m_side,
          QStringLiteral("Seite des Tonträgers (bei mehreren CDs die CD), auch A, B ..."), 0, 0);
    place(10515, m_number, QStringLiteral("Nummer des Liedes auf der Seite"), 0, 2);
    place(10520, m_time,
          QStringLiteral("Laufzeit des Liedes in Minuten,Sekunden (z. B. 3,45 oder 3:45)"), 1, 0);
    place(10525, m_title, QStringLiteral("Titel des Liedes"), 1, 2);
    place(10530, m_interpreter, QStringLiteral("Interpret des Liedes"), 2, 0);
    place(10535, m_direction, QStringLiteral("Musikrichtung des Liedes"), 2, 2);
    place(10540, m_rating, QStringLiteral("Bewertung des Liedes"), 3, 0);
    place(10545, m_from, QStringLiteral("Zählwerkstand am Anfang des Liedes"), 3, 2);
    place(10550, m_to, QStringLiteral("Zählwerkstand am Ende des Liedes"), 3, 4);
    place(10555, m_year, QStringLiteral("Erscheinungsjahr des Liedes"), 4, 0);
    place(10560, m_bpmFrom, QStringLiteral("BPM = Beat per Minute: kleinstes Tempo"), 4, 2);
    place(10565, m_bpmTo, QStringLiteral("BPM = Beat per Minute: größtes Tempo"), 4, 4);
    place(10570, m_dance, QStringLiteral("Tanzstil des Liedes"), 5, 0);

    m_list = new QTableWidget(0, 9, this);
    m_list->setHorizontalHeaderLabels({QStringLiteral("Seite"), QStringLiteral("Folgenummer"),
                                       QStringLiteral("Liedtitel"), QStringLiteral("Interpret"),
                                       QStringLiteral("Laufzeit"), QStringLiteral("Zähler von"),
                                       QStringLiteral("Zähler bis"), QStringLiteral("Bewertung"),
                                       QStringLiteral("Erscheinungsjahr")});
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setFocusPolicy(Qt::ClickFocus);
    m_list->verticalHeader()->hide();
    setHint(m_list, QStringLiteral("Die Lieder des Tonträgers"));
    restoreColumns();
    connect(m_list, &QTableWidget::cellClicked, this, [this](int row) { moveTo(row); });

    m_new = new QPushButton(QStringLiteral("&Neu"), this);
    m_delete = new QPushButton(QStringLiteral("L&öschen"), this);
    m_first = new QPushButton(QStringLiteral("|<"), this);
    m_previous = new QPushButton(QStringLiteral("<"), this);
    m_next = new QPushButton(QStringLiteral(">"), this);
    m_last = new QPushButton(QStringLiteral(">|"), this);
    setHint(m_new, QStringLiteral("Ein neues Lied erfassen"));
    setHint(m_delete, QStringLiteral("Das angezeigte Lied löschen"));
    setHint(m_first, QStringLiteral("Erstes Lied (ALT Pos 1)."));
    setHint(m_previous, QStringLiteral("Vorheriges Lied (ALT Cursor links)."));
    setHint(m_next, QStringLiteral("Nächstes Lied (ALT Cursor rechts)."));
    setHint(m_last, QStringLiteral("Letztes Lied (ALT Ende)."));
    connect(m_new, &QPushButton::clicked, this, &SongPage::newSong);
    connect(m_delete, &QPushButton::clicked, this, &SongPage::deleteSong);
    connect(m_first, &QPushButton::clicked, this, [this] { navigate(EntryNavigation::First); });
    connect(m_previous, &QPushButton::clicked, this,
            [this] { navigate(EntryNavigation::Previous); });
    connect(m_next, &QPushButton::clicked, this, [this] { navigate(EntryNavigation::Next); });
    connect(m_last, &QPushButton::clicked, this, [this] { navigate(EntryNavigation::Last); });
    for (QPushButton* b : {m_new, m_delete, m_first, m_previous, m_next, m_last})
        b->setFocusPolicy(Qt::TabFocus);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_new);
    buttons->addWidget(m_delete);
    auto* nav = new QHBoxLayout;
    for (QPushButton* b : {m_first, m_previous, m_next, m_last}) {
        b->setMaximumWidth(32);
        nav->addWidget(b);
    }
    buttons->addLayout(nav);
    buttons->addStretch();
    auto* below = new QHBoxLayout;
    below->addWidget(m_list, 1);
    below->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(below, 1);

    fillLookups();
    m_time->installEventFilter(this);
    applyTabOrder();
}

QList<QWidget*> SongPage::tabOrder() const {
    QList<QWidget*> order{m_side, m_number};
    if (m_window.state().settings.getSongOrder)
        order << m_title << m_time;
    else
        order << m_time << m_title;
    order << m_interpreter << m_direction << m_rating << m_from << m_to << m_year << m_bpmFrom
          << m_bpmTo << m_dance << m_new << m_delete;
    return order;
}

void SongPage::applyTabOrder() {
    const QList<QWidget*> order = tabOrder();
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

int SongPage::carrier() const {
    return m_window.carrierNumber();
}

void SongPage::fill(const SongData& d) {
    const SongRecord& s = d.song;
    m_side->setNumber(s.seiteDerSchallplatte);
    m_number->setNumber(s.nrDesLiedes);
    m_time->setValue(s.laufzeitDesLiedes);
    m_title->setText(s.titelDesLiedes);
    m_interpreter->setText(s.interpretDesLiedes);
    m_direction->setKey(s.musikrichtung);
    m_rating->setNumber(s.bewertung);
    m_from->setNumber(s.zaehlwerkstandVon);
    m_to->setNumber(s.zaehlwerkstandBis);
    m_year->setText(s.erscheinungsjahr);
    m_bpmFrom->setNumber(d.info.bpmVon ? OptNumber(*d.info.bpmVon) : std::nullopt);
    m_bpmTo->setNumber(d.info.bpmBis ? OptNumber(*d.info.bpmBis) : std::nullopt);
    m_dance->setKey(d.info.tanzstil);
}

SongData SongPage::values() const {
    SongData d = m_current;
    SongRecord& s = d.song;
    s.seiteDerSchallplatte = m_side->number().value_or(-1);
    s.nrDesLiedes = m_number->number().value_or(-1);
    s.laufzeitDesLiedes = m_time->value();
    s.titelDesLiedes = m_title->text();
    s.interpretDesLiedes = m_interpreter->text();
    s.musikrichtung = m_direction->key();
    s.bewertung = m_rating->number();
    s.zaehlwerkstandVon = m_from->number();
    s.zaehlwerkstandBis = m_to->number();
    s.erscheinungsjahr = m_year->text();
    const auto bpm = [](const NumberEdit* e) {
        const auto v = e->number();
        return v ? OptShort(qint16(*v)) : std::nullopt;
    };
    d.info.bpmVon = bpm(m_bpmFrom);
    d.info.bpmBis = bpm(m_bpmTo);
    d.info.tanzstil = m_dance->key();
    return d;
}

void SongPage::takeSnapshot() {
    m_snapshot = values();
    m_appended = false;
}

bool SongPage::isChanged() const {
    const SongData now = values();
    return m_appended || !(now.song == m_snapshot.song && now.info == m_snapshot.info);
}

int SongPage::indexOf(double side, double number) const {
    for (int i = 0; i < int(m_songs.size()); ++i) {
        if (m_songs[size_t(i)].seiteDerSchallplatte == side &&
            m_songs[size_t(i)].nrDesLiedes == number)
            return i;
    }
    return -1;
}

void SongPage::reload() {
    m_songs = m_store.songs(carrier());
    refreshList();
}

void SongPage::refreshList() {
    m_list->setRowCount(int(m_songs.size()));
    for (int r = 0; r < int(m_songs.size()); ++r) {
        const SongRecord& s = m_songs[size_t(r)];
        const QStringList cells = {number(s.seiteDerSchallplatte),
                                   number(s.nrDesLiedes),
                                   s.titelDesLiedes,
                                   s.interpretDesLiedes,
                                   laufzeit::format(s.laufzeitDesLiedes.value_or(0)),
                                   number(s.zaehlwerkstandVon),
                                   number(s.zaehlwerkstandBis),
                                   number(s.bewertung),
                                   s.erscheinungsjahr};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = m_list->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                m_list->setItem(r, c, item);
            }
            item->setText(cells[c]);
        }
    }
}

void SongPage::show(int index) {
    m_index = index;
    m_isNew = false;
    m_tookTrack = false;
    const SongRecord& s = m_songs[size_t(index)];
    m_current = {s, m_store.info(carrier(), s.seiteDerSchallplatte, s.nrDesLiedes)};
    fill(m_current);
    m_list->selectRow(index);
    takeSnapshot();
    updateButtons();
}

void SongPage::appendFirstSong() {
    CarrierRecord c = m_window.carrierPage()->stored().carrier;
    c.folgenummerKopf = carrier();
    m_current = SongStore::firstSong(c);
    m_isNew = true;
    m_tookTrack = false;
    m_index = -1;
    const auto& reading = m_window.reading();
    if (reading && !reading->tracks.isEmpty()) {
        const TCDList& track = reading->tracks.constFirst();
        m_window.trackPointer = 1;
        m_tookTrack = true;
        m_current.song.laufzeitDesLiedes = track.length;
        if (!track.audio)
            m_current.song.titelDesLiedes = QStringLiteral("Data-Track");
    }
    fill(m_current);
    m_list->clearSelection();
}

void SongPage::focusFirstField() {
    QLineEdit* first =
        m_window.state().settings.getSongOrder || m_window.reading() ? m_title : m_time;
    first->setFocus();
    first->selectAll();
}

void SongPage::showNear(int index) {
    if (m_songs.empty()) {
        appendFirstSong();
        takeSnapshot();
        updateButtons();
    } else {
        show(std::clamp(index, 0, int(m_songs.size()) - 1));
    }
}

void SongPage::enter() {
    applyTabOrder();
    reload();
    showNear(m_index);
    focusFirstField();
    m_window.setEditMenuShown(false);
}

void SongPage::updateButtons() {
    const int count = int(m_songs.size()) + (m_isNew ? 1 : 0);
    const int position = m_isNew ? int(m_songs.size()) : m_index;
    const bool enabled = isEnabled();
    m_first->setEnabled(enabled && count > 0 && position > 0);
    m_previous->setEnabled(m_first->isEnabled());
    m_last->setEnabled(enabled && count > 0 && position < count - 1);
    m_next->setEnabled(m_last->isEnabled());
    m_delete->setEnabled(!m_isNew && !m_songs.empty());
    m_new->setEnabled(!m_isNew);
}

bool SongPage::saveSong() {
    SongData d = values();
    MessageService& messages = m_window.messages();
    if (!laufzeit::isValid(d.song.laufzeitDesLiedes.value_or(0))) {
        showTimeMessage();
        return false;
    }
    if (d.song.seiteDerSchallplatte < 0 || d.song.nrDesLiedes < 0) {
        messages.information(
            QStringLiteral("Bitte geben Sie die Seite und die Folgenummer des Liedes ein."),
            kSongSaveHelp);
        (d.song.seiteDerSchallplatte < 0 ? static_cast<QLineEdit*>(m_side) : m_number)->setFocus();
        return false;
    }
    std::optional<std::pair<double, double>> original;
    if (!m_isNew)
        original = std::pair(m_current.song.seiteDerSchallplatte, m_current.song.nrDesLiedes);
    try {
        m_store.save(carrier(), d, original, QDate::currentDate());
    } catch (const DbError& e) {
        if (e.isKeyViolation())
            messages.error(kSongKeyViolation, kSongSaveHelp);
        else
            messages.error(databaseFailure(QStringLiteral("Das Lied"), e.message()), kSongSaveHelp);
        return false;
    }
    m_window.markSaved();
    reload();
    const int index = std::max(0, indexOf(d.song.seiteDerSchallplatte, d.song.nrDesLiedes));
    m_index = index;
    m_isNew = false;
    m_tookTrack = false;
    m_current = d;
    m_list->selectRow(index);
    takeSnapshot();
    updateButtons();
    return true;
}

bool SongPage::save() {
    return saveSong();
}

void SongPage::discard() {
    if (m_isNew && m_tookTrack && m_window.trackPointer > 0)
        --m_window.trackPointer;
    if (m_isNew && !m_songs.empty()) {
        show(int(m_songs.size()) - 1);
        return;
    }
    fill(m_current);
    takeSnapshot();
    updateButtons();
}

bool SongPage::askSongQuestion() {
    switch (m_window.messages().confirm(
        QStringLiteral("Die Lieddaten wurden geändert! Sollen die Änderungen gespeichert werden?"),
        MessageButton::Yes | MessageButton::No | MessageButton::Cancel | MessageButton::Help,
        30021)) {
    case MessageButton::Yes:
        return saveSong();
    case MessageButton::No:
        discard();
        return true;
    default:
        if (!laufzeit::isValid(m_time->value()))
            showTimeMessage();
        return false;
    }
}

bool SongPage::leave(Reason) {
    if (isChanged())
        return askSongQuestion();
    fill(m_current);
    return true;
}

bool SongPage::moveTo(int row) {
    if (row < 0)
        return false;
    // The target is known by its key: a save may reorder the list.
    const bool toNew = row >= int(m_songs.size());
    std::pair<double, double> target;
    if (!toNew)
        target = {m_songs[size_t(row)].seiteDerSchallplatte, m_songs[size_t(row)].nrDesLiedes};
    if (isChanged()) {
        if (!askSongQuestion()) {
            if (m_isNew)
                m_list->clearSelection();
            else
                m_list->selectRow(m_index);
            return false;
        }
    } else if (m_isNew && !m_songs.empty()) {
        discard();
    }
    if (toNew || m_songs.empty())
        return true;
    const int index = indexOf(target.first, target.second);
    show(index >= 0 ? index : std::min(row, int(m_songs.size()) - 1));
    return true;
}

void SongPage::navigate(EntryNavigation move) {
    const bool allowed = move == EntryNavigation::First || move == EntryNavigation::Previous
                             ? m_first->isEnabled()
                             : m_last->isEnabled();
    if (!allowed)
        return;
    const int position = m_isNew ? int(m_songs.size()) : m_index;
    const int count = int(m_songs.size());
    int row = 0;
    switch (move) {
    case EntryNavigation::First:
        row = 0;
        break;
    case EntryNavigation::Previous:
        row = position - 1;
        break;
    case EntryNavigation::Next:
        row = position + 1;
        break;
    case EntryNavigation::Last:
        row = count - 1;
        break;
    }
    moveTo(std::clamp(row, 0, std::max(0, count - 1)));
}

void SongPage::newSong() {
    if (m_isNew)
        return;
    if (isChanged() && !askSongQuestion())
        return;
    if (m_songs.empty())
        return;
    const OptNumber dance = m_current.info.tanzstil;
    const SongRecord last = m_songs.back();
    m_current = SongStore::nextSong(last, dance);
    m_isNew = true;
    m_tookTrack = false;
    m_index = -1;
    const auto& reading = m_window.reading();
    const bool fromCd = reading && m_window.trackPointer < reading->tracks.size();
    if (fromCd) {
        const TCDList& track = reading->tracks[m_window.trackPointer++];
        m_tookTrack = true;
        if (m_current.song.seiteDerSchallplatte < track.cdNumber) {
            m_current.song.seiteDerSchallplatte = last.seiteDerSchallplatte + 1;
            m_current.song.nrDesLiedes = 1;
            m_current.info.seiteDerSchallplatte = m_current.song.seiteDerSchallplatte;
            m_current.info.nrDesLiedes = 1;
        }
        m_current.song.laufzeitDesLiedes = track.length;
        if (!track.audio)
            m_current.song.titelDesLiedes = QStringLiteral("Data-Track");
    }
    fill(m_current);
    m_list->clearSelection();
    m_appended = true;
    updateButtons();
    QLineEdit* focus = fromCd || m_window.state().settings.getSongOrder ? m_title : m_time;
    focus->setFocus();
    focus->selectAll();
}

void SongPage::deleteSong() {
    if (m_isNew || m_songs.empty())
        return;
    const SongRecord& s = m_songs[size_t(m_index)];
    if (m_window.messages().confirm(
            QStringLiteral("Soll das Lied \"%1\" wirklich gelöscht werden?")
                .arg(s.titelDesLiedes + QStringLiteral(" / ") + s.interpretDesLiedes),
            MessageButton::Ok | MessageButton::Cancel | MessageButton::Help,
            30022) != MessageButton::Ok)
        return;
    try {
        m_store.remove(carrier(), s.seiteDerSchallplatte, s.nrDesLiedes);
    } catch (const DbError& e) {
        m_window.messages().error(
            QStringLiteral("Das Lied konnte nicht gelöscht werden.\nFehler der Datenbank: %1")
                .arg(e.message()),
            30022);
        return;
    }
    const int old = m_index;
    reload();
    showNear(old);
}

void SongPage::fillLookups() {
    CarrierStore lookups(m_window.db());
    m_direction->setRows(lookups.lookupRows(QStringLiteral("MUSIKDIR")));
    m_dance->setRows(lookups.lookupRows(QStringLiteral("MusikTanzStil")));
}

void SongPage::timeLeft() {
    // Back in the field (a save's message put it there), or on the way out of the window.
    const QWidget* focus = QApplication::focusWidget();
    if (laufzeit::isValid(m_time->value()) || focus == m_time || focus == m_window.closeButton())
        return;
    showTimeMessage();
}

void SongPage::showTimeMessage() {
    tellOnce([this] {
        m_window.messages().information(kSongTimeSeconds, kSongTimeSecondsHelp);
        m_time->setFocus();
        m_time->selectAll();
    });
}

bool SongPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_time && event->type() == QEvent::FocusOut && isVisible() &&
        leftForAnotherControl(event))
        QTimer::singleShot(0, this, &SongPage::timeLeft);
    return EntryPage::eventFilter(watched, event);
}

void SongPage::saveColumns() {
    const QString path = m_window.state().settingsPath();
    IniFile ini = IniFile::load(path).value_or(IniFile());
    ini.setValue(kColumnsSection, kColumnsKey,
                 QString::fromLatin1(m_list->horizontalHeader()->saveState().toBase64()));
    ini.save(path);
}

void SongPage::restoreColumns() {
    const IniFile ini = IniFile::load(m_window.state().settingsPath()).value_or(IniFile());
    if (const auto state = ini.value(kColumnsSection, kColumnsKey))
        m_list->horizontalHeader()->restoreState(QByteArray::fromBase64(state->toLatin1()));
}
