#include "csvsave.h"

#include "core/common/csvwriter.h"
#include "core/common/messageservice.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QProgressDialog>
#include <QTableView>

namespace csvsave {

bool saveView(QWidget* parent, const QTableView& view, MessageService& messages,
              const QString& proposedName) {
    const QAbstractItemModel* model = view.model();
    if (!model)
        return false;
    QString path = messages.chooseSaveFile(
        {QStringLiteral("Als CSV-Datei speichern"), QDir::homePath(), proposedName,
         QStringLiteral("CSV-Dateien (*.csv);;Alle Dateien (*)")});
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    // The columns in the order the header shows them, without hidden ones.
    const QHeaderView* header = view.horizontalHeader();
    std::vector<int> columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            columns.push_back(logical);
    }
    QProgressDialog progress(QStringLiteral("Die Liste wird gespeichert ..."),
                             QStringLiteral("Abbrechen"), 0, model->rowCount(), parent);
    progress.setWindowTitle(QStringLiteral("Als CSV-Datei speichern"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    const csv::ModelExport result =
        csv::exportModel(*model, columns, path, [&](qint64 done, qint64) {
            progress.setValue(int(done));
            QApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.reset();
    if (!result.ok && !result.cancelled)
        messages.error(result.error);
    return result.ok;
}

} // namespace csvsave
