// Where windows open: work-area children inside the visible part of a small main window, on
// top and with the focus; dialogs and the help window inside the screen.
#include "../../core/catalogue/carrierfixture.h"
#include "gui/catalogue/medialistcommands.h"
#include "gui/printing/statistikdialog.h"
#include "gui/shell/helpviewer.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"
#include "support/appstatefixture.h"
#include "support/scriptedmessageservice.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

class TestWindowPlacement : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<HintFilter> m_hints;
    std::unique_ptr<TMain> m_main;
    ScriptedMessageService m_messages;
    MediaListCommands* m_lists = nullptr;

    QMdiArea* area() const { return m_main->mdiArea(); }
    static QRect available(const QWidget& w) { return w.screen()->availableGeometry(); }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->filePath(QStringLiteral("daten")));
        QVERIFY(m_state);
        for (int n = 1; n <= 30; ++n)
            addCarrier(m_state->db, CarrierSpec(n, QStringLiteral("Gruppe %1").arg(n)));
        m_state->settings.showTip = false;
        m_hints = std::make_unique<HintFilter>();
        m_main = std::make_unique<TMain>(*m_state, *m_hints);
        m_lists = new MediaListCommands(*m_main, m_messages);
        m_lists->install();
        m_main->setFixedSize(640, 480);
        m_main->show();
        QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
        QTRY_VERIFY(m_main->isEnabled());
    }
    void cleanup() {
        m_main.reset();
        m_state.reset();
    }

    // Each child opens inside the visible part of the work area, no larger than it, as the
    // active window on top with the focus in it; the first one stays where it is.
    void childrenOpenInsideTheWorkArea() {
        auto* wide = new QWidget;
        wide->setWindowTitle(QStringLiteral("Breit"));
        wide->resize(1800, 1200);
        QMdiSubWindow* wideFrame = m_main->addChildWindow(wide);
        QVERIFY(m_lists->openList());
        QVERIFY(m_lists->openDisplay(3));
        const QRect visible = area()->viewport()->rect();
        QCOMPARE(area()->subWindowList().size(), 3);
        for (QMdiSubWindow* w : area()->subWindowList()) {
            QVERIFY2(visible.contains(w->geometry()),
                     qPrintable(QStringLiteral("%1: %2,%3 %4x%5 in %6x%7")
                                    .arg(w->windowTitle())
                                    .arg(w->x())
                                    .arg(w->y())
                                    .arg(w->width())
                                    .arg(w->height())
                                    .arg(visible.width())
                                    .arg(visible.height())));
        }
        QMdiSubWindow* display = area()->subWindowList().constLast();
        QCOMPARE(area()->activeSubWindow(), display);
        QCOMPARE(area()->subWindowList(QMdiArea::StackingOrder).constLast(), display);
        QVERIFY(display->widget()->isAncestorOf(QApplication::focusWidget()));

        // The list command again brings the open list back to the front.
        QVERIFY(m_lists->openList());
        QMdiSubWindow* list = area()->activeSubWindow();
        QVERIFY(list && list != display && list != wideFrame);
        QCOMPARE(area()->subWindowList(QMdiArea::StackingOrder).constLast(), list);
        QVERIFY(list->widget()->isAncestorOf(QApplication::focusWidget()));
        QVERIFY(qobject_cast<QTableView*>(QApplication::focusWidget())); // typing moves the rows

        // So does its entry in the window menu, when it was minimised.
        area()->subWindowList().constLast()->setFocus();
        list->showMinimized();
        QMenu* windows = nullptr;
        for (QAction* a : m_main->menuBar()->actions())
            if (a->text() == QStringLiteral("&Fenster"))
                windows = a->menu();
        QVERIFY(windows);
        emit windows->aboutToShow();
        QAction* entry = nullptr;
        for (QAction* a : windows->actions())
            if (a->text().endsWith(list->windowTitle()))
                entry = a;
        QVERIFY(entry);
        entry->trigger();
        QVERIFY(!list->isMinimized());
        QCOMPARE(area()->activeSubWindow(), list);
        QVERIFY(qobject_cast<QTableView*>(QApplication::focusWidget()));
    }

    // A dialog whose result makes it grow, and the help window, stay inside the screen.
    void topLevelWindowsFitTheScreen() {
        TStatistikDialog statistics(*m_state, m_messages, 1, m_main.get());
        statistics.show();
        QTRY_VERIFY(statistics.counted());
        QVERIFY(available(statistics).contains(statistics.frameGeometry()));
        statistics.close();

        HelpViewer& help = m_main->help();
        help.move(available(help).topLeft() + QPoint(300, 200));
        help.showContents();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        QVERIFY(available(help).contains(help.frameGeometry()));
    }
};

QTEST_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
