#include "cdplayerwindow.h"

#include "core/cd/cdplayerlookup.h"
#include "core/common/laufzeit.h"
#include "core/common/messageservice.h"
#include "core/shell/appstate.h"
#include "leddisplay.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kNoDisc = QStringLiteral("Keine Audio-CD eingelegt");
const QString kUnknownDisc = QStringLiteral("Unbekannte Audio-CD eingelegt");
constexpr int kHelpPlayer = 10005;
constexpr int kHelpEndQuestion = 35001;

enum Display { TrackNo, Tracks, TrackPos, TrackLength, DiscPos, DiscLength };

QToolButton* playerButton(QStyle::StandardPixmap icon, const char* theme, const QString& hint,
                          QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setIcon(QIcon::fromTheme(QString::fromLatin1(theme), parent->style()->standardIcon(icon)));
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setAutoRaise(false);
    b->setIconSize(QSize(20, 20));
    return b;
}

} // namespace

TCDPlayerWindow::TCDPlayerWindow(AppState& state, MessageService& messages, CdPlayer& player,
                                 QWidget* parent)
    : QWidget(parent), m_state(state), m_messages(messages), m_player(player),
      m_random(std::random_device{}()) {
    setWindowTitle(QStringLiteral("CD-Player"));
    buildControls();
    fillDriveList();
    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, [this] {
        // Ticks are skipped while the window is minimised; the device plays on.
        const QWidget* frame = parentWidget() ? parentWidget() : this;
        if (!frame->isMinimized())
            tick();
    });
    connect(&m_player, &CdPlayer::playEnded, this, &TCDPlayerWindow::playEnded);
    start();
}

TCDPlayerWindow::~TCDPlayerWindow() = default;

void TCDPlayerWindow::buildControls() {
    auto* layout = new QVBoxLayout(this);

    auto* driveRow = new QHBoxLayout;
    m_driveLabel = new QLabel(QStringLiteral("&Laufwerk:"), this);
    m_drives = new QComboBox(this);
    m_drives->setMinimumContentsLength(24);
    m_driveLabel->setBuddy(m_drives);
    m_imageButton = new QPushButton(QStringLiteral("CD-&Abbild..."), this);
    m_imageButton->setToolTip(QStringLiteral("Spielt ein CD-Abbild statt einer CD ab"));
    m_imageButton->setStatusTip(m_imageButton->toolTip());
    driveRow->addWidget(m_driveLabel);
    driveRow->addWidget(m_drives, 10);
    driveRow->addStretch(1); // keeps the button its size while the list is hidden
    driveRow->addWidget(m_imageButton);
    layout->addLayout(driveRow);
    connect(m_drives, &QComboBox::activated, this, [this] { DriveChange(); });
    connect(m_imageButton, &QPushButton::clicked, this, [this] { ImageClick(); });

    auto* fields = new QGridLayout;
    const QString captions[4] = {QStringLiteral("Gruppe:"), QStringLiteral("Titel:"),
                                 QStringLiteral("Liedtitel:"), QStringLiteral("Interpret:")};
    QLabel** values[4] = {&m_group, &m_title, &m_songTitle, &m_interpreter};
    for (int i = 0; i < 4; ++i) {
        fields->addWidget(new QLabel(captions[i], this), i, 0);
        *values[i] = new QLabel(this);
        (*values[i])->setFrameShape(QFrame::StyledPanel);
        (*values[i])->setMinimumWidth(320);
        fields->addWidget(*values[i], i, 1);
    }
    fields->setColumnStretch(1, 1);
    layout->addLayout(fields);

    auto* displays = new QGridLayout;
    const QString rows[3] = {QStringLiteral("Lied:"), QStringLiteral("Liedlaufzeit:"),
                             QStringLiteral("CD-Laufzeit:")};
    for (int row = 0; row < 3; ++row) {
        displays->addWidget(new QLabel(rows[row], this), row, 0);
        displays->addWidget(new QLabel(QStringLiteral("von"), this), row, 3);
        for (int k = 0; k < 2; ++k) {
            const int index = row * 2 + k;
            m_leds[index] = new TLedDisplay(row == 0 ? 3 : 5, row != 0, this);
            m_texts[index] = new QLabel(this);
            m_texts[index]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_texts[index]->setMinimumWidth(60);
            const int column = k == 0 ? 1 : 4;
            displays->addWidget(m_leds[index], row, column);
            displays->addWidget(m_texts[index], row, column + 1);
        }
    }
    displays->setColumnStretch(6, 1);
    layout->addLayout(displays);

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setToolTip(QStringLiteral("Stelle im Lied"));
    m_slider->setStatusTip(m_slider->toolTip());
    layout->addWidget(m_slider);
    connect(m_slider, &QSlider::sliderMoved, this, [this](int second) {
        m_leds[TrackPos]->setSeconds(second);
        m_texts[TrackPos]->setText(laufzeit::format(laufzeit::fromSeconds(second)));
    });
    connect(m_slider, &QSlider::sliderReleased, this,
            [this] { SliderChosen(m_slider->sliderPosition()); });
    connect(m_slider, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove && action != QAbstractSlider::SliderNoAction)
            SliderChosen(m_slider->sliderPosition());
    });

    auto* tracks = new QGridLayout;
    tracks->setSpacing(2);
    for (int k = 1; k <= kTrackButtons; ++k) {
        auto* b = new TLedButton(QString::number(k), this);
        // The four rows keep their place, so the window does not change size with the disc.
        QSizePolicy policy = b->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        b->setSizePolicy(policy);
        b->hide();
        connect(b, &QAbstractButton::clicked, this, [this, k] { TrackClick(k); });
        tracks->addWidget(b, (k - 1) / 16, (k - 1) % 16);
        m_trackButtons.append(b);
    }
    tracks->setColumnStretch(16, 1);
    layout->addLayout(tracks);

    auto* buttons = new QHBoxLayout;
    m_play = playerButton(QStyle::SP_MediaPlay, "media-playback-start", QStringLiteral("Abspielen"),
                          this);
    m_pause =
        playerButton(QStyle::SP_MediaPause, "media-playback-pause", QStringLiteral("Pause"), this);
    m_stop =
        playerButton(QStyle::SP_MediaStop, "media-playback-stop", QStringLiteral("Anhalten"), this);
    m_previous = playerButton(QStyle::SP_MediaSkipBackward, "media-skip-backward",
                              QStringLiteral("Vorheriges Lied"), this);
    m_next = playerButton(QStyle::SP_MediaSkipForward, "media-skip-forward",
                          QStringLiteral("Nächstes Lied"), this);
    m_eject = playerButton(QStyle::SP_ArrowUp, "media-eject", QStringLiteral("CD auswerfen"), this);
    for (QToolButton* b : {m_play, m_pause, m_stop, m_previous, m_next, m_eject})
        buttons->addWidget(b);
    buttons->addStretch();
    connect(m_play, &QToolButton::clicked, this, [this] { PlayClick(); });
    connect(m_pause, &QToolButton::clicked, this, [this] { PauseClick(); });
    connect(m_stop, &QToolButton::clicked, this, [this] { StopClick(); });
    connect(m_next, &QToolButton::clicked, this, [this] { NextClick(); });
    connect(m_previous, &QToolButton::clicked, this, [this] { PreviousClick(); });
    connect(m_eject, &QToolButton::clicked, this, [this] { EjectClick(); });

    auto* options = new QGroupBox(QStringLiteral("Abspieloptionen"), this);
    auto* optionLayout = new QHBoxLayout(options);
    const QString optionCaptions[4] = {
        QStringLiteral("&Nichts"), QStringLiteral("&Zufallsgenerator"),
        QStringLiteral("&Titel wiederholen"), QStringLiteral("Alle Titel &wiederholen")};
    for (int i = 0; i < 4; ++i) {
        m_options[i] = new QRadioButton(optionCaptions[i], options);
        optionLayout->addWidget(m_options[i]);
        connect(m_options[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optionChosen(PlayOption(i));
        });
    }
    m_options[int(PlayOption::None)]->setChecked(true);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(options, 1);
    bottom->addLayout(buttons);
    layout->addLayout(bottom);

    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    auto* close = new QPushButton(QStringLiteral("&Schließen"), this);
    connect(close, &QPushButton::clicked, this, [this] {
        // The frame closes with the window, so the end question decides for both.
        if (QWidget* frame = parentWidget())
            frame->close();
        else
            this->close();
    });
    closeRow->addWidget(close);
    layout->addLayout(closeRow);
}

// --- sources -------------------------------------------------------------------------

void TCDPlayerWindow::fillDriveList() {
    m_drives->clear();
    for (const QString& drive : std::as_const(m_state.cdDrives))
        m_drives->addItem(drive, drive);
    const QString stored = m_state.settings.cdDriveLetter;
    if (!stored.isEmpty() && m_drives->findData(stored) < 0 && QFileInfo(stored).isFile())
        m_drives->addItem(stored, stored);
    const int index = m_drives->findData(stored);
    m_drives->setCurrentIndex(index >= 0 ? index : 0);
    const bool several = m_drives->count() > 1;
    m_drives->setVisible(several);
    m_driveLabel->setVisible(several);
}

QString TCDPlayerWindow::currentSource() const {
    return m_drives->currentData().toString();
}

void TCDPlayerWindow::ImageClick() {
    FileChoice choice;
    choice.title = QStringLiteral("CD-Abbild öffnen");
    choice.filter = QStringLiteral("CD-Abbilder (*.cue *.toc *.nrg);;Alle Dateien (*)");
    const QString current = currentSource();
    if (QFileInfo(current).isFile())
        choice.directory = QFileInfo(current).absolutePath();
    const QString path = m_messages.chooseOpenFile(choice);
    if (!path.isEmpty())
        openImage(path);
}

void TCDPlayerWindow::openImage(const QString& path) {
    if (m_drives->findData(path) < 0)
        m_drives->addItem(path, path);
    m_drives->setCurrentIndex(m_drives->findData(path));
    const bool several = m_drives->count() > 1;
    m_drives->setVisible(several);
    m_driveLabel->setVisible(several);
    DriveChange();
}

void TCDPlayerWindow::DriveChange() {
    const QString source = currentSource();
    if (source == m_source)
        return;
    m_player.stop();
    m_player.close();
    m_state.settings.cdDriveLetter = source;
    hideTrackButtons();
    start();
    setButtonsPlaying(false);
}

// --- start and tick -------------------------------------------------------------------

void TCDPlayerWindow::start() {
    const CdPlayerStatus s = m_player.status();
    const QString source = currentSource();
    const bool same = !source.isEmpty() && s.source == source;
    m_identified = false;
    m_codesRead = false;
    m_identifyPending = true;
    m_track = 0;
    m_shownSong = 0;
    m_source = source;
    if (!source.isEmpty())
        m_player.open(source); // the source already open plays on
    m_player.setPlayOption(m_option);
    setButtonsPlaying(same && s.mode == CdMode::Playing);
    m_timer->start();
    showOnlyGroup(kUnknownDisc);
    m_doorOpen = same && s.mode == CdMode::Open;
    applyColoursAndMode();
    zeroDisplays();
    m_tickCounter = 29; // identification at the first tick
}

void TCDPlayerWindow::tick() {
    const CdPlayerStatus s = m_player.status();
    if (m_identifyPending && ++m_tickCounter >= 30) {
        m_tickCounter = 0;
        identify(s);
    }
    updateDisplays(s);
}

bool TCDPlayerWindow::discPresent(const CdPlayerStatus& s) const {
    // A status about another source is one from before the last change of source.
    return s.hasDisc() && s.source == m_source;
}

void TCDPlayerWindow::identify(const CdPlayerStatus& s) {
    if (!discPresent(s) || m_identified)
        return;
    if (!m_codesRead) { // once per disc; later attempts use them again
        m_discId = s.discId;
        m_legacyCode = s.legacyCode;
        m_codesSerial = s.discSerial;
        m_codesRead = true;
    }
    auto match = cdplayerlookup::findDiscId(m_state.db, m_discId);
    if (!match && m_legacyCode != -1)
        match = cdplayerlookup::findLegacyCode(m_state.db, m_legacyCode);
    const auto carrier = match ? cdplayerlookup::carrier(m_state.db, match->carrier)
                               : std::optional<cdplayerlookup::Heading>();
    if (carrier) {
        m_identified = true;
        m_identifyPending = false;
        m_carrier = match->carrier;
        m_cdNumber = match->cdNumber;
        m_group->setText(carrier->first);
        m_title->setText(carrier->second);
        m_shownSong = 0;
        return;
    }
    m_group->setText(kUnknownDisc);
    m_songTitle->clear();
    m_interpreter->clear();
}

void TCDPlayerWindow::showOnlyGroup(const QString& text) {
    m_group->setText(text);
    m_title->clear();
    m_songTitle->clear();
    m_interpreter->clear();
}

void TCDPlayerWindow::forgetDisc() {
    m_identified = false;
    m_codesRead = false;
    m_identifyPending = true;
    m_shownSong = 0;
    m_tickCounter = 29; // the next disc is identified at once
}

void TCDPlayerWindow::updateDisplays(const CdPlayerStatus& s) {
    if (!discPresent(s)) {
        forgetDisc();
        showOnlyGroup(kNoDisc);
        zeroDisplays();
        hideTrackButtons();
        m_track = 0;
        return;
    }
    if (m_codesRead && s.discSerial != m_codesSerial) {
        // Another disc went in between two ticks.
        forgetDisc();
        showOnlyGroup(kUnknownDisc);
        hideTrackButtons();
        m_track = 0;
    }
    const int t = s.track;
    const int n = s.tracks();
    if (m_track == 0) {
        m_track = t;
        for (int k = 1; k <= kTrackButtons; ++k) {
            TLedButton* b = m_trackButtons[k - 1];
            b->setSwitchedOn(false);
            b->setVisible(k <= n);
            b->setEnabled(k <= n && s.audio[k - 1]); // a data track cannot be played
        }
        if (t >= 1 && t <= kTrackButtons)
            m_trackButtons[t - 1]->setSwitchedOn(true);
    } else if (t != m_track) {
        // Repeat and random act inside the device; the window follows the track it plays.
        switchTrack(t);
    }

    const qint64 values[6] = {t,
                              n,
                              s.trackFrame / 75,
                              s.trackFrames.value(t - 1) / 75,
                              s.discFrame / 75,
                              s.discFrames / 75};
    for (int i = 0; i < 6; ++i) {
        if (i == TrackNo || i == Tracks) {
            m_leds[i]->setNumber(int(values[i]));
            m_texts[i]->setText(QStringLiteral("%1").arg(values[i], 3, 10, QLatin1Char('0')));
        } else {
            m_leds[i]->setSeconds(values[i]);
            m_texts[i]->setText(laufzeit::format(laufzeit::fromSeconds(values[i])));
        }
    }
    if (!m_slider->isSliderDown()) {
        const QSignalBlocker block(m_slider);
        m_slider->setMaximum(int(values[TrackLength]));
        m_slider->setValue(int(values[TrackPos]));
    }
    if (m_identified &&
        (m_shownSong != t || (m_songTitle->text().isEmpty() && m_interpreter->text().isEmpty())))
        showSong(t);
}

void TCDPlayerWindow::showSong(int track) {
    m_shownSong = track;
    const auto song = cdplayerlookup::song(m_state.db, m_carrier, m_cdNumber, track);
    m_songTitle->setText(song ? song->first : QString());
    m_interpreter->setText(song ? song->second : QString());
}

void TCDPlayerWindow::zeroDisplays() {
    for (int i = 0; i < 6; ++i) {
        m_leds[i]->zero();
        m_texts[i]->setText(i == TrackNo || i == Tracks ? QStringLiteral("000")
                                                        : laufzeit::format(0));
    }
}

void TCDPlayerWindow::hideTrackButtons() {
    for (TLedButton* b : std::as_const(m_trackButtons)) {
        b->hide();
        b->setSwitchedOn(false);
    }
}

void TCDPlayerWindow::switchTrack(int track) {
    if (m_track >= 1 && m_track <= kTrackButtons)
        m_trackButtons[m_track - 1]->setSwitchedOn(false);
    m_track = track;
    if (track >= 1 && track <= kTrackButtons)
        m_trackButtons[track - 1]->setSwitchedOn(true);
}

void TCDPlayerWindow::setButtonsPlaying(bool playing) {
    m_play->setEnabled(!playing);
    m_pause->setEnabled(playing);
    m_stop->setEnabled(playing);
}

// --- player buttons -------------------------------------------------------------------

bool TCDPlayerWindow::checkOutput() {
    if (m_player.outputAvailable())
        return true;
    m_messages.show({MessageKind::Error,
                     QStringLiteral("Es ist keine Audioausgabe verfügbar."),
                     MessageButton::Ok | MessageButton::Help,
                     kHelpPlayer,
                     {}});
    return false;
}

int TCDPlayerWindow::randomTrack(const CdPlayerStatus& s) {
    QList<int> audio;
    for (int k = 1; k <= s.tracks(); ++k) {
        if (s.audio[k - 1])
            audio.append(k);
    }
    if (audio.isEmpty())
        return 0;
    std::uniform_int_distribution<qsizetype> pick(0, audio.size() - 1);
    return audio[pick(m_random)];
}

void TCDPlayerWindow::PlayClick() {
    if (!checkOutput())
        return;
    const CdPlayerStatus s = m_player.status();
    const int r = m_option == PlayOption::Random && s.mode != CdMode::Paused ? randomTrack(s) : 0;
    if (r > 0) {
        m_player.playTrack(r);
        switchTrack(r);
    } else {
        m_player.play();
    }
    setButtonsPlaying(true);
}

void TCDPlayerWindow::PauseClick() {
    m_player.pause();
    m_play->setEnabled(true);
    m_pause->setEnabled(false);
}

void TCDPlayerWindow::StopClick() {
    m_player.stop();
    setButtonsPlaying(false);
}

void TCDPlayerWindow::NextClick() {
    m_player.next();
    const int n = m_player.status().tracks();
    if (m_track < n)
        switchTrack(m_track + 1);
}

void TCDPlayerWindow::PreviousClick() {
    m_player.previous();
    if (m_track > 1)
        switchTrack(m_track - 1);
}

void TCDPlayerWindow::EjectClick() {
    if (m_doorOpen) {
        m_player.closeDoor();
        m_doorOpen = false;
    } else {
        m_player.eject();
        m_doorOpen = true;
    }
    setButtonsPlaying(false);
    m_identified = false;
    m_identifyPending = true;
}

void TCDPlayerWindow::TrackClick(int track) {
    if (!checkOutput())
        return;
    for (TLedButton* b : std::as_const(m_trackButtons))
        b->setSwitchedOn(false);
    m_player.playTrack(track);
    m_track = track;
    m_trackButtons[track - 1]->setSwitchedOn(true);
    setButtonsPlaying(true);
}

void TCDPlayerWindow::SliderChosen(int second) {
    const int track = m_player.status().track;
    if (track < 1)
        return;
    m_player.seek(track, second * 75 + 30);
    m_leds[TrackPos]->setSeconds(second);
    m_texts[TrackPos]->setText(laufzeit::format(laufzeit::fromSeconds(second)));
}

void TCDPlayerWindow::optionChosen(PlayOption option) {
    m_option = option;
    m_player.setPlayOption(option);
}

void TCDPlayerWindow::playEnded(bool success) {
    if (!success) {
        m_player.stop();
        showOnlyGroup(kUnknownDisc);
        m_identified = false;
        m_codesRead = false;
        m_identifyPending = true;
    }
    setButtonsPlaying(false);
}

// --- colours, notifications, closing --------------------------------------------------

void TCDPlayerWindow::applyColoursAndMode() {
    const bool led = m_state.settings.cdUseLed;
    const QColor ledColour = colorFromNumber(m_state.settings.cdPlayerColor);
    const QColor textColour = colorFromNumber(m_state.settings.cdTexttimeColor);
    for (int i = 0; i < 6; ++i) {
        m_leds[i]->setColor(ledColour);
        m_leds[i]->setVisible(led);
        QPalette p = m_texts[i]->palette();
        p.setColor(QPalette::WindowText, textColour);
        m_texts[i]->setPalette(p);
        m_texts[i]->setVisible(!led);
    }
    for (TLedButton* b : std::as_const(m_trackButtons))
        b->setColor(led ? ledColour : textColour);
}

void TCDPlayerWindow::cdColoursChanged() {
    applyColoursAndMode();
}

void TCDPlayerWindow::cdLedModeChanged() {
    zeroDisplays();
    applyColoursAndMode();
}

void TCDPlayerWindow::closeEvent(QCloseEvent* event) {
    const CdPlayerStatus s = m_player.status();
    if (s.mode == CdMode::Playing) {
        switch (m_state.settings.cdPlayerEndStatus) {
        case 0:
            m_player.stop();
            break;
        case 2:
            break; // plays on without the window
        default:
            switch (m_messages.show({MessageKind::Confirmation,
                                     QStringLiteral("Soll das Abspielen der CD gestoppt werden?"),
                                     MessageButton::Yes | MessageButton::No |
                                         MessageButton::Cancel | MessageButton::Help,
                                     kHelpEndQuestion,
                                     {}})) {
            case MessageButton::Yes:
                m_player.stop();
                break;
            case MessageButton::No:
                break;
            default:
                event->ignore(); // the window stays, its displays keep running
                return;
            }
        }
    } else if (s.mode == CdMode::Paused) {
        m_player.stop(); // nothing could resume it once the window is gone
    }
    m_timer->stop();
    event->accept();
}
