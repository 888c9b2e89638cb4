#pragma once

#include "core/catalogue/carrierstore.h"
#include "entrypage.h"
#include "fieldedits.h"

namespace musicbrainz {
struct ReleaseTakeOver;
}
class LookupCombo;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Tonträgerdaten": the carrier record and its information record, and CD reading.
class CarrierPage : public EntryPage {
    Q_OBJECT
public:
    explicit CarrierPage(TMainTtDialog& window);

    void enter() override;
    bool save() override;
    bool leave(Reason reason) override;
    void fillLookups() override;

    bool isChanged() const;
    // Saves as the answer "Ja" does: the seconds first, then the save.
    bool saveAfterQuestion();
    // "&CD lesen": from the drive, or from a disc image when there is no drive.
    void readCd();
    // "CD-&Abbild wählen...": the discs from image files the user chooses.
    void readCdImage();
    // "Im &Netz suchen...": a pressing found on MusicBrainz, taken over as a disc look-up is.
    void searchWeb();
    // The carrier as the controls show it.
    CarrierData values() const;
    const CarrierData& stored() const { return m_data; }

    // The controls, for tests and the keyboard.
    QLineEdit* groupEdit() const { return m_group; }
    QLineEdit* titleEdit() const { return m_title; }
    LookupCombo* typeCombo() const { return m_type; }
    NumberEdit* numberEdit() const { return m_number; }
    NumberEdit* songCountEdit() const { return m_songCount; }
    LaufzeitEdit* totalTimeEdit() const { return m_totalTime; }
    LookupCombo* directionCombo() const { return m_direction; }
    QLineEdit* ratingEdit() const { return m_rating; }
    LookupCombo* statusCombo() const { return m_status; }
    QLineEdit* yearEdit() const { return m_year; }
    MoneyEdit* priceEdit() const { return m_price; }
    LookupCombo* currencyCombo() const { return m_currency; }
    TDateEdit* dateEdit() const { return m_date; }
    QLineEdit* pressingEdit() const { return m_pressing; }
    QLineEdit* recordingEdit() const { return m_recording; }
    QLineEdit* conditionEdit() const { return m_condition; }
    QLineEdit* makerEdit() const { return m_maker; }
    QLineEdit* orderCodeEdit() const { return m_orderCode; }
    QPushButton* cdButton() const { return m_cdButton; }
    QPushButton* webButton() const { return m_webButton; }
    QAction* cdImageAction() const { return m_imageAction; }
    QComboBox* driveCombo() const { return m_drive; }
    QLabel* driveLabel() const { return m_driveLabel; }
    QList<QLabel*> keyedLabels() const { return m_keyedLabels; }
    QList<QWidget*> tabOrder() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Snapshot {
        CarrierData data;
        QString dateText;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot() const;
    void build();
    void fill(const CarrierData& data);
    void takeSnapshot();
    void focusField(CarrierField field);
    void showSecondsMessage();
    bool saveCarrier();
    void statusChosen();
    void typeLeft();
    void totalTimeLeft();
    void readDiscs(const DiscSource& source);
    // Asked after a choice in the search: false when a carrier that may be the same edition
    // is in the collection and the user does not want another.
    bool confirmNotOwned(const musicbrainz::ReleaseTakeOver& chosen);
    void takeRelease(const musicbrainz::ReleaseTakeOver& chosen);

    CarrierStore m_store;
    CarrierData m_data;
    OptNumber m_loadedStatus;
    bool m_loaded = false;
    Snapshot m_snapshot;

    QLineEdit* m_group;
    QLineEdit* m_title;
    LookupCombo* m_type;
    NumberEdit* m_number;
    NumberEdit* m_songCount;
    LaufzeitEdit* m_totalTime;
    LookupCombo* m_direction;
    QLineEdit* m_rating;
    LookupCombo* m_status;
    QLineEdit* m_year;
    MoneyEdit* m_price;
    LookupCombo* m_currency;
    TDateEdit* m_date;
    QLineEdit* m_pressing;
    QLineEdit* m_recording;
    QLineEdit* m_condition;
    QLineEdit* m_maker;
    QLineEdit* m_orderCode;
    QLabel* m_created;
    QLabel* m_changed;
    QPushButton* m_cdButton;
    QPushButton* m_webButton;
    QAction* m_imageAction;
    QLabel* m_driveLabel;
    QComboBox* m_drive;
    QList<QLabel*> m_keyedLabels;
};
