#pragma once

#include <QLineEdit>

// A field that shows a value the dialog does not let the user change: the tab order passes
// it by, a click still lets the text be selected and copied.
inline QLineEdit* readOnlyField(const QString& text = QString()) {
    auto* field = new QLineEdit(text);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    return field;
}
