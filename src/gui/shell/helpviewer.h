#pragma once

#include <QHash>
#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QLineEdit;
class QListWidget;

// The built-in help: German HTML pages shipped with the program, addressed by help
// context numbers and topic names. One window for the program's run.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent = nullptr);

    void showContents();
    void showContext(int helpContext);
    void showTopic(const QString& topic);
    // Opens the keyword search with the keyword given (empty to start afresh).
    void showSearch(const QString& keyword = {});

    // The page of a context or topic; the contents page for unknown ones.
    static QUrl pageFor(const QString& key);

private:
    void showPage(const QUrl& url);
    void search(const QString& keyword);

    QTextBrowser* m_browser;
    QLineEdit* m_searchField;
    QListWidget* m_results;
};
