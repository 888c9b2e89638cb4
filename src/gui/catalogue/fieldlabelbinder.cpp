#include "fieldlabelbinder.h"

#include "core/catalogue/fieldlabels.h"
#include "core/shell/appstate.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QListWidgetItem>
#include <QTableWidget>

FieldLabelBinder::FieldLabelBinder(AppState& state, Switch renameSwitch)
    : m_state(state), m_switch(renameSwitch) {}

void FieldLabelBinder::addLabel(QLabel* label, int key, const QString& builtIn) {
    QPointer<QLabel> guarded(label);
    m_targets.push_back({key, builtIn.isEmpty() ? label->text() : builtIn, Kind::Label,
                         [guarded](const QString& text) {
                             if (guarded)
                                 guarded->setText(text);
                         },
                         guarded});
}

void FieldLabelBinder::addColumn(QTableWidget* grid, int column, int key) {
    QPointer<QTableWidget> guarded(grid);
    const QTableWidgetItem* item = grid->horizontalHeaderItem(column);
    m_targets.push_back({key,
                         item ? item->text() : QString(),
                         Kind::Title,
                         [guarded, column](const QString& text) {
                             if (!guarded)
                                 return;
                             if (QTableWidgetItem* header = guarded->horizontalHeaderItem(column))
                                 header->setText(text);
                             else
                                 guarded->setHorizontalHeaderItem(column,
                                                                  new QTableWidgetItem(text));
                         },
                         {}});
}

void FieldLabelBinder::addColumn(QAbstractItemModel* model, int column, int key,
                                 const QString& builtIn) {
    QPointer<QAbstractItemModel> guarded(model);
    m_targets.push_back({key,
                         builtIn,
                         Kind::Title,
                         [guarded, column](const QString& text) {
                             if (guarded)
                                 guarded->setHeaderData(column, Qt::Horizontal, text);
                         },
                         {}});
}

void FieldLabelBinder::addColumns(std::vector<Column> columns,
                                  std::function<void(const QStringList&)> setTitles) {
    m_groups.push_back({std::move(columns), std::move(setTitles)});
}

void FieldLabelBinder::addEntry(QListWidgetItem* item, int key) {
    // List items are no QObjects: the entry is found again through its list and row.
    QPointer<QListWidget> list(item->listWidget());
    const int row = list ? list->row(item) : -1;
    addEntry(
        [list, row](const QString& text) {
            if (list && row >= 0 && row < list->count())
                list->item(row)->setText(text);
        },
        key, item->text());
}

void FieldLabelBinder::addEntry(std::function<void(const QString&)> setText, int key,
                                const QString& builtIn) {
    m_targets.push_back({key, builtIn, Kind::Title, std::move(setText), {}});
}

bool FieldLabelBinder::switchOn() const {
    return m_state.settings.ttRename[size_t(m_switch - 1)];
}

void FieldLabelBinder::apply() {
    QHash<int, QString> names;
    if (switchOn()) {
        try {
            names = fieldlabels::renamed(m_state.db);
        } catch (const DbError&) {
            names.clear();
        }
    }
    apply(names);
}

QString FieldLabelBinder::textFor(const Target& t, const QHash<int, QString>& names) const {
    const QString name = t.key ? names.value(t.key) : QString();
    if (name.isEmpty())
        return t.builtIn;
    return t.kind == Kind::Label ? fieldlabels::labelCaption(name) : fieldlabels::columnTitle(name);
}

void FieldLabelBinder::apply(const QHash<int, QString>& names) {
    for (const Target& t : m_targets)
        t.set(textFor(t, names));
    for (const TitleGroup& g : m_groups) {
        QStringList titles;
        for (const Column& c : g.columns) {
            const QString name = c.key ? names.value(c.key) : QString();
            titles.append(name.isEmpty() ? c.builtIn : fieldlabels::columnTitle(name));
        }
        g.setTitles(titles);
    }
    if (m_applied)
        m_applied();
}

void FieldLabelBinder::showLabelCaption(int key, const QString& caption) {
    for (const Target& t : m_targets) {
        if (t.kind == Kind::Label && t.key == key)
            t.set(caption);
    }
}

QList<QLabel*> FieldLabelBinder::labels() const {
    QList<QLabel*> result;
    for (const Target& t : m_targets) {
        if (t.label)
            result.append(t.label);
    }
    return result;
}
