#pragma once

#include "core/cd/cdplayer.h"
#include "gui/shell/childwindow.h"

#include <QWidget>
#include <random>

struct AppState;
class MessageService;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QTimer;
class QToolButton;
class TLedButton;
class TLedDisplay;

// "CD-Player": plays audio CDs and disc images and shows the carrier and song being played
// when the disc is catalogued. The device outlives the window; the window follows it once a
// second and never waits for it.
class TCDPlayerWindow : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    static constexpr int kTrackButtons = 64;

    TCDPlayerWindow(AppState& state, MessageService& messages, CdPlayer& player,
                    QWidget* parent = nullptr);
    ~TCDPlayerWindow() override;

    void cdColoursChanged() override;
    void cdLedModeChanged() override;

    // One tick of the display timer; tests call it directly.
    void tick();
    void setRandomSeed(quint32 seed) { m_random.seed(seed); }
    // Opens a disc image as the source, as "CD-&Abbild..." does after its file choice.
    void openImage(const QString& path);

    // Controls, for tests.
    QComboBox* driveList() const { return m_drives; }
    QLabel* groupLabel() const { return m_group; }
    QLabel* titleLabel() const { return m_title; }
    QLabel* songTitleLabel() const { return m_songTitle; }
    QLabel* interpreterLabel() const { return m_interpreter; }
    TLedDisplay* ledDisplay(int index) const { return m_leds[index]; }
    QLabel* textDisplay(int index) const { return m_texts[index]; }
    TLedButton* trackButton(int track) const { return m_trackButtons[track - 1]; }
    QSlider* positionSlider() const { return m_slider; }
    QToolButton* playButton() const { return m_play; }
    QToolButton* pauseButton() const { return m_pause; }
    QToolButton* stopButton() const { return m_stop; }
    QToolButton* nextButton() const { return m_next; }
    QToolButton* previousButton() const { return m_previous; }
    QToolButton* ejectButton() const { return m_eject; }
    QRadioButton* optionButton(PlayOption option) const { return m_options[int(option)]; }
    int rememberedTrack() const { return m_track; }

    void PlayClick();
    void PauseClick();
    void StopClick();
    void NextClick();
    void PreviousClick();
    void EjectClick();
    void TrackClick(int track);
    void SliderChosen(int second);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void fillDriveList();
    void DriveChange();
    void ImageClick();
    void start();
    bool discPresent(const CdPlayerStatus& status) const;
    void identify(const CdPlayerStatus& status);
    void updateDisplays(const CdPlayerStatus& status);
    void showSong(int track);
    void forgetDisc();
    void showOnlyGroup(const QString& text); // the other three fields cleared
    void zeroDisplays();
    void hideTrackButtons();
    void switchTrack(int track);
    void setButtonsPlaying(bool playing);
    void applyColoursAndMode();
    void optionChosen(PlayOption option);
    void playEnded(bool success);
    bool checkOutput();
    int randomTrack(const CdPlayerStatus& status);
    QString currentSource() const;

    AppState& m_state;
    MessageService& m_messages;
    CdPlayer& m_player;
    std::mt19937 m_random;
    QTimer* m_timer = nullptr;

    QLabel* m_driveLabel = nullptr;
    QComboBox* m_drives = nullptr;
    QPushButton* m_imageButton = nullptr;
    QLabel* m_group = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_songTitle = nullptr;
    QLabel* m_interpreter = nullptr;
    TLedDisplay* m_leds[6] = {};
    QLabel* m_texts[6] = {};
    QSlider* m_slider = nullptr;
    QList<TLedButton*> m_trackButtons;
    QToolButton* m_play = nullptr;
    QToolButton* m_pause = nullptr;
    QToolButton* m_stop = nullptr;
    QToolButton* m_next = nullptr;
    QToolButton* m_previous = nullptr;
    QToolButton* m_eject = nullptr;
    QRadioButton* m_options[4] = {};
    PlayOption m_option = PlayOption::None;
    QString m_source; // the drive or image the window plays

    // What the window knows of the disc.
    bool m_identified = false;
    bool m_codesRead = false;
    bool m_identifyPending = true;
    int m_codesSerial = -1;
    quint32 m_discId = 0;
    qint64 m_legacyCode = -1;
    double m_carrier = 0;
    double m_cdNumber = 0;
    int m_shownSong = 0;
    int m_track = 0; // remembered track, 0 = none yet
    bool m_doorOpen = false;
    int m_tickCounter = 0;
};
