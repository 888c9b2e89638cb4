#pragma once

#include "core/db/records.h"
#include "gui/shell/childwindow.h"

#include <QWidget>
#include <functional>

struct AppState;
class MessageService;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

// The template editor: name, margin and the three parts of one template. A new template is
// stored only when saved; the list of its type re-reads after every save.
class TEditPrintTextDialog : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    enum class Mode { New, Change, Copy };

    TEditPrintTextDialog(AppState& state, MessageService& messages, int type, Mode mode,
                         const PrintTemplateRecord& source = {}, QWidget* parent = nullptr);

    // "Listentext", "Tonträgertext" ... by type.
    static QString typeCaption(int type);
    // The running number of new and copied editors starts again (tests).
    static void resetCaptionNumbers();

    int type() const { return m_type; }
    int index() const { return m_index; } // 0 until a new template is saved
    bool changed() const;
    bool save();

    // Help, field selection and a re-read of the main window's menus come from outside.
    std::function<void(int)> helpHandler;
    std::function<void()> menusChanged;
    std::function<void(int type)> saved;

    QLineEdit* nameEdit() const { return m_name; }
    QSpinBox* marginBox() const { return m_margin; }
    QPlainTextEdit* headEdit() const { return m_head; }
    QPlainTextEdit* pageEdit() const { return m_page; }
    QPlainTextEdit* footEdit() const { return m_foot; }
    QLabel* caretLabel() const { return m_caret; }
    QPushButton* insertFieldButton() const { return m_insertField; }

    void insertField();
    // Replaces the selection of the text box focused last.
    void insertText(const QString& text);
    void importFile();
    void exportFile();

    QList<QMenu*> contributedMenus() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    PrintTemplateRecord current() const;
    void load(const PrintTemplateRecord& record);
    void updateCaret();
    void buildEditMenu();
    void updateEditMenu();
    QString folderSetting() const;

    AppState& m_state;
    MessageService& m_messages;
    int m_type = 0;
    int m_index = 0;
    bool m_copied = false;
    PrintTemplateRecord m_reference;
    QLineEdit* m_name = nullptr;
    QSpinBox* m_margin = nullptr;
    QPlainTextEdit* m_head = nullptr;
    QPlainTextEdit* m_page = nullptr;
    QPlainTextEdit* m_foot = nullptr;
    QPlainTextEdit* m_lastText = nullptr;
    bool m_textFocused = false;
    QLabel* m_caret = nullptr;
    QPushButton* m_insertField = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QMenu* m_editMenu = nullptr;
};
