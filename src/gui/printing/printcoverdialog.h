#pragma once

#include "reportdialog.h"

class QComboBox;

// "Hüllen drucken": the cover insert of one carrier with the cover settings of a media
// type. Choosing another type never changes the carrier.
class TPrintCoverDialog : public ReportDialog {
    Q_OBJECT
public:
    TPrintCoverDialog(AppState& state, MessageService& messages, TPreviewDialog& preview,
                      int carrierNumber, QWidget* parent = nullptr);

    // Closes when done, after an abort as well.
    void print() override;

    QComboBox* typeBox() const { return m_types; }
    QSpinBox* linesBeforeBox() const { return m_before; }
    QSpinBox* linesAfterBox() const { return m_after; }

protected:
    void closing() override;

private:
    void typeChosen(int index);
    void showLayout(int mediaType);

    TPreviewDialog& m_previewDialog;
    int m_carrierNumber = 0;
    std::vector<LookupRecord> m_typeRows;
    QComboBox* m_types = nullptr;
    QSpinBox* m_before = nullptr;
    QSpinBox* m_after = nullptr;
};
