#pragma once

#include "core/db/records.h"
#include "reportdialoglayout.h"

#include <QDialog>
#include <functional>
#include <vector>

struct AppState;
class MessageService;
class TPreviewDialog;
class FontFamilyBox;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// "Hüllen drucken": the cover insert of one carrier with the cover settings of a media
// type. Choosing another type never changes the carrier.
class TPrintCoverDialog : public QDialog {
    Q_OBJECT
public:
    TPrintCoverDialog(AppState& state, MessageService& messages, TPreviewDialog& preview,
                      int carrierNumber, QWidget* parent = nullptr);

    void print();
    void setHelpHandler(std::function<void(int)> handler) { m_help = std::move(handler); }

    QComboBox* typeBox() const { return m_types; }
    FontFamilyBox* fontBox() const { return m_font; }
    QSpinBox* sizeBox() const { return m_size; }
    QSpinBox* linesBeforeBox() const { return m_before; }
    QSpinBox* linesAfterBox() const { return m_after; }
    QCheckBox* previewBox() const { return m_preview; }
    bool printingLayout() const { return m_printing; }

    void done(int result) override;

private:
    void typeChosen(int index);

    AppState& m_state;
    MessageService& m_messages;
    TPreviewDialog& m_previewDialog;
    int m_carrierNumber = 0;
    std::vector<LookupRecord> m_typeRows;
    QComboBox* m_types = nullptr;
    FontFamilyBox* m_font = nullptr;
    QSpinBox* m_size = nullptr;
    QSpinBox* m_before = nullptr;
    QSpinBox* m_after = nullptr;
    QCheckBox* m_preview = nullptr;
    QWidget* m_controls = nullptr;
    ReportDialogParts m_parts;
    bool m_printing = false;
    bool m_running = false;
    bool m_abortRequested = false;
    std::function<void(int)> m_help;
};
