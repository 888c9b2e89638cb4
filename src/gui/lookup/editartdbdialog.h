#pragma once

#include "core/db/records.h"
#include "lookupeditwindow.h"

class QLineEdit;
class QSpinBox;
class FontFamilyBox;

// Edit window of a media type: names, the start of its carrier numbering and its cover print
// layout, saved together.
class TEditArtDBDialog : public LookupEditWindow {
    Q_OBJECT
public:
    TEditArtDBDialog(LookupCommands& commands, std::optional<double> key);

    bool changed() const override;
    QLineEdit* longNameEdit() const { return m_long; }
    QLineEdit* shortNameEdit() const { return m_short; }
    QLineEdit* numberingEdit() const { return m_numbering; }
    FontFamilyBox* fontBox() const { return m_font; }
    QSpinBox* sizeBox() const { return m_size; }
    QSpinBox* linesBeforeBox() const { return m_before; }
    QSpinBox* linesAfterBox() const { return m_after; }

protected:
    std::optional<double> store() override;
    void takeSnapshot() override;
    QString longName() const override;

private:
    void showCover(const CoverLayoutRecord& cover);

    QLineEdit* m_long = nullptr;
    QLineEdit* m_short = nullptr;
    QLineEdit* m_numbering = nullptr;
    FontFamilyBox* m_font = nullptr;
    QSpinBox* m_size = nullptr;
    QSpinBox* m_before = nullptr;
    QSpinBox* m_after = nullptr;
    // As the records stood when the window opened or was last saved: a cover record just
    // started has no font, size or lines yet.
    QString m_snapshotLong, m_snapshotShort, m_snapshotNumbering, m_snapshotFont;
    int m_snapshotSize = 0;
    OptShort m_storedBefore, m_storedAfter;
};
