#include "editartdbdialog.h"

#include "core/common/germanformat.h"
#include "core/lookup/lookupkinds.h"
#include "core/lookup/lookupstore.h"
#include "core/printing/fontchoice.h"
#include "editdbdialog.h"
#include "gui/printing/fontfamilybox.h"
#include "lookupcommands.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSpinBox>

namespace {

QSpinBox* spinBox(QWidget* owner, int low, int high) {
    auto* box = new QSpinBox(owner);
    box->setRange(low, high);
    return box;
}

void addRow(QWidget* owner, QGridLayout* grid, const QString& label, QWidget* field) {
    auto* l = new QLabel(label, owner);
    l->setBuddy(field);
    const int row = grid->rowCount();
    grid->addWidget(l, row, 0);
    grid->addWidget(field, row, 1);
}

} // namespace

TEditArtDBDialog::TEditArtDBDialog(LookupCommands& commands, std::optional<double> key)
    : LookupEditWindow(commands, lookup::kMediaTypes, key) {
    auto* grid = new QGridLayout;
    addNameFields(this, grid, m_long, m_short);
    m_numbering = new QLineEdit(this);
    m_numbering->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}")), this));
    addRow(this, grid, QStringLiteral("Fol&genummer:"), m_numbering);
    m_font = new FontFamilyBox(this);
    addRow(this, grid, QStringLiteral("&Schriftart:"), m_font);
    m_size = spinBox(this, fontchoice::kMinimumSize, fontchoice::kMaximumSize);
    addRow(this, grid, QStringLiteral("&Größe:"), m_size);
    m_before = spinBox(this, 0, 15);
    addRow(this, grid, QStringLiteral("&Leerzeilen vor:"), m_before);
    m_after = spinBox(this, 0, 15);
    addRow(this, grid, QStringLiteral("Leer&zeilen nach:"), m_after);

    showCover(defaultCoverLayout(0));
    if (key) {
        LookupStore store(db(), lookup::kMediaTypes);
        const std::optional<LookupRecord> record = store.find(*key);
        setLoaded(bool(record));
        if (record) {
            m_long->setText(record->langbezeichnung);
            m_short->setText(record->kurzbezeichnung);
            if (record->nummerierung)
                m_numbering->setText(germanformat::formatNumber(*record->nummerierung));
            m_long->selectAll();
        }
        if (const std::optional<CoverLayoutRecord> cover = store.findCover(*key)) {
            showCover(*cover);
            m_snapshotFont = cover->fontName;
            m_snapshotSize = cover->fontGroesse.value_or(0);
            m_storedBefore = cover->leerzeilenVor;
            m_storedAfter = cover->leerzeilenNach;
        }
    }
    m_snapshotLong = m_long->text();
    m_snapshotShort = m_short->text();
    m_snapshotNumbering = m_numbering->text();
    setTabOrder(m_long, m_short);
    setTabOrder(m_short, m_numbering);
    setTabOrder(m_numbering, m_font);
    setTabOrder(m_font, m_size);
    setTabOrder(m_size, m_before);
    setTabOrder(m_before, m_after);
    finishLayout(grid, lookup::kindInfo(lookup::kMediaTypes).editHelp);
}

void TEditArtDBDialog::showCover(const CoverLayoutRecord& cover) {
    m_font->setFamily(cover.fontName);
    m_size->setValue(cover.fontGroesse.value_or(6));
    m_before->setValue(cover.leerzeilenVor.value_or(0));
    m_after->setValue(cover.leerzeilenNach.value_or(0));
}

QString TEditArtDBDialog::longName() const {
    return m_snapshotLong;
}

bool TEditArtDBDialog::changed() const {
    return m_long->text() != m_snapshotLong || m_short->text() != m_snapshotShort ||
           m_numbering->text() != m_snapshotNumbering || m_font->family() != m_snapshotFont ||
           m_size->value() != m_snapshotSize ||
           OptShort(qint16(m_before->value())) != m_storedBefore ||
           OptShort(qint16(m_after->value())) != m_storedAfter;
}

void TEditArtDBDialog::takeSnapshot() {
    m_snapshotLong = m_long->text();
    m_snapshotShort = m_short->text();
    m_snapshotNumbering = m_numbering->text();
    m_snapshotFont = m_font->family();
    m_snapshotSize = m_size->value();
    m_storedBefore = qint16(m_before->value());
    m_storedAfter = qint16(m_after->value());
}

std::optional<double> TEditArtDBDialog::store() {
    if (!checkLongName(messages(), m_long))
        return std::nullopt;
    LookupEntry entry;
    entry.key = key();
    entry.longName = m_long->text();
    entry.shortName = m_short->text();
    // The carrier entry window advances the stored numbering; only a change made here is
    // written back.
    if (!key() || m_numbering->text() != m_snapshotNumbering)
        entry.numbering = m_numbering->text().isEmpty() ? 0.0 : m_numbering->text().toDouble();
    CoverLayoutRecord cover;
    cover.leerzeilenVor = qint16(m_before->value());
    cover.leerzeilenNach = qint16(m_after->value());
    cover.fontName = m_font->family();
    cover.fontGroesse = qint16(m_size->value());
    entry.cover = cover;
    return LookupStore(db(), lookup::kMediaTypes).save(entry);
}
