#pragma once

#include "core/catalogue/carrierdisplay.h"
#include "fieldlabelbinder.h"
#include "gui/shell/childwindow.h"

#include <QWidget>
#include <functional>
#include <optional>

struct AppState;
class QLabel;
class QTableWidget;
class QPushButton;

// "Tonträger anzeigen": one carrier read-only with its first picture and all its songs; read
// again whenever the stored carrier changes, closed when it is deleted.
class TDisplayHeadAndPos : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 34009;

    struct Hooks {
        std::function<void(int carrierNumber)> edit;
        std::function<void(int carrierNumber)> print;
        std::function<void(int helpContext)> help;
    };

    TDisplayHeadAndPos(AppState& state, int carrierNumber, Hooks hooks, QWidget* parent = nullptr);

    // Reads the carrier; false when it does not exist. Throws DbError.
    bool FormCreate();

    int carrierNumber() const override { return m_number; }
    void fieldLabelsChanged() override { m_labels.apply(); }

    QLabel* picture() const { return m_picture; }
    QTableWidget* songs() const { return m_songs; }
    // The text shown beside a label ("Gruppe:").
    QString fieldText(const QString& label) const;
    QString labelText(int labelKey) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::optional<carrierdisplay::Carrier> load();
    void buildWidgets();
    void showCarrier();
    void reload();
    void showPicture();
    void closeWindow();

    AppState& m_state;
    int m_number;
    Hooks m_hooks;
    FieldLabelBinder m_labels;
    carrierdisplay::Carrier m_carrier;
    QPixmap m_pixmap;
    QLabel* m_picture = nullptr;
    QTableWidget* m_songs = nullptr;
    QWidget* m_header = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_print = nullptr;
    bool m_reloadPending = false;
};
