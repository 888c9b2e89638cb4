#pragma once

#include "core/db/records.h"
#include "editprinttextdialog.h"
#include "gui/shell/childwindow.h"

#include <QWidget>
#include <functional>
#include <vector>

struct AppState;
class MessageService;
class QMdiArea;
class QPushButton;
class QTableWidget;

// The templates of one type ("Listentexte verwalten" ...): open, new, copy and delete.
class TSelPrintTextDialog : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    TSelPrintTextDialog(AppState& state, MessageService& messages, QMdiArea& area, int type,
                        QWidget* parent = nullptr);

    static QString caption(int type);
    int type() const { return m_type; }

    // Reads the list again (after an editor of the type saved).
    void refresh();

    void change();
    void newTemplate();
    void copyTemplate();
    void deleteTemplate();

    // The open editor of a template, found by its key.
    TEditPrintTextDialog* openEditor(int index) const;

    // How editors are shown and wired up (the main window adds them as children).
    std::function<void(TEditPrintTextDialog*)> showEditor;
    std::function<void(int)> helpHandler;

    QTableWidget* grid() const { return m_grid; }
    QPushButton* button(const QString& caption) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    const PrintTemplateRecord* selected() const;
    void open(TEditPrintTextDialog::Mode mode, const PrintTemplateRecord& source);

    AppState& m_state;
    MessageService& m_messages;
    QMdiArea& m_area;
    int m_type = 0;
    std::vector<PrintTemplateRecord> m_templates;
    QTableWidget* m_grid = nullptr;
    QList<QPushButton*> m_buttons;
};
