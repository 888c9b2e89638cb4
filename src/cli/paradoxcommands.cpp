#include "paradoxcommands.h"

#include "console.h"
#include "consolemessageservice.h"
#include "core/paradox/paradoximport.h"
#include "usage.h"

#include <QDir>

namespace {

int paradoxUsage() {
    return usagetext::show({QStringLiteral("import-paradox")});
}

} // namespace

int runImportParadoxCommand(const QStringList& args) {
    QStringList positional;
    bool yes = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--yes"))
            yes = true;
        else if (a.startsWith(QLatin1String("--")))
            return paradoxUsage();
        else
            positional.append(a);
    }
    if (positional.size() != 2)
        return paradoxUsage();
    const QString source = positional[0];
    const QString target = positional[1];
    if (!QDir(source).exists()) {
        err() << "Fehler: Den Ordner " << source << " gibt es nicht." << Qt::endl;
        return 1;
    }
    if (const qint64 carriers = paradoximport::presentCarriers(target); carriers > 0 && !yes) {
        err() << "In " << target << " sind schon " << carriers
              << " Tonträger gespeichert; die Übernahme würde sie ersetzen. Mit --yes werden "
                 "sie ersetzt."
              << Qt::endl;
        return 1;
    }
    ConsoleMessageService messages(yes);
    QString shown;
    const auto result =
        paradoximport::importDataSet(source, target, messages, [&](const QString& file, qint64) {
            if (file != shown) {
                err() << "Lese " << file << " ..." << Qt::endl;
                shown = file;
            }
            return true;
        });
    if (result.inUse) {
        err() << result.failure << Qt::endl;
        return 1;
    }
    if (result.cancelled) {
        err() << "Die Übernahme wurde abgebrochen. Die vorhandenen Daten sind unverändert."
              << Qt::endl;
        return 1;
    }
    if (!result.ok) {
        err() << "Die Übernahme ist fehlgeschlagen: " << result.failure
              << " Die vorhandenen Daten sind unverändert." << Qt::endl;
        return 1;
    }
    out() << paradoximport::summary(result);
    if (!result.notes.isEmpty())
        out() << result.notes.size() << " Hinweise stehen in " << result.reportPath << Qt::endl;
    out() << "Die Übernahme war erfolgreich." << Qt::endl;
    return 0;
}
