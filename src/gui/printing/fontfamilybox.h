#pragma once

#include <QComboBox>

// The font drop-down of the report and list dialogs: the families the reports can print
// with. A stored family that is not installed is kept (and shown) under its own name; it
// prints with the substitute the font configuration chooses.
class FontFamilyBox : public QComboBox {
    Q_OBJECT
public:
    explicit FontFamilyBox(QWidget* parent = nullptr);

    void setFamily(const QString& family);
    QString family() const { return currentText(); }
};
