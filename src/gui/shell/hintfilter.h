#pragma once

#include <QObject>

// Switches hints (tool tips and status-bar hint texts) on and off for the whole program.
class HintFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    void setHintsEnabled(bool enabled) { m_enabled = enabled; }
    bool hintsEnabled() const { return m_enabled; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_enabled = true;
};
