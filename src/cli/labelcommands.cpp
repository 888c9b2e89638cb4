#include "labelcommands.h"

#include "console.h"
#include "core/catalogue/fieldlabels.h"
#include "core/db/database.h"
#include "core/shell/datadirectorylock.h"
#include "usage.h"

namespace {

int labelUsage() {
    return usagetext::show({QStringLiteral("labels")});
}

int list(Database& db) {
    const QHash<int, QString> names = fieldlabels::renamed(db);
    for (int key : fieldlabels::labelKeys())
        out() << tabRow({QString::number(key),
                         fieldlabels::deliveredName(db, key).value_or(QString()), names.value(key)})
              << '\n';
    out().flush();
    return 0;
}

int listSelectable(Database& db, int kind) {
    for (const fieldlabels::SelectableField& f :
         fieldlabels::selectableFields(db, QStringLiteral("T"), kind))
        out() << tabRow({QString::number(f.index), f.description, f.name, f.renamed}) << '\n';
    out().flush();
    return 0;
}

// The key of "set" and "reset"; 0 after the message when it names no label.
int labelKey(const QString& text) {
    bool ok = false;
    const int key = text.toInt(&ok);
    if (ok && fieldlabels::isLabelKey(key))
        return key;
    fail(QStringLiteral("\"%1\" ist kein Feldschlüssel (10110 bis 10190, 10510 bis 10570).")
             .arg(text));
    return 0;
}

} // namespace

int runLabelsCommand(const QStringList& args) {
    if (args.isEmpty())
        return labelUsage();
    const QString directory = args[0];
    const QStringList rest = args.mid(1);
    enum class Mode { List, Kind, Set, Reset } mode = Mode::List;
    int kind = 0, key = 0;
    if (rest.size() == 2 && rest[0] == QLatin1String("--template-kind")) {
        bool ok = false;
        kind = rest[1].toInt(&ok);
        if (!ok)
            return labelUsage();
        mode = Mode::Kind;
    } else if (rest.size() == 3 && rest[0] == QLatin1String("set")) {
        mode = Mode::Set;
    } else if (rest.size() == 2 && rest[0] == QLatin1String("reset")) {
        mode = Mode::Reset;
    } else if (!rest.isEmpty()) {
        return labelUsage();
    }
    if (mode == Mode::Set || mode == Mode::Reset) {
        key = labelKey(rest[1]);
        if (!key)
            return 1;
        if (mode == Mode::Set) {
            if (const QString refusal = fieldlabels::nameRefusal(rest[2]); !refusal.isEmpty())
                return fail(refusal);
        }
    }
    // A change goes in while no program window holds the data set.
    DataDirectoryLock lock(directory);
    if (mode == Mode::Set || mode == Mode::Reset) {
        QString refusal;
        if (!lock.tryLock(&refusal))
            return fail(refusal);
    }
    Database db;
    if (!openDataSet(directory, db))
        return 1;
    try {
        switch (mode) {
        case Mode::List:
            return list(db);
        case Mode::Kind:
            return listSelectable(db, kind);
        case Mode::Set:
            fieldlabels::rename(db, key, rest[2]);
            return 0;
        case Mode::Reset:
            fieldlabels::reset(db, key);
            return 0;
        }
    } catch (const DbError& e) {
        return fail(e.message());
    }
    return 0;
}
