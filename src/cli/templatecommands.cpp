#include "templatecommands.h"

#include "console.h"
#include "core/db/database.h"
#include "core/db/dberror.h"
#include "core/printing/templatefile.h"
#include "core/printing/templatestore.h"
#include "core/shell/datadirectorylock.h"
#include "usage.h"

#include <stdexcept>
#include <vector>

namespace {

int templateUsage() {
    return usagetext::show({QStringLiteral("template")});
}

// Takes "--type N" out of the arguments; 0 when absent, -1 when invalid.
int takeType(QStringList& args) {
    const qsizetype at = args.indexOf(QStringLiteral("--type"));
    if (at < 0)
        return 0;
    if (at + 1 >= args.size())
        return -1;
    bool ok = false;
    const int type = args.at(at + 1).toInt(&ok);
    args.remove(at, 2);
    return ok && type >= 1 && type <= 4 ? type : -1;
}

int list(Database& db, int type) {
    for (int t = 1; t <= 4; ++t) {
        if (type != 0 && t != type)
            continue;
        for (const PrintTemplateRecord& row : templatestore::byType(db, t))
            out() << t << '\t' << qRound(row.indexNummer) << '\t' << row.bezeichnung << '\n';
    }
    out().flush();
    return 0;
}

int exportTemplate(Database& db, const QString& name, const QString& file, int type) {
    std::vector<PrintTemplateRecord> found;
    for (int t = 1; t <= 4; ++t) {
        if (type == 0 || t == type) {
            if (auto match = templatestore::find(db, t, name))
                found.push_back(std::move(*match));
        }
    }
    if (found.empty()) {
        err() << "Fehler: Die Druckvorlage \"" << name << "\" gibt es nicht." << Qt::endl;
        return 1;
    }
    // Without a type the name may fit templates of several types; exporting any one of them
    // would be a guess.
    if (found.size() > 1) {
        err() << "Fehler: \"" << name << "\" bezeichnet Druckvorlagen mehrerer Typen:\n";
        for (const PrintTemplateRecord& t : found)
            err() << "  Typ " << qRound(t.type) << ": " << qRound(t.indexNummer) << '\t'
                  << t.bezeichnung << '\n';
        err() << "Bitte den Typ mit --type N angeben." << Qt::endl;
        return 1;
    }
    const QString path = templatefile::withExtension(file);
    QString error;
    if (!templatefile::write(path, found.front(), &error)) {
        err() << "Fehler: " << error << Qt::endl;
        return 1;
    }
    out() << "Druckvorlage exportiert: " << path << Qt::endl;
    return 0;
}

int importTemplate(Database& db, const QString& file, int type) {
    QString error;
    std::optional<PrintTemplateRecord> record = templatefile::read(file, &error);
    if (!record) {
        err() << "Fehler: " << error << Qt::endl;
        return 1;
    }
    if (record->bezeichnung.trimmed().isEmpty()) {
        err() << "Fehler: Im Feld Bezeichnung muß ein Wert eingegeben werden!" << Qt::endl;
        return 1;
    }
    record->type = type;
    record->indexNummer = 0;
    try {
        const PrintTemplateRecord saved = templatestore::save(db, *record);
        out() << "Druckvorlage " << qRound(saved.indexNummer) << " angelegt: " << saved.bezeichnung
              << Qt::endl;
    } catch (const DbError& e) {
        err() << "Fehler: Die Druckvorlage konnte nicht gespeichert werden! " << e.message()
              << Qt::endl;
        return 1;
    } catch (const std::invalid_argument& e) {
        err() << "Fehler: " << QString::fromStdString(e.what()) << Qt::endl;
        return 1;
    }
    return 0;
}

} // namespace

int runTemplateCommand(const QStringList& arguments) {
    QStringList args = arguments;
    const int type = takeType(args);
    if (args.size() < 2 || type < 0)
        return templateUsage();
    const QString sub = args.takeFirst();
    const QString directory = args.takeFirst();
    const bool fits = (sub == QLatin1String("list") && args.isEmpty()) ||
                      (sub == QLatin1String("export") && args.size() == 2) ||
                      (sub == QLatin1String("import") && args.size() == 1 && type > 0);
    if (!fits)
        return templateUsage();
    // Only an import writes.
    DataDirectoryLock lock(directory, DataDirectoryLock::Mode::Writer);
    Database db;
    const bool opened = sub == QLatin1String("import") ? openDataSetForWriting(directory, lock, db)
                                                       : openDataSet(directory, db);
    if (!opened)
        return 1;
    if (sub == QLatin1String("list"))
        return list(db, type);
    if (sub == QLatin1String("export"))
        return exportTemplate(db, args[0], args[1], type);
    return importTemplate(db, args[0], type);
}
