#include "entrywindowfixture.h"
#include "gui/catalogue/carrierpage.h"
#include "gui/catalogue/fieldedits.h"
#include "gui/catalogue/lookupcombo.h"

#include <QApplication>
#include <QLineEdit>

// Escape in an open drop-down or calendar of the entry window closes only that popup.
class TestEntryWindowPopups : public QObject {
    Q_OBJECT
    std::unique_ptr<EntryWindowFixture> f;

    QWidget* field(CarrierPage* page, const QString& name) {
        if (name == QLatin1String("type"))
            return page->typeCombo();
        if (name == QLatin1String("direction"))
            return page->directionCombo();
        if (name == QLatin1String("status"))
            return page->statusCombo();
        if (name == QLatin1String("currency"))
            return page->currencyCombo();
        return page->dateEdit();
    }

private slots:
    void init() {
        f = std::make_unique<EntryWindowFixture>();
        QVERIFY(f->state);
    }
    void cleanup() { f.reset(); }

    void escapeClosesOnlyThePopup_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"type", "direction", "status", "currency", "date"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void escapeClosesOnlyThePopup() {
        QFETCH(QString, name);
        auto w = f->open();
        CarrierPage* page = w->carrierPage();
        page->groupEdit()->setText(QStringLiteral("Gruppe")); // closing would ask now
        QWidget* edit = field(page, name);
        edit->setFocus();
        if (auto* combo = qobject_cast<QComboBox*>(edit))
            combo->showPopup();
        else
            QTest::keyClick(edit, Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QWidget* popup = QApplication::activePopupWidget();
        QTest::keyClick(popup->focusWidget() ? popup->focusWidget() : popup, Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QVERIFY(w->isVisible());
        QCOMPARE(f->texts(), QStringList());

        // Without the popup Escape is the window's again: the question, then closing.
        f->messages.answer(MessageButton::No);
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(f->texts(), QStringList{QStringLiteral("Die Tonträgerdaten wurden neu erfaßt. "
                                                        "Sollen diese Daten gespeichert werden?")});
        QVERIFY(!w->isVisible());
    }
};

QTEST_MAIN(TestEntryWindowPopups)
#include "tst_entrywindowpopups.moc"
