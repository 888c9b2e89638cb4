#pragma once

#include "gui/shell/childwindow.h"

#include <QWidget>
#include <vector>

class LookupCommands;
class QMenu;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QMdiSubWindow;

// The selection window of a lookup table or of the currencies: the entries in a grid, and
// the commands to change, add, delete and print them.
class LookupSelectionWindow : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    // kind 0..7 or lookup::kCurrencies; withContextMenu: the grid offers the commands too.
    LookupSelectionWindow(LookupCommands& commands, int kind, bool withContextMenu);
    ~LookupSelectionWindow() override;

    int kind() const { return m_kind; }

    // Re-reads the entries, keeping the selected one by key.
    void reload();

    void change();
    void addNew();
    void remove();
    void print();

    // The key of the selected row, if any.
    std::optional<double> selectedKey() const;
    bool selectKey(double key);
    int rowCount() const;

    QTableView* grid() const { return m_grid; }
    QPushButton* changeButton() const { return m_change; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* printButton() const { return m_print; }
    QPushButton* closeButton() const { return m_close; }
    QMenu* contextMenu() const { return m_menu; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Row {
        double key = 0;
        QString shortName;
        QString longName;
    };
    std::vector<Row> readRows() const;
    std::optional<Row> selectedRow() const;
    void updateEnabling();
    int helpOf(int context) const; // currencies have no help topics in their boxes

    LookupCommands& m_commands;
    int m_kind;
    QTableView* m_grid = nullptr;
    QStandardItemModel* m_model = nullptr;
    QPushButton* m_change = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_close = nullptr;
    QMenu* m_menu = nullptr;
    QMetaObject::Connection m_activation;
};
