// The user's field names in the windows: the entry window's labels with their context menu, the
// rename dialog, every open window following a rename, a reset, "delete all" and a changed
// switch, and the template field selection.
#include "../../core/catalogue/carrierfixture.h"
#include "core/catalogue/carrierdisplay.h"
#include "core/catalogue/fieldlabels.h"
#include "core/catalogue/medialistmodel.h"
#include "gui/catalogue/cataloguecommands.h"
#include "gui/catalogue/displayheadandpos.h"
#include "gui/catalogue/fieldlabelbinder.h"
#include "gui/catalogue/fieldrenamedialog.h"
#include "gui/catalogue/headbrowsewindow.h"
#include "gui/catalogue/medialistcommands.h"
#include "gui/catalogue/tmainttdialog.h"
#include "gui/printing/fieldselectdialog.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/settingsdialog.h"
#include "support/appstatefixture.h"
#include "support/scriptedmessageservice.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Runs step on the next modal window that appears.
void whenModal(std::function<void(QWidget*)> step) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, step] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            step(modal);
        }
    });
    timer->start();
}

QString labelOf(TMainTtDialog* w, int key) {
    for (QLabel* l : w->fieldLabels().labels()) {
        if (l->property("labelKey").toInt() == key)
            return l->text();
    }
    return {};
}

QCheckBox* checkBoxOf(QWidget* dialog, const QString& caption) {
    for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
        if (box->text() == caption)
            return box;
    }
    return nullptr;
}

int songColumn(int key) {
    const auto& columns = carrierdisplay::songColumns();
    for (size_t c = 0; c < columns.size(); ++c) {
        if (columns[c].labelKey == key)
            return int(c);
    }
    return -1;
}

} // namespace

class TestFieldLabelWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<HintFilter> m_hints;
    std::unique_ptr<TMain> m_main;
    ScriptedMessageService m_messages;
    MediaListCommands* m_list = nullptr;
    CatalogueCommands* m_entry = nullptr;

    Database& db() { return m_state->db; }

    struct Open {
        THeadBrowseWindow* list;
        THeadBrowseWindow* result;
        TMainTtDialog* entry;
        TDisplayHeadAndPos* display;
    };
    Open openAll() {
        Open o;
        o.list = m_list->openList();
        o.result = m_list->openSearchResult(1, {QStringLiteral("1 = 1"), {}});
        o.entry = m_entry->openCarrier(1);
        o.display = m_list->openDisplay(1);
        return o;
    }
    // What each window shows for "Hersteller" and the song title.
    QStringList shown(const Open& o) {
        return {o.list->model()->headerData(17, Qt::Horizontal, Qt::DisplayRole).toString(),
                o.result->model()->headerData(17, Qt::Horizontal, Qt::DisplayRole).toString(),
                labelOf(o.entry, 10190),
                labelOf(o.entry, 10525),
                o.display->labelText(10190),
                o.display->songs()->horizontalHeaderItem(songColumn(10525))->text()};
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->filePath(QStringLiteral("daten")));
        QVERIFY(m_state);
        m_messages.clear();
        m_hints = std::make_unique<HintFilter>();
        m_main = std::make_unique<TMain>(*m_state, *m_hints);
        m_list = new MediaListCommands(*m_main, m_messages);
        m_list->install();
        m_entry = new CatalogueCommands(*m_main, m_messages);
        m_entry->install();
        addCarrier(db(), CarrierSpec(1, QStringLiteral("Abba")));
        addSong(db(), 1, 1, 1, QStringLiteral("Waterloo"), 2.45);
    }
    void cleanup() {
        m_main.reset();
        m_state.reset();
    }

    void entryWindowBySwitch_data() {
        QTest::addColumn<bool>("switchOn");
        QTest::addColumn<QString>("maker");
        QTest::addColumn<QString>("song");
        QTest::newRow("switch 2 on") << true << "Label:"
                                     << "&Song:";
        QTest::newRow("switch 2 off") << false << "Her&steller:"
                                      << "Lied&titel:";
    }
    void entryWindowBySwitch() {
        QFETCH(bool, switchOn);
        QFETCH(QString, maker);
        QFETCH(QString, song);
        fieldlabels::rename(db(), 10190, QStringLiteral("Label"));
        fieldlabels::rename(db(), 10525, QStringLiteral("&Song"));
        m_state->settings.ttRename[1] = switchOn;
        TMainTtDialog* w = m_entry->openCarrier(1);
        QCOMPARE(labelOf(w, 10190), maker);
        QCOMPARE(labelOf(w, 10525), song);
        // The menu is there whatever the switch says; the stored name shows where it is on.
        QMenu* menu = w->labelMenu(10190);
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->actions()[0]->text(), QStringLiteral("&Umbenennen"));
        QCOMPARE(menu->actions()[1]->text(), QStringLiteral("&Zurücksetzen"));
        whenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<TFieldRenameDialog*>(modal);
            QVERIFY(dialog);
            dialog->nameEdit()->setText(QStringLiteral("Fir&ma"));
            dialog->okButton()->click();
        });
        menu->actions()[0]->trigger();
        QCOMPARE(fieldlabels::userName(db(), 10190), QStringLiteral("Fir&ma"));
        QCOMPARE(labelOf(w, 10190), switchOn ? QStringLiteral("Fir&ma:") : maker);
        delete menu;
    }

    void renameDialog() {
        fieldlabels::rename(db(), 10110, QStringLiteral("Künstler"));
        {
            TFieldRenameDialog dialog(db(), m_messages, 10110);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Feld umbenennen"));
            QCOMPARE(dialog.originalEdit()->text(), QStringLiteral("&Gruppe"));
            QVERIFY(dialog.originalEdit()->isReadOnly());
            QCOMPARE(dialog.descriptionEdit()->text(),
                     QStringLiteral("Gruppe, Interpret oder erste Titelzeile"));
            QCOMPARE(dialog.nameEdit()->text(), QStringLiteral("Künstler"));
            QVERIFY(dialog.okButton()->isEnabled());
            dialog.nameEdit()->clear();
            QVERIFY(!dialog.okButton()->isEnabled());
            QTest::keyClicks(dialog.nameEdit(), QString(35, QLatin1Char('x')));
            QCOMPARE(dialog.nameEdit()->text().size(), 30);
            dialog.reject(); // "&Abbruch"
        }
        QCOMPARE(fieldlabels::userName(db(), 10110), QStringLiteral("Künstler"));
        TFieldRenameDialog fresh(db(), m_messages, 10115);
        QVERIFY(fresh.nameEdit()->text().isEmpty());
        QVERIFY(!fresh.okButton()->isEnabled());
        fresh.nameEdit()->setText(QStringLiteral("\"Name\" & Ä"));
        fresh.OkButtonClick();
        QCOMPARE(fresh.result(), int(QDialog::Accepted));
        QCOMPARE(fieldlabels::userName(db(), 10115), QStringLiteral("\"Name\" & Ä"));
    }

    // With every window open, a rename, a reset, "delete all" and a changed switch reach each
    // of them, by its switch: list and results on (1), entry window on (2), display off (3).
    void openWindowsFollow() {
        m_state->settings.ttRename = {true, true, false, false, false, false, false};
        const Open o = openAll();
        const QStringList builtIn{
            "Hersteller", "Hersteller", "Her&steller:", "Lied&titel:", "Hersteller:", "Titel"};
        QCOMPARE(shown(o), builtIn);

        whenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<TFieldRenameDialog*>(modal);
            QVERIFY(dialog);
            dialog->nameEdit()->setText(QStringLiteral("La&bel"));
            dialog->okButton()->click();
        });
        QVERIFY(o.entry->renameLabel(10190));
        QCOMPARE(shown(o),
                 QStringList({"Label", "Label", "La&bel:", "Lied&titel:", "Hersteller:", "Titel"}));
        // A sort by the renamed column stays that column's.
        o.list->sortByColumn(17);
        QCOMPARE(m_state->settings.singerSortOrder, medialist::gridColumns()[17].sortExpression);

        o.entry->resetLabel(10190);
        QCOMPARE(shown(o), builtIn);

        fieldlabels::rename(db(), 10190, QStringLiteral("Firma"));
        fieldlabels::rename(db(), 10525, QStringLiteral("Song"));
        // The settings dialog: "delete all" at once, then switch 3 on and confirm.
        whenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<TSettingsDialog*>(modal);
            QVERIFY(dialog);
            whenModal([](QWidget* box) {
                auto* question = qobject_cast<QMessageBox*>(box);
                QVERIFY(question);
                for (QAbstractButton* b : question->buttons()) {
                    if (b->text() == QStringLiteral("Ja"))
                        b->click();
                }
            });
            dialog->deleteRenamedLabels();
            dialog->accept();
        });
        m_main->action(MainCommand::Settings)->trigger();
        QCOMPARE(shown(o), builtIn);

        fieldlabels::rename(db(), 10190, QStringLiteral("Firma"));
        fieldlabels::rename(db(), 10525, QStringLiteral("So&ng"));
        whenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<TSettingsDialog*>(modal);
            QVERIFY(dialog);
            checkBoxOf(dialog, QStringLiteral("Tonträger an&zeigen Dialog"))->setChecked(true);
            checkBoxOf(dialog, QStringLiteral("Tonträger &erfassen Dialog"))->setChecked(false);
            dialog->accept();
        });
        m_main->action(MainCommand::Settings)->trigger();
        QCOMPARE(shown(o),
                 QStringList({"Firma", "Firma", "Her&steller:", "Lied&titel:", "Firma:", "Song"}));
    }

    // The reset of a key without a delivered row brings back the built-in caption; with a
    // delivered row the delivered name shows, "Stat&us" with a colon.
    void resetShowsDeliveredName() {
        db().exec(u"DELETE FROM \"FeldOriginal\" WHERE \"Feldindex\" = 10110");
        fieldlabels::rename(db(), 10110, QStringLiteral("Künstler"));
        TMainTtDialog* w = m_entry->openCarrier(1);
        QCOMPARE(labelOf(w, 10110), QStringLiteral("Künstler:"));
        w->resetLabel(10110);
        QCOMPARE(labelOf(w, 10110), QStringLiteral("&Gruppe:"));
        w->resetLabel(10150);
        QCOMPARE(labelOf(w, 10150), QStringLiteral("Stat&us:"));
        QVERIFY(fieldlabels::renamed(db()).isEmpty());
    }

    // What the search dialogs and the song list register: field list entries and model
    // columns; an empty stored name and an entry without a key keep the built-in text.
    void binderEntriesAndModelColumns_data() {
        QTest::addColumn<bool>("switchOn");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("switch 4 on") << true << QStringList{"Künstler", "Titel", "Art", "Sänger"};
        QTest::newRow("switch 4 off")
            << false << QStringList{"Gruppe", "Titel", "Art", "Interpret"};
    }
    void binderEntriesAndModelColumns() {
        QFETCH(bool, switchOn);
        QFETCH(QStringList, shown);
        fieldlabels::rename(db(), 10110, QStringLiteral("&Künstler"));
        db().exec(u"INSERT INTO \"FeldKopie\" VALUES ('T', 10115, '')");
        fieldlabels::rename(db(), 10530, QStringLiteral("Sänger"));
        m_state->settings.ttRename[3] = switchOn;
        QListWidget list;
        list.addItems({QStringLiteral("Gruppe"), QStringLiteral("Titel"), QStringLiteral("Art")});
        QStandardItemModel model(0, 1);
        FieldLabelBinder binder(*m_state, FieldLabelBinder::CarrierSearch);
        binder.addEntry(list.item(0), 10110);
        binder.addEntry(list.item(1), 10115);
        binder.addEntry(list.item(2), 0);
        binder.addColumn(&model, 0, 10530, QStringLiteral("Interpret"));
        binder.apply();
        QCOMPARE(QStringList({list.item(0)->text(), list.item(1)->text(), list.item(2)->text(),
                              model.headerData(0, Qt::Horizontal).toString()}),
                 shown);
        fieldlabels::deleteAllRenamed(db());
        binder.apply();
        QCOMPARE(list.item(0)->text(), QStringLiteral("Gruppe"));
    }

    // The style boxes and the alignment follow the row; the alignment returns to "Normal".
    void fieldSelectionFollowsTheRow() {
        fieldlabels::SelectableField padded{
            1, QStringLiteral("Eins"), QStringLiteral("EINS"), {}, true, 1};
        fieldlabels::SelectableField plain{
            2, QStringLiteral("Zwei"), QStringLiteral("ZWEI"), QStringLiteral("Eigen"), false, -1};
        TFieldSelectDialog dialog({padded, plain});
        QCOMPARE(dialog.grid()->item(1, 2)->text(), QStringLiteral("Eigen"));
        dialog.grid()->selectRow(0);
        dialog.boldBox()->setChecked(true);
        dialog.padAfterButton()->setChecked(true);
        QCOMPARE(dialog.result(), QStringLiteral("$F$&EINS&$N$"));
        dialog.grid()->selectRow(1);
        for (QCheckBox* box :
             {dialog.boldBox(), dialog.italicBox(), dialog.underlineBox(), dialog.normalBox()}) {
            QVERIFY(!box->isEnabled());
            QVERIFY(!box->isChecked());
        }
        QVERIFY(!dialog.alignmentGroup()->isEnabled());
        QVERIFY(dialog.plainButton()->isChecked());
        QCOMPARE(dialog.result(), QStringLiteral("$ZWEI$"));
        dialog.grid()->selectRow(0);
        QVERIFY(dialog.boldBox()->isEnabled());
        QVERIFY(dialog.alignmentGroup()->isEnabled());
        QVERIFY(dialog.plainButton()->isChecked());
        dialog.reject();
        QVERIFY(dialog.result().isEmpty());
    }
};

QTEST_MAIN(TestFieldLabelWindows)
#include "tst_fieldlabelwindows.moc"
