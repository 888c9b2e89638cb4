#include "settingsdialog.h"

#include "core/catalogue/fieldlabels.h"
#include "core/common/germanformat.h"
#include "core/common/messageservice.h"
#include "core/lookup/currencystore.h"
#include "core/shell/appstate.h"
#include "hintfilter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// Colours offered for the CD player's time display, as colour numbers (red in the lowest byte).
const std::pair<const char*, int> kColours[] = {
    {"Schwarz", 0x000000},    {"Dunkelrot", 0x000080}, {"Dunkelgrün", 0x008000}, {"Oliv", 0x008080},
    {"Dunkelblau", 0x800000}, {"Violett", 0x800080},   {"Blaugrün", 0x808000},   {"Grau", 0x808080},
    {"Silber", 0xC0C0C0},     {"Rot", 0x0000FF},       {"Grün", 0x00FF00},       {"Gelb", 0x00FFFF},
    {"Blau", 0xFF0000},       {"Magenta", 0xFF00FF},   {"Türkis", 0xFFFF00},     {"Weiß", 0xFFFFFF},
};

QColor toQColor(int number) {
    return QColor(number & 0xFF, (number >> 8) & 0xFF, (number >> 16) & 0xFF);
}

QIcon swatch(int number) {
    QPixmap p(16, 16);
    p.fill(toQColor(number));
    return QIcon(p);
}

const int kPageHelp[] = {40401, 40409, 40402, 40400};

} // namespace

TSettingsDialog::TSettingsDialog(AppState& state, MessageService& messages, QWidget* parent)
    : QDialog(parent), m_state(state), m_messages(messages), m_edited(state.settings) {
    setWindowTitle(QStringLiteral("Einstellungen"));
    m_pages = new QTabWidget(this);
    m_pages->setUsesScrollButtons(false);
    m_pages->addTab(createGeneralPage(), QStringLiteral("Einstellungen"));
    m_pages->addTab(createCarrierPage(), QStringLiteral("Tonträger"));
    m_pages->addTab(createCdPage(), QStringLiteral("CD-Support"));
    m_pages->addTab(createLabelsPage(), QStringLiteral("Tonträgerbezeichnungen"));

    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    auto* cancel = new QPushButton(QStringLiteral("&Abbruch"), this);
    auto* help = new QPushButton(QStringLiteral("&Hilfe"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { emit helpRequested(kPageHelp[m_pages->currentIndex()]); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);
    m_pageHints = new HintFilter(this);
    for (int i = 0; i < m_pages->count(); ++i) {
        for (QWidget* w : m_pages->widget(i)->findChildren<QWidget*>())
            w->installEventFilter(m_pageHints);
    }
    updateHintDisplay();
}

QCheckBox* TSettingsDialog::addCheck(QWidget* page, const QString& caption, bool checked) {
    auto* box = new QCheckBox(caption, page);
    box->setChecked(checked);
    m_checks.append(box);
    return box;
}

QCheckBox* TSettingsDialog::checkBox(const QString& caption) const {
    for (QCheckBox* box : m_checks) {
        if (box->text() == caption)
            return box;
    }
    return nullptr;
}

void TSettingsDialog::fillCurrencies(QComboBox* box, int selected) {
    try {
        for (const CurrencyRecord& c : CurrencyStore(m_state.db, m_state.settings).list()) {
            box->addItem(c.currency, c.index);
            if (c.index == selected)
                box->setCurrentIndex(box->count() - 1);
        }
    } catch (const DbError& e) {
        m_messages.error(e.message());
    }
}

QWidget* TSettingsDialog::createGeneralPage() {
    auto* page = new QWidget(this);
    auto* hints = addCheck(page, QStringLiteral("&Hinweise anzeigen"), m_edited.showHints);
    auto* toolbar = addCheck(page, QStringLiteral("S&ymbolleiste anzeigen"), m_edited.showToolbar);
    auto* status = addCheck(page, QStringLiteral("S&tatusleiste anzeigen"), m_edited.showStatusbar);
    auto* tabs =
        addCheck(page, QStringLiteral("Fenster als &Registerkarten"), m_edited.tabbedWindows);
    for (QCheckBox* box : {hints, toolbar, status})
        connect(box, &QCheckBox::toggled, this, &TSettingsDialog::updateHintDisplay);

    m_dateUntil = new QDateEdit(germanformat::dateFromDayNumber(m_edited.currencyDate1), page);
    m_dateFrom =
        new QDateEdit(germanformat::dateFromDayNumber(m_edited.currencyDate1).addDays(1), page);
    for (QDateEdit* d : {m_dateUntil, m_dateFrom}) {
        d->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        d->setCalendarPopup(true);
    }
    m_dateFrom->setEnabled(false);
    connect(m_dateUntil, &QDateEdit::dateChanged, this,
            [this](const QDate& d) { m_dateFrom->setDate(d.addDays(1)); });
    m_currencyOld = new QComboBox(page);
    m_currencyNew = new QComboBox(page);
    fillCurrencies(m_currencyOld, m_edited.currencyOld);
    fillCurrencies(m_currencyNew, m_edited.currencyNew);

    auto* until = new QLabel(QStringLiteral("Währung &bis:"), page);
    until->setBuddy(m_dateUntil);
    auto* from = new QLabel(QStringLiteral("Währung a&b:"), page);
    from->setBuddy(m_dateFrom);
    auto* grid = new QGridLayout;
    grid->addWidget(until, 0, 0);
    grid->addWidget(m_dateUntil, 0, 1);
    grid->addWidget(m_currencyOld, 0, 2);
    grid->addWidget(from, 1, 0);
    grid->addWidget(m_dateFrom, 1, 1);
    grid->addWidget(m_currencyNew, 1, 2);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(hints);
    layout->addWidget(toolbar);
    layout->addWidget(status);
    layout->addWidget(tabs);
    layout->addSpacing(12);
    layout->addLayout(grid);
    layout->addStretch();
    return page;
}

QWidget* TSettingsDialog::createCarrierPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(addCheck(page, QStringLiteral("&Zurückerhaltene Tonträgereinträge löschen?"),
                               m_edited.directDeleteLended));
    auto* global =
        addCheck(page, QStringLiteral("Tonträger &global numerieren?"), m_edited.globalNumbering);
    layout->addWidget(global);
    m_globalNumberLabel = new QLabel(QStringLiteral("&Startwert:"), page);
    m_globalNumber = new QSpinBox(page);
    m_globalNumber->setRange(0, 9999999);
    m_globalNumber->setValue(m_edited.globalNumber);
    m_globalNumberLabel->setBuddy(m_globalNumber);
    auto* numberRow = new QHBoxLayout;
    numberRow->addSpacing(20);
    numberRow->addWidget(m_globalNumberLabel);
    numberRow->addWidget(m_globalNumber);
    numberRow->addStretch();
    layout->addLayout(numberRow);
    auto enableNumber = [this](bool on) {
        m_globalNumber->setEnabled(on);
        m_globalNumberLabel->setEnabled(on);
    };
    enableNumber(global->isChecked());
    connect(global, &QCheckBox::toggled, this, enableNumber);
    layout->addWidget(addCheck(page,
                               QStringLiteral("&Druckdialog nach Bearbeiten eines Tonträgers"),
                               m_edited.printDialog));
    layout->addWidget(addCheck(page, QStringLiteral("Laufzeit nach &Bearbeiten neu berechnen"),
                               m_edited.calcDialog));
    layout->addWidget(addCheck(page, QStringLiteral("Liedertitel &vor der Laufzeit erfassen"),
                               m_edited.getSongOrder));
    layout->addWidget(addCheck(
        page, QStringLiteral("Doppelklick bearbeitet den gewählten Tontäger (Tonträgerliste)"),
        m_edited.doubleClickChange));
    layout->addStretch();
    return page;
}

QWidget* TSettingsDialog::createCdPage() {
    auto* page = new QWidget(this);
    auto* group = new QGroupBox(QStringLiteral("C&D-Player bei Schließen"), page);
    auto* groupLayout = new QVBoxLayout(group);
    const char* captions[] = {"A&utomatisch beenden", "&Nach Beendigung fragen", "Lau&fen lassen"};
    for (int i = 0; i < 3; ++i) {
        m_endStatus[i] = new QRadioButton(QString::fromUtf8(captions[i]), group);
        groupLayout->addWidget(m_endStatus[i]);
    }
    m_endStatus[qBound(0, m_edited.cdPlayerEndStatus, 2)]->setChecked(true);
    auto* led = addCheck(page, QStringLiteral("LED's &verwenden"), m_edited.cdUseLed);
    m_colour = new QComboBox(page);
    for (const auto& [name, number] : kColours)
        m_colour->addItem(swatch(number), QString::fromUtf8(name), number);
    showColour();
    connect(led, &QCheckBox::toggled, this, [this](bool on) {
        m_edited.cdUseLed = on;
        showColour();
    });
    connect(m_colour, &QComboBox::activated, this, [this](int index) {
        (m_edited.cdUseLed ? m_edited.cdPlayerColor : m_edited.cdTexttimeColor) =
            m_colour->itemData(index).toInt();
    });
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    layout->addWidget(led);
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(new QLabel(QStringLiteral("Farbe der Zeitanzeige:"), page));
    colourRow->addWidget(m_colour);
    colourRow->addStretch();
    layout->addLayout(colourRow);
    layout->addStretch();
    return page;
}

void TSettingsDialog::showColour() {
    const int number = m_edited.cdUseLed ? m_edited.cdPlayerColor : m_edited.cdTexttimeColor;
    int index = m_colour->findData(number);
    if (index < 0) {
        // A colour from elsewhere stays choosable as it is.
        m_colour->addItem(swatch(number), QStringLiteral("Eigene Farbe"), number);
        index = m_colour->count() - 1;
    }
    m_colour->setCurrentIndex(index);
}

QWidget* TSettingsDialog::createLabelsPage() {
    auto* page = new QWidget(this);
    auto* remove = new QPushButton(QStringLiteral("Umbenannte Bezeichnungen &löschen"), page);
    connect(remove, &QPushButton::clicked, this, &TSettingsDialog::deleteRenamedLabels);
    auto* group = new QGroupBox(QStringLiteral("Umbenannte Bezeichnungen verwenden in"), page);
    auto* groupLayout = new QVBoxLayout(group);
    const char* captions[] = {"Tonträger &bearbeiten (Liste der Tonträger)",
                              "Tonträger &erfassen Dialog",
                              "Tonträger an&zeigen Dialog",
                              "&Tonträger suchen Dialog",
                              "&Lieder suchen Dialog",
                              "&Gefunden Tonträger bearbeiten (Suchergebnis)",
                              "&Verleihverwaltung"};
    for (int i = 0; i < 7; ++i) {
        m_rename[i] = new QCheckBox(QString::fromUtf8(captions[i]), group);
        m_rename[i]->setChecked(m_edited.ttRename[size_t(i)]);
        groupLayout->addWidget(m_rename[i]);
    }
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(remove, 0, Qt::AlignLeft);
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

void TSettingsDialog::deleteRenamedLabels() {
    const MessageButton answer = m_messages.confirm(
        QStringLiteral("Sind Sie sicher, dass Sie alle Umbenennungen löschen möchten ?"),
        MessageButton::Yes | MessageButton::No);
    if (answer != MessageButton::Yes)
        return;
    try {
        fieldlabels::deleteAllRenamed(m_state.db);
    } catch (const DbError& e) {
        m_messages.error(e.message());
        return;
    }
}

void TSettingsDialog::updateHintDisplay() {
    m_pageHints->setHintsEnabled(checkBox(QStringLiteral("&Hinweise anzeigen"))->isChecked());
}

Settings TSettingsDialog::editedSettings() const {
    Settings s = m_edited;
    auto checked = [this](const char* caption) {
        return checkBox(QString::fromUtf8(caption))->isChecked();
    };
    s.showHints = checked("&Hinweise anzeigen");
    s.printDialog = checked("&Druckdialog nach Bearbeiten eines Tonträgers");
    s.showToolbar = checked("S&ymbolleiste anzeigen");
    s.showStatusbar = checked("S&tatusleiste anzeigen");
    s.tabbedWindows = checked("Fenster als &Registerkarten");
    s.calcDialog = checked("Laufzeit nach &Bearbeiten neu berechnen");
    s.directDeleteLended = checked("&Zurückerhaltene Tonträgereinträge löschen?");
    s.globalNumber = m_globalNumber->value();
    s.globalNumbering = checked("Tonträger &global numerieren?");
    s.cdUseLed = checked("LED's &verwenden");
    s.getSongOrder = checked("Liedertitel &vor der Laufzeit erfassen");
    for (int i = 0; i < 3; ++i) {
        if (m_endStatus[i]->isChecked())
            s.cdPlayerEndStatus = i;
    }
    for (int i = 0; i < 7; ++i)
        s.ttRename[size_t(i)] = m_rename[i]->isChecked();
    s.doubleClickChange = checked("Doppelklick bearbeitet den gewählten Tontäger (Tonträgerliste)");
    s.currencyDate1 = germanformat::dayNumber(m_dateUntil->date());
    s.currencyDate2 = germanformat::dayNumber(m_dateFrom->date());
    if (m_currencyOld->currentIndex() >= 0)
        s.currencyOld = m_currencyOld->currentData().toInt();
    if (m_currencyNew->currentIndex() >= 0)
        s.currencyNew = m_currencyNew->currentData().toInt();
    return s;
}
