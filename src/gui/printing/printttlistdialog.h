#pragma once

#include "reportdialog.h"

class QButtonGroup;
class QDateEdit;
class QListWidget;

// "Tonträgerliste drucken": the carriers of chosen media types, states or music directions
// through a list template, previewed or printed.
class TPrintTtListDialog : public ReportDialog {
    Q_OBJECT
public:
    TPrintTtListDialog(AppState& state, MessageService& messages, TPreviewDialog& preview,
                       QWidget* parent = nullptr);

    void print() override;

    // The selection kind (0 media types, 1 states, 2 music directions) and the order.
    int selectionKind() const;
    void setSelectionKind(int kind);
    int order() const;
    void setOrder(int order);

    QListWidget* entryList() const { return m_list; }
    QLabel* listLabel() const { return m_listLabel; }
    QPushButton* allButton() const { return m_all; }
    QPushButton* noneButton() const { return m_none; }
    QCheckBox* dateBox() const { return m_dateBox; }
    QDateEdit* dateEdit() const { return m_date; }

protected:
    void closing() override;

private:
    void build();
    void fillList();

    TPreviewDialog& m_previewDialog;
    std::vector<LookupRecord> m_rows;
    QLabel* m_listLabel = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_all = nullptr;
    QPushButton* m_none = nullptr;
    QButtonGroup* m_selection = nullptr;
    QButtonGroup* m_sort = nullptr;
    QCheckBox* m_dateBox = nullptr;
    QDateEdit* m_date = nullptr;
};
