#include "fontfamilybox.h"

#include "core/printing/fontchoice.h"

FontFamilyBox::FontFamilyBox(QWidget* parent) : QComboBox(parent) {
    addItems(fontchoice::families());
    setMaxVisibleItems(20);
}

void FontFamilyBox::setFamily(const QString& family) {
    int index = findText(family, Qt::MatchFixedString);
    if (index < 0) {
        addItem(family);
        index = count() - 1;
    }
    setCurrentIndex(index);
}
