#pragma once

#include "core/catalogue/carrierorigins.h"
#include "core/cd/cddbexchange.h"
#include "core/cd/cddbtext.h"
#include "core/cd/cdtypes.h"
#include "core/cd/musicbrainz.h"

#include <QDialog>

struct Settings;
class MessageService;
class CddbClient;
class MusicBrainzClient;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// "CDDB-Server abfragen": asks a CDDB server or MusicBrainz for the artist, title and song
// titles of a CD, and MusicBrainz's cover archive for its front cover. The caller sets the
// disc, shows the dialog modally and reads the results afterwards, the same for both sources.
class TCDDBLookup : public QDialog {
    Q_OBJECT
public:
    enum class Source { Cddb, MusicBrainz };

    TCDDBLookup(Settings& settings, const QString& dataDirectory, MessageService& messages,
                QWidget* parent = nullptr);
    ~TCDDBLookup() override;

    void setDisc(const TCDToc& toc, quint32 discId, qint32 leadOutSeconds, int tracks);

    bool succeeded() const { return m_success; }
    const QString& artist() const { return m_artist; }
    const QString& title() const { return m_title; }
    const QList<TCDTitleList>& titles() const { return m_titles; }
    const QStringList& extendedData() const { return m_extendedData; }
    // "DYEAR"/"DGENRE" of a CDDB record (protocol level 5 and above), the release year of a
    // MusicBrainz release; empty when unknown.
    const QString& year() const { return m_year; }
    const QString& genre() const { return m_genre; }
    // The front cover (JPEG) when "Titelbild übernehmen" was checked and the archive had one.
    const QByteArray& frontCover() const { return m_cover; }
    // Why there is no front cover although it was asked for (a hint, no message).
    const QString& coverHint() const { return m_coverHint; }
    // The MusicBrainz release and release group taken; none for a CDDB record.
    const QList<CarrierOrigin>& origins() const { return m_origins; }
    Source source() const;
    void setSource(Source source);

    // The controls, for tests.
    QLineEdit* userNameEdit() const { return m_user; }
    QComboBox* serverList() const { return m_servers; }
    QTreeWidget* hitList() const { return m_hits; }
    QPushButton* connectButton() const { return m_connect; }
    QPushButton* refreshButton() const { return m_refresh; }
    QPushButton* startButton() const { return m_start; }
    QComboBox* sourceList() const { return m_source; }
    QCheckBox* coverBox() const { return m_coverBox; }
    QString statusText() const;
    QString shownDiscId() const;
    bool isBusy() const { return m_busy; }
    void setTimeout(int milliseconds);
    MusicBrainzClient* musicBrainz() const { return m_musicBrainz; }

    void query();
    void read();
    void refreshHosts();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void loadServers();
    void updateButtons();
    void setBusy(bool busy);
    bool runExchange(CddbExchange& exchange);
    void queryMusicBrainz();
    // Closing was asked for while busy: the dialog closes now; true when it did.
    bool closeIfRequested();
    void takeRecord(const cddb::DiscRecord& record, const QList<CarrierOrigin>& origins = {});
    void storeSettings();

    Settings& m_settings;
    QString m_dataDirectory;
    MessageService& m_messages;
    CddbClient* m_client;
    MusicBrainzClient* m_musicBrainz;
    QList<musicbrainz::Release> m_releases; // the MusicBrainz hits, by row
    TCDToc m_toc{};
    quint32 m_discId = 0;
    qint32 m_leadOutSeconds = 0;
    int m_tracks = 0;
    bool m_busy = false;
    bool m_closeRequested = false;
    QString m_refusedName;

    bool m_success = false;
    QString m_artist;
    QString m_title;
    QList<TCDTitleList> m_titles;
    QStringList m_extendedData;
    QString m_year;
    QString m_genre;
    QByteArray m_cover;
    QString m_coverHint;
    QList<CarrierOrigin> m_origins;

    QComboBox* m_source;
    QCheckBox* m_coverBox;
    QLineEdit* m_user;
    QComboBox* m_servers;
    QLabel* m_discIdLabel;
    QTreeWidget* m_hits;
    QLabel* m_status;
    QPushButton* m_connect;
    QPushButton* m_refresh;
    QPushButton* m_start;
    QPushButton* m_cancel;
};
