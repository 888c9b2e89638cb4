#include "carrierpage.h"

#include "core/catalogue/carrierorigins.h"
#include "core/catalogue/cataloguetexts.h"
#include "core/catalogue/fieldlabels.h"
#include "core/cd/discfill.h"
#include "core/cd/musicbrainzrelease.h"
#include "core/common/germanformat.h"
#include "core/common/laufzeit.h"
#include "core/common/messageservice.h"
#include "core/shell/appstate.h"
#include "fieldedits.h"
#include "lookupcombo.h"
#include "musicbrainzsearchdialog.h"
#include "tmainttdialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

namespace {

using namespace cataloguetexts;

const MessageButtons kYesNoCancel =
    MessageButton::Yes | MessageButton::No | MessageButton::Cancel | MessageButton::Help;

QLineEdit* textEdit(int length, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setMaxLength(length);
    return e;
}

} // namespace

CarrierPage::CarrierPage(TMainTtDialog& window) : EntryPage(window), m_store(window.db()) {
    build();
}

void CarrierPage::build() {
    auto* grid = new QGridLayout;
    int row = 0;
    auto addKeyed = [&](int key, QWidget* field, const QString& hintText, int column = 0) {
        auto* label = new QLabel(fieldlabels::caption(key), this);
        label->setBuddy(field);
        m_window.addKeyedLabel(label, key);
        m_keyedLabels.append(label);
        setHint(field, hintText);
        grid->addWidget(label, row, column);
        grid->addWidget(field, row, column + 1);
    };
    m_group = textEdit(50, this);
    m_title = textEdit(50, this);
    m_type = new LookupCombo(this);
    m_number = new NumberEdit(7, true, this);
    m_songCount = new NumberEdit(7, true, this);
    m_totalTime = new LaufzeitEdit(this);
    m_direction = new LookupCombo(this);
    m_rating = textEdit(1, this);
    m_rating->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d?")), m_rating));
    m_status = new LookupCombo(this);
    m_year = textEdit(4, this);
    m_year->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,4}")), m_year));
    m_price = new MoneyEdit(this);
    m_currency = new LookupCombo(this);
    m_date = new TDateEdit(this);
    m_pressing = textEdit(5, this);
    m_recording = textEdit(5, this);
    m_condition = textEdit(5, this);
    m_maker = textEdit(30, this);
    m_orderCode = textEdit(20, this);

    addKeyed(10110, m_group, QStringLiteral("Gruppe oder Interpret des Tonträgers (Pflichtfeld)"));
    ++row;
    addKeyed(10115, m_title, QStringLiteral("Titel des Tonträgers"));
    ++row;
    addKeyed(10120, m_type, QStringLiteral("Art des Tonträgers"));
    addKeyed(10125, m_number, QStringLiteral("Laufende Nummer des Tonträgers"), 2);
    ++row;
    addKeyed(10130, m_songCount, QStringLiteral("Anzahl der Lieder auf dem Tonträger"));
    addKeyed(10135, m_totalTime,
             QStringLiteral("Gesamtlaufzeit in Minuten,Sekunden (z. B. 45,30 oder 45:30)"), 2);
    ++row;
    addKeyed(10140, m_direction, QStringLiteral("Musikrichtung des Tonträgers"));
    addKeyed(10145, m_rating, QStringLiteral("Bewertung des Tonträgers (eine Ziffer)"), 2);
    ++row;
    addKeyed(10150, m_status, QStringLiteral("Status des Tonträgers"));
    addKeyed(10155, m_year, QStringLiteral("Erscheinungsjahr (vierstellig)"), 2);
    ++row;
    addKeyed(10160, m_price, QStringLiteral("Kaufpreis des Tonträgers"));
    setHint(m_currency, QStringLiteral("Währung"));
    grid->addWidget(m_currency, row, 2);
    ++row;
    addKeyed(10165, m_date, QStringLiteral("Kaufdatum (TT.MM.JJJJ, Alt+Cursor unten: Kalender)"));
    ++row;
    addKeyed(10170, m_pressing, QStringLiteral("Pressung"));
    addKeyed(10175, m_recording, QStringLiteral("Aufnahme"), 2);
    ++row;
    addKeyed(10180, m_condition, QStringLiteral("Zustand des Tonträgers"));
    ++row;
    addKeyed(10190, m_maker, QStringLiteral("Hersteller oder Label"));
    ++row;
    addKeyed(10185, m_orderCode, QStringLiteral("Bestellcode"));
    ++row;
    m_created = new QLabel(this);
    m_changed = new QLabel(this);
    grid->addWidget(new QLabel(QStringLiteral("Erfaßt am:"), this), row, 0);
    grid->addWidget(m_created, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("zuletzt geändert am:"), this), row, 2);
    grid->addWidget(m_changed, row, 3);
    grid->setRowStretch(row + 1, 1); // a tall window (a tab) keeps the fields together at the top
    setHint(m_created, QStringLiteral("Datum der Erfassung"));
    setHint(m_changed, QStringLiteral("Datum der letzten Änderung"));

    m_cdButton = new QPushButton(QStringLiteral("&CD lesen"), this);
    setHint(m_cdButton, QStringLiteral("Inhaltsverzeichnis der eingelegten CD lesen und beim "
                                       "CDDB-Server nachfragen (rechte Maustaste: CD-Abbild)"));
    m_webButton = new QPushButton(QStringLiteral("Im &Netz suchen..."), this);
    setHint(m_webButton, QStringLiteral("Die Ausgabe bei MusicBrainz suchen: nach Barcode, "
                                        "Katalognummer oder Interpret und Titel"));
    m_driveLabel = new QLabel(QStringLiteral("&Laufwerk:"), this);
    m_drive = new QComboBox(this);
    m_driveLabel->setBuddy(m_drive);
    setHint(m_drive, QStringLiteral("CD-Laufwerk, aus dem gelesen wird"));
    auto* side = new QVBoxLayout;
    side->addWidget(m_cdButton);
    side->addWidget(m_webButton);
    side->addWidget(m_driveLabel);
    side->addWidget(m_drive);
    side->addStretch();
    auto* outer = new QHBoxLayout(this);
    outer->addLayout(grid, 1);
    outer->addLayout(side);

    for (QWidget* w : tabOrder())
        w->installEventFilter(this);
    QWidget* previous = nullptr;
    for (QWidget* w : tabOrder()) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }

    fillLookups();
    connect(m_status, &QComboBox::activated, this, &CarrierPage::statusChosen);
    connect(m_cdButton, &QPushButton::clicked, this, &CarrierPage::readCd);
    connect(m_webButton, &QPushButton::clicked, this, &CarrierPage::searchWeb);

    // CD reading only for a new carrier. Without a drive the button reads a disc image; with
    // one, its context menu offers an image as well.
    AppState& state = m_window.state();
    const bool cd = m_window.isNewWindow();
    m_cdButton->setVisible(cd);
    m_cdButton->setEnabled(cd);
    m_webButton->setVisible(cd);
    m_webButton->setEnabled(cd);
    m_imageAction = new QAction(QStringLiteral("CD-&Abbild wählen..."), m_cdButton);
    connect(m_imageAction, &QAction::triggered, this, &CarrierPage::readCdImage);
    m_cdButton->addAction(m_imageAction);
    m_cdButton->setContextMenuPolicy(Qt::ActionsContextMenu);
    if (!state.cdDrivePresent())
        setHint(m_cdButton, QStringLiteral("Inhaltsverzeichnis eines CD-Abbilds (.cue, .toc, .nrg, "
                                           ".iso) lesen und beim CDDB-Server nachfragen"));
    m_drive->addItems(state.cdDrives);
    const bool choice = cd && state.cdDrives.size() > 1;
    m_drive->setVisible(choice);
    m_driveLabel->setVisible(choice);
    if (choice && state.cdDrives.contains(state.settings.cdImportDriveLetter))
        m_drive->setCurrentText(state.settings.cdImportDriveLetter);
    connect(m_drive, &QComboBox::activated, this,
            [this] { m_window.state().settings.cdImportDriveLetter = m_drive->currentText(); });
}

QList<QWidget*> CarrierPage::tabOrder() const {
    return {m_group,     m_title,     m_type,  m_number,    m_songCount, m_totalTime, m_direction,
            m_rating,    m_status,    m_year,  m_price,     m_currency,  m_date,      m_pressing,
            m_recording, m_condition, m_maker, m_orderCode, m_cdButton,  m_webButton, m_drive};
}

void CarrierPage::fill(const CarrierData& d) {
    const CarrierRecord& c = d.carrier;
    m_group->setText(c.gruppeInterpretText1);
    m_title->setText(c.text2);
    m_type->setKey(c.artDerSchallplatte);
    m_number->setNumber(c.nummerierung);
    m_songCount->setNumber(c.anzahlDerLieder);
    m_totalTime->setValue(c.laufzeitDerSchallplatte);
    m_direction->setKey(c.musikrichtung);
    m_rating->setText(c.bewertung ? QString::number(qint64(*c.bewertung)) : QString());
    m_status->setKey(c.status);
    m_year->setText(c.erscheinungsjahr);
    m_price->setValue(c.kaufpreis);
    m_date->setDate(c.kaufdatum);
    m_pressing->setText(d.info.pressung);
    m_recording->setText(d.info.aufnahme);
    m_condition->setText(d.info.zustand);
    m_maker->setText(d.info.firma);
    m_orderCode->setText(d.info.bestellcode);
    m_currency->setKey(d.info.currency ? OptNumber(*d.info.currency) : std::nullopt);
    m_created->setText(germanformat::formatDate(d.info.creationDate));
    m_changed->setText(germanformat::formatDate(d.info.changeDate));
    // A lent carrier's status belongs to the lending.
    const bool lent = c.status == OptNumber(-1);
    m_status->setEnabled(!lent);
    m_status->setBackgroundRole(lent ? QPalette::Button : QPalette::Base);
}

CarrierData CarrierPage::values() const {
    CarrierData d = m_data;
    CarrierRecord& c = d.carrier;
    c.gruppeInterpretText1 = m_group->text();
    c.text2 = m_title->text();
    c.artDerSchallplatte = m_type->key().value_or(0);
    c.nummerierung = m_number->number().value_or(0);
    c.anzahlDerLieder = m_songCount->number();
    c.laufzeitDerSchallplatte = m_totalTime->value();
    c.musikrichtung = m_direction->key();
    c.bewertung = m_rating->text().isEmpty() ? OptNumber() : OptNumber(m_rating->text().toInt());
    c.status = m_status->key();
    c.erscheinungsjahr = m_year->text();
    c.kaufpreis = m_price->value();
    c.kaufdatum = m_date->date().value_or(QDate());
    d.info.pressung = m_pressing->text();
    d.info.aufnahme = m_recording->text();
    d.info.zustand = m_condition->text();
    d.info.firma = m_maker->text();
    d.info.bestellcode = m_orderCode->text();
    const OptNumber currency = m_currency->key();
    d.info.currency = currency ? OptLong(qint32(*currency)) : std::nullopt;
    return d;
}

CarrierPage::Snapshot CarrierPage::snapshot() const {
    return {values(), m_date->text()};
}

void CarrierPage::takeSnapshot() {
    m_snapshot = snapshot();
}

bool CarrierPage::isChanged() const {
    return !(snapshot() == m_snapshot);
}

void CarrierPage::enter() {
    if (!m_loaded) {
        m_loaded = true;
        const int number = m_window.carrierNumber();
        std::optional<CarrierData> loaded;
        if (number != 0)
            loaded = m_store.load(number);
        m_data = loaded ? *loaded
                        : CarrierStore::newCarrier(m_window.state().settings, QDate::currentDate());
        m_loadedStatus = m_data.carrier.status;
    }
    fill(m_data);
    m_group->setFocus();
    m_group->selectAll();
    takeSnapshot();
    m_window.setEditMenuShown(false);
}

void CarrierPage::focusField(CarrierField field) {
    QWidget* w = m_group;
    switch (field) {
    case CarrierField::MediaType:
        w = m_type;
        break;
    case CarrierField::MusicDirection:
        w = m_direction;
        break;
    case CarrierField::Status:
        w = m_status;
        break;
    case CarrierField::TotalTime:
        w = m_totalTime;
        break;
    default:
        break;
    }
    w->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->selectAll();
}

void CarrierPage::fillLookups() {
    m_type->setRows(m_store.lookupRows(QStringLiteral("MUSIKART")));
    m_direction->setRows(m_store.lookupRows(QStringLiteral("MUSIKDIR")));
    m_status->setRows(m_store.lookupRows(QStringLiteral("MUSIKSTA")));
    m_currency->setCurrencies(m_store.currencies());
}

void CarrierPage::showSecondsMessage() {
    tellOnce([this] {
        m_window.messages().information(kTotalTimeSeconds, kTotalTimeSecondsHelp);
        focusField(CarrierField::TotalTime);
    });
}

bool CarrierPage::save() {
    return saveCarrier();
}

bool CarrierPage::saveAfterQuestion() {
    if (!laufzeit::isValid(m_totalTime->value())) {
        showSecondsMessage();
        return false;
    }
    return saveCarrier();
}

bool CarrierPage::saveCarrier() {
    MessageService& messages = m_window.messages();
    if (!m_date->date()) {
        messages.information(
            QStringLiteral("Das Kaufdatum \"%1\" ist kein gültiges Datum.").arg(m_date->text()),
            30000);
        m_date->setFocus();
        m_date->selectAll();
        return false;
    }
    CarrierData d = values();
    const CarrierCheck check = m_store.check(d.carrier);
    if (!check.ok()) {
        messages.information(check.message, check.helpContext);
        focusField(check.field);
        return false;
    }
    AppState& state = m_window.state();
    const bool first = m_window.carrierNumber() == 0;
    int number = m_window.carrierNumber();
    try {
        if (first) {
            const CdReading* reading = m_window.reading() ? &*m_window.reading() : nullptr;
            number =
                m_store.saveNew(d, reading, state.settings.globalNumbering, QDate::currentDate());
        } else {
            m_store.saveExisting(number, d, m_loadedStatus, QDate::currentDate());
        }
    } catch (const DbError& e) {
        if (e.isKeyViolation())
            messages.error(kCarrierKeyViolation, kCarrierSaveHelp);
        else
            messages.error(databaseFailure(QStringLiteral("Der Tonträger"), e.message()),
                           kCarrierSaveHelp);
        return false;
    }
    // Only a committed save moves the numbering on.
    if (first && state.settings.globalNumbering)
        ++state.settings.globalNumber;
    m_data = d;
    m_loadedStatus = d.carrier.status;
    m_cdButton->setEnabled(false); // a later reading could not be stored
    m_webButton->setEnabled(false);
    // Songs made from the reading used up its tracks; "Neu" starts after them.
    if (first && m_window.reading() && m_window.reading()->found)
        m_window.trackPointer = int(m_window.reading()->tracks.size());
    m_window.carrierStored(number, d.carrier.gruppeInterpretText1, d.carrier.text2);
    m_created->setText(germanformat::formatDate(d.info.creationDate));
    m_changed->setText(germanformat::formatDate(d.info.changeDate));
    takeSnapshot();
    return true;
}

bool CarrierPage::leave(Reason reason) {
    const bool stored = m_window.carrierNumber() != 0;
    const bool changed = isChanged();
    if (!changed && !(reason == Reason::Print && !stored)) {
        if (reason == Reason::PageChange && m_group->text().isEmpty()) {
            m_window.messages().information(kGroupEmpty, kFieldEmptyHelp);
            focusField(CarrierField::Group);
            return false;
        }
        fill(m_data);
        return true;
    }
    QString text;
    MessageButtons buttons = kYesNoCancel;
    int help = 0;
    const QString changedText = QStringLiteral(
        "Die Tonträgerdaten wurden geändert! Sollen die Änderungen gespeichert werden?");
    if (reason == Reason::Close) {
        text = stored ? changedText
                      : QStringLiteral("Die Tonträgerdaten wurden neu erfaßt. Sollen diese Daten "
                                       "gespeichert werden?");
        help = stored ? 30013 : 30012;
    } else if (stored) {
        text = changedText;
        help = 30015;
    } else {
        text = QStringLiteral("Die Tonträgerdaten wurden neu erfaßt und müssen vor der weiteren "
                              "Bearbeitung des Tonträgers gespeichert werden! Sollen die Daten "
                              "gespeichert werden?");
        buttons = MessageButton::Yes | MessageButton::Cancel | MessageButton::Help;
        help = 30014;
    }
    switch (m_window.messages().confirm(text, buttons, help)) {
    case MessageButton::Yes:
        return saveAfterQuestion();
    case MessageButton::No:
        fill(m_data);
        takeSnapshot();
        return true;
    default:
        if (!laufzeit::isValid(m_totalTime->value()))
            showSecondsMessage();
        return false;
    }
}

void CarrierPage::statusChosen() {
    if (m_status->key() != OptNumber(-1))
        return;
    m_window.messages().information(kLentStatus, kLentStatusHelp);
    m_status->setKey(m_loadedStatus);
    m_status->setFocus();
}

void CarrierPage::typeLeft() {
    const AppState& state = m_window.state();
    if (state.settings.globalNumbering || m_number->number().value_or(0) != 0)
        return;
    const OptNumber type = m_type->key();
    const int counter = type ? m_store.typeCounter(*type) : 0;
    if (counter > 0)
        m_number->setNumber(counter);
}

void CarrierPage::totalTimeLeft() {
    if (laufzeit::isValid(m_totalTime->value()))
        return;
    // Back in the field (a save's message put it there), or on the way out of the window.
    const QWidget* focus = QApplication::focusWidget();
    if (focus == m_totalTime || focus == m_window.closeButton())
        return;
    showSecondsMessage();
}

bool CarrierPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        if (watched == m_type)
            typeLeft();
        else if (watched == m_totalTime && isVisible() && leftForAnotherControl(event))
            QTimer::singleShot(0, this, &CarrierPage::totalTimeLeft);
    }
    return EntryPage::eventFilter(watched, event);
}

void CarrierPage::readCd() {
    AppState& state = m_window.state();
    if (!state.cdDrivePresent()) {
        readCdImage();
        return;
    }
    QString drive =
        m_drive->isVisible() ? m_drive->currentText() : state.settings.cdImportDriveLetter;
    if (!state.cdDrives.contains(drive)) {
        drive = state.cdDrives.constFirst();
        state.settings.cdImportDriveLetter = drive;
    }
    readDiscs(driveSource(m_window.messages(), drive));
}

void CarrierPage::readCdImage() {
    // Where the last image of this run was found: the next disc is usually beside it.
    static QString directory;
    readDiscs(imageSource(m_window.messages(), &directory));
}

void CarrierPage::readDiscs(const DiscSource& source) {
    if (!m_cdButton->isEnabled() || !m_window.hooks().cddbLookup)
        return;
    auto lookup = m_window.hooks().cddbLookup(&m_window);
    auto reading = readCds(m_window.messages(), source, *lookup, m_window.hooks().tocReader);
    if (!reading)
        return; // the previous reading stays
    if (reading->found) {
        if (m_group->text().isEmpty())
            m_group->setText(reading->artist.left(50));
        if (m_title->text().isEmpty())
            m_title->setText(reading->title.left(50));
        m_year->setText(discfill::releaseYear(m_year->text(), reading->year));
        // A looked-up genre names a direction only when the list has one of that name.
        if (m_direction->key().value_or(0) == 0)
            if (const auto direction = discfill::musicDirectionFor(m_window.db(), reading->genre))
                m_direction->setKey(double(*direction));
    }
    m_songCount->setNumber(reading->totalTracks);
    m_totalTime->setValue(reading->totalTime);
    m_window.setReading(std::move(*reading));
    m_window.trackPointer = 0;
}

void CarrierPage::searchWeb() {
    if (!m_webButton->isEnabled())
        return;
    AppState& state = m_window.state();
    TMusicBrainzSearchDialog dialog(state.settings, m_window.messages(), &m_window);
    dialog.setTerms(m_group->text().trimmed(), m_title->text().trimmed(),
                    m_orderCode->text().trimmed());
    dialog.setChoiceCheck(
        [this](const musicbrainz::ReleaseTakeOver& chosen) { return confirmNotOwned(chosen); });
    if (dialog.exec() != QDialog::Accepted || !dialog.chosen())
        return; // the previous reading stays
    takeRelease(*dialog.chosen());
}

bool CarrierPage::confirmNotOwned(const musicbrainz::ReleaseTakeOver& chosen) {
    QList<carrierorigins::Owned> owned;
    try {
        // Compared is what the first save would store: typed fields stay.
        CarrierData d = values();
        musicbrainz::fillCarrier(m_window.db(), d, chosen);
        owned = carrierorigins::findOwned(
            m_window.db(), carrierorigins::candidateFor(d.carrier.gruppeInterpretText1,
                                                        d.carrier.text2, chosen.reading.origins));
    } catch (const DbError& e) {
        m_window.messages().error(e.message());
        return false;
    }
    if (owned.isEmpty())
        return true;
    QStringList lines{QStringLiteral("Sie haben diese Ausgabe vielleicht schon:")};
    for (const carrierorigins::Owned& o : owned)
        lines.append(carrierorigins::describe(o));
    lines.append(QString());
    lines.append(QStringLiteral("Trotzdem übernehmen?"));
    return m_window.messages().confirm(lines.join(QLatin1Char('\n')),
                                       MessageButton::Yes | MessageButton::No) ==
           MessageButton::Yes;
}

void CarrierPage::takeRelease(const musicbrainz::ReleaseTakeOver& chosen) {
    CarrierData d = values();
    try {
        musicbrainz::fillCarrier(m_window.db(), d, chosen);
    } catch (const DbError& e) {
        m_window.messages().error(e.message());
        return;
    }
    const CarrierRecord& c = d.carrier;
    m_group->setText(c.gruppeInterpretText1);
    m_title->setText(c.text2);
    m_type->setKey(c.artDerSchallplatte);
    m_year->setText(c.erscheinungsjahr);
    m_maker->setText(d.info.firma);
    m_orderCode->setText(d.info.bestellcode);
    m_songCount->setNumber(c.anzahlDerLieder);
    m_totalTime->setValue(c.laufzeitDerSchallplatte);
    m_window.setReading(chosen.reading);
    m_window.trackPointer = 0;
}
