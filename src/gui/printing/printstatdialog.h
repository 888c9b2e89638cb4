#pragma once

#include "reportdialog.h"

#include <QStringList>
#include <vector>

// "Statistik drucken": the statistics table through the page printer, previewed or printed.
class TPrintStatDialog : public ReportDialog {
    Q_OBJECT
public:
    // rows: the grid's rows, title row first; totals: the "Gesamt" row.
    TPrintStatDialog(AppState& state, MessageService& messages, TPreviewDialog& preview, int kind,
                     std::vector<QStringList> rows, QStringList totals, QWidget* parent = nullptr);

    void print() override;

protected:
    void closing() override;

private:
    TPreviewDialog& m_previewDialog;
    int m_kind;
    std::vector<QStringList> m_rows;
    QStringList m_totals;
};
