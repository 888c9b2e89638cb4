#include "csvsave.h"

#include "core/common/atomicfile.h"
#include "core/common/csvwriter.h"
#include "core/common/messageservice.h"
#include "core/db/dberror.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QProgressDialog>
#include <QTableView>

namespace csvsave {

namespace {

QString chooseFile(MessageService& messages, const QString& proposedName) {
    // Lists of one session usually go to one folder: the choice starts where the last went.
    static QString lastFolder;
    QString path =
        messages.chooseSaveFile({QStringLiteral("Als CSV-Datei speichern"),
                                 lastFolder.isEmpty() ? QDir::homePath() : lastFolder, proposedName,
                                 QStringLiteral("CSV-Dateien (*.csv);;Alle Dateien (*)")});
    if (path.isEmpty())
        return path;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    lastFolder = QFileInfo(path).absolutePath();
    return path;
}

// A progress window with a cancel button, shown once writing takes a moment.
class Progress {
public:
    explicit Progress(QWidget* parent)
        : m_dialog(QStringLiteral("Die Liste wird gespeichert ..."), QStringLiteral("Abbrechen"), 0,
                   0, parent) {
        m_dialog.setWindowTitle(QStringLiteral("Als CSV-Datei speichern"));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(500);
    }
    bool step(qint64 done, qint64 total) {
        if (m_dialog.maximum() != int(total))
            m_dialog.setMaximum(int(total));
        m_dialog.setValue(int(done));
        QApplication::processEvents();
        return !m_dialog.wasCanceled();
    }
    bool cancelled() const { return m_dialog.wasCanceled(); }
    ~Progress() { m_dialog.reset(); }

private:
    QProgressDialog m_dialog;
};

} // namespace

bool saveView(QWidget* parent, const QTableView& view, MessageService& messages,
              const QString& proposedName) {
    const QAbstractItemModel* model = view.model();
    if (!model)
        return false;
    const QString path = chooseFile(messages, proposedName);
    if (path.isEmpty())
        return false;
    // The columns in the order the header shows them, without hidden ones.
    const QHeaderView* header = view.horizontalHeader();
    std::vector<int> columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            columns.push_back(logical);
    }
    Progress progress(parent);
    const csv::ModelExport result =
        csv::exportModel(*model, columns, path,
                         [&](qint64 done, qint64 total) { return progress.step(done, total); });
    if (!result.ok && !result.cancelled)
        messages.error(result.error);
    return result.ok;
}

bool saveWith(QWidget* parent, MessageService& messages, const QString& proposedName,
              const std::function<bool(QIODevice*, const csv::Progress&)>& write) {
    const QString path = chooseFile(messages, proposedName);
    if (path.isEmpty())
        return false;
    atomicfile::File file(path);
    QString error;
    Progress progress(parent);
    bool written = false;
    try {
        written = write(file.device(),
                        [&](qint64 done, qint64 total) { return progress.step(done, total); });
    } catch (const DbError& e) {
        error = e.message();
    }
    if (written && file.commit(&error))
        return true;
    if (progress.cancelled())
        return false;
    if (!written)
        error = atomicfile::failureText(
            path, error.isEmpty() ? QStringLiteral("Die Liste ist unvollständig") : error);
    messages.error(error);
    return false;
}

} // namespace csvsave
