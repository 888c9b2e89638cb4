#pragma once

#include <QDialog>

class QPlainTextEdit;

// "Textdatei anzeigen": a delivered text file, read-only.
class TReadmeDialog : public QDialog {
    Q_OBJECT
public:
    TReadmeDialog(const QString& path, QWidget* parent = nullptr);
    QString text() const;

    // The file's text, or the notice shown when it cannot be read.
    static QString load(const QString& path);

private:
    QPlainTextEdit* m_memo;
};
