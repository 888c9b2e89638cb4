#pragma once

#include "core/catalogue/detailstores.h"
#include "entrypage.h"

#include <QPointer>

class FindReplaceDialog;
class QAction;
class QLabel;
class QPlainTextEdit;

// "Zusatztext": the free text of the carrier with a small editor.
class TextPage : public EntryPage {
    Q_OBJECT
public:
    static constexpr int kMaxLength = 5000;

    explicit TextPage(TMainTtDialog& window);

    void enter() override;
    bool save() override;
    bool leave(Reason reason) override;

    bool isChanged() const;
    void setMenuShortcutsActive(bool active);
    void showFind();
    void showReplace();
    void goToLine();
    // One search or replacement as the dialog asks; public for tests.
    bool findNext(FindReplaceDialog& dialog, int notFoundHelp);
    void replaceOne(FindReplaceDialog& dialog);
    void replaceAll(FindReplaceDialog& dialog);

    QPlainTextEdit* editor() const { return m_editor; }
    QLabel* positionLabel() const { return m_position; }
    QList<QAction*> editActions() const { return m_actions; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updatePosition();
    void limitLength(int position, int removed, int added);
    void load();

    CarrierTextStore m_store;
    QPlainTextEdit* m_editor;
    QLabel* m_position;
    QList<QAction*> m_actions;
    QList<QKeySequence> m_shortcuts;
    QPointer<FindReplaceDialog> m_find;
    QPointer<FindReplaceDialog> m_replace;
    int m_previousLength = 0;
    bool m_limiting = false;
};
