#pragma once

#include "core/cd/cddbexchange.h"
#include "core/cd/cddbtext.h"
#include "core/cd/cdtypes.h"

#include <QDialog>

struct Settings;
class MessageService;
class CddbClient;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// "CDDB-Server abfragen": asks a CDDB server for the artist, title and song titles of a CD.
// The caller sets the disc, shows the dialog modally and reads the results afterwards.
class TCDDBLookup : public QDialog {
    Q_OBJECT
public:
    TCDDBLookup(Settings& settings, const QString& dataDirectory, MessageService& messages,
                QWidget* parent = nullptr);
    ~TCDDBLookup() override;

    void setDisc(const TCDToc& toc, quint32 discId, qint32 leadOutSeconds, int tracks);

    bool succeeded() const { return m_success; }
    const QString& artist() const { return m_artist; }
    const QString& title() const { return m_title; }
    const QList<TCDTitleList>& titles() const { return m_titles; }
    const QStringList& extendedData() const { return m_extendedData; }

    // The controls, for tests.
    QLineEdit* userNameEdit() const { return m_user; }
    QComboBox* serverList() const { return m_servers; }
    QTreeWidget* hitList() const { return m_hits; }
    QPushButton* connectButton() const { return m_connect; }
    QPushButton* refreshButton() const { return m_refresh; }
    QPushButton* startButton() const { return m_start; }
    QString statusText() const;
    QString shownDiscId() const;
    bool isBusy() const { return m_busy; }
    void setTimeout(int milliseconds);

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
    void storeSettings();

    Settings& m_settings;
    QString m_dataDirectory;
    MessageService& m_messages;
    CddbClient* m_client;
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
