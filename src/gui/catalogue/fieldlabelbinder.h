#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

struct AppState;
class QAbstractItemModel;
class QLabel;
class QListWidgetItem;
class QTableWidget;

// Puts the user's names of the carrier and song fields on what a window shows: keyed labels
// (name + ":"), grid column titles and search field list entries (name without "&"). The
// window fills it once with each keyed thing and its built-in caption, then calls apply()
// when it is shown and again whenever it is told that the names changed. With the window's
// switch off, or without a user's name, the built-in caption shows. Only shown text changes:
// sorting, stored layouts and queries keep going by column and field, never by caption.
//
// Registering a window, e.g. a search dialog with its field list:
//     FieldLabelBinder m_labels{state, FieldLabelBinder::CarrierSearch};
//     for (int row = 0; row < fields.size(); ++row)
//         m_labels.addEntry(m_fieldList->item(row), fields[row].labelKey);
//     m_labels.apply();
// A grid whose titles are set all at once (a model's title list):
//     m_labels.addColumns({{0, u"Titel"_s}, {10525, u"Liedtitel"_s}, ...},
//                         [this](const QStringList& titles) { m_model->setColumnTitles(titles); });
// An MDI child also overrides ChildWindow::fieldLabelsChanged() with m_labels.apply().
// Keys of 0 may be registered; they always keep the built-in caption.
class FieldLabelBinder {
public:
    // The switches of [TT Rename], by window.
    enum Switch {
        MediaList = 1,
        EntryWindow = 2,
        DisplayWindow = 3,
        CarrierSearch = 4,
        SongSearch = 5,
        SongList = 6,
        Lending = 7
    };

    struct Column {
        int key; // 0: no user's name
        QString builtIn;
    };

    FieldLabelBinder(AppState& state, Switch renameSwitch);

    // builtIn empty: the label's text at the time it is added.
    void addLabel(QLabel* label, int key, const QString& builtIn = QString());
    // A column title of a table widget; the built-in title is the current header text.
    void addColumn(QTableWidget* grid, int column, int key);
    // A column title of a model that takes header data.
    void addColumn(QAbstractItemModel* model, int column, int key, const QString& builtIn);
    // The titles of a whole grid, in column order, handed over at once.
    void addColumns(std::vector<Column> columns,
                    std::function<void(const QStringList& titles)> setTitles);
    // An entry of a field list; the built-in text is the item's text now.
    void addEntry(QListWidgetItem* item, int key);
    void addEntry(std::function<void(const QString&)> setText, int key, const QString& builtIn);

    // Called after every apply(), e.g. to measure column widths again.
    void setAppliedHandler(std::function<void()> handler) { m_applied = std::move(handler); }

    bool switchOn() const;
    // Shows the user's names (one query) when the switch is on, else the built-in captions.
    // A database error leaves the built-in captions.
    void apply();
    // Shows these names as the user's names, whatever the switch.
    void apply(const QHash<int, QString>& names);
    // Shows a caption on the keyed labels of a key until the next apply().
    void showLabelCaption(int key, const QString& caption);

    QList<QLabel*> labels() const;

private:
    enum class Kind { Label, Title };
    struct Target {
        int key;
        QString builtIn;
        Kind kind;
        std::function<void(const QString&)> set;
        QPointer<QLabel> label;
    };
    struct TitleGroup {
        std::vector<Column> columns;
        std::function<void(const QStringList&)> setTitles;
    };
    QString textFor(const Target& t, const QHash<int, QString>& names) const;

    AppState& m_state;
    Switch m_switch;
    std::vector<Target> m_targets;
    std::vector<TitleGroup> m_groups;
    std::function<void()> m_applied;
};
