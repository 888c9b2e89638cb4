#include "core/db/dataset.h"
#include "core/settings/settings.h"
#include "core/shell/datadirectorylock.h"
#include "gui/printing/previewdialog.h"
#include "gui/shell/application.h"
#include "gui/shell/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// The whole start of the program on a fresh data directory, up to a usable main window.
class TestApplication : public QObject {
    Q_OBJECT
private slots:
    void startsOnAFreshDataDirectory() {
        QTemporaryDir dir;
        {
            QFile ini(QDir(dir.path()).filePath(QStringLiteral("WinDsKm.InI")));
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write("[Tips]\r\nShow Tip=0\r\n[CDDB]\r\nUser Name=anna\r\n");
        }
        StartOptions options;
        options.dataDirectory = dir.path();
        options.arguments = QStringList{QStringLiteral("reindex")};
        bool previewThere = false, settingsRead = false, backupWired = false;
        bool lockedWhileOpen = false;
        QString caption;
        options.whenUsable = [&](TMain& main) {
            previewThere = TPreviewDialog::instance() != nullptr;
            settingsRead = main.state().settings.cddbUserName == QLatin1String("anna");
            backupWired = main.action(MainCommand::Backup)->isEnabled();
            caption = main.windowTitle();
            lockedWhileOpen = !DataDirectoryLock(dir.path()).tryLock();
            main.close();
        };
        char name[] = "diskarium";
        char* argv[] = {name, nullptr};
        QCOMPARE(runDiskarium(1, argv, options), 0);
        QVERIFY(previewThere);
        QVERIFY(settingsRead);
        QVERIFY(backupWired);
        QCOMPARE(caption, QStringLiteral("Diskarium"));
        // The data directory is the program's while it runs, and free again after it ended.
        QVERIFY(lockedWhileOpen);
        QVERIFY(!QFile::exists(
            QDir(dir.path()).filePath(QString::fromLatin1(DataDirectoryLock::kFileName))));
        QVERIFY(dataset::exists(dir.path()));
        QVERIFY(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("cddbhosts.txt"))));
        // The settings were written back on closing and keep what was there.
        QCOMPARE(settingsfile::read(QDir(dir.path()).filePath(QStringLiteral("WinDsKm.InI")))
                     .cddbUserName,
                 QStringLiteral("anna"));
    }
};

QTEST_APPLESS_MAIN(TestApplication)
#include "tst_application.moc"
