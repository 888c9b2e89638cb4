#include "picturepage.h"

#include "core/catalogue/cataloguetexts.h"
#include "core/common/messageservice.h"
#include "core/shell/appstate.h"
#include "tmainttdialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kPictureFilter =
    QStringLiteral("Alle Grafiken (*.jpg *.jpeg *.png *.bmp *.gif *.ico *.JPG *.JPEG *.PNG *.BMP "
                   "*.GIF *.ICO);;JPEG (*.jpg *.jpeg *.JPG *.JPEG);;PNG (*.png *.PNG);;Bitmaps "
                   "(*.bmp *.BMP);;GIF (*.gif *.GIF);;Symbole (*.ico *.ICO)");

} // namespace

void PictureFrame::setImage(const QImage& image) {
    m_image = image;
    update();
}

void PictureFrame::setStretched(bool stretched) {
    m_stretched = stretched;
    update();
}

QRect PictureFrame::pictureRect() const {
    if (m_image.isNull())
        return {};
    QSize size = m_image.size();
    if (m_stretched)
        size.scale(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void PictureFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    if (!m_image.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform, m_stretched);
        p.drawImage(pictureRect(), m_image);
    }
    p.setPen(palette().mid().color());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

PicturePage::PicturePage(TMainTtDialog& window)
    : EntryPage(window), m_store(window.db()), m_frame(new PictureFrame(this)) {
    m_frame->setMinimumSize(200, 200);
    setHint(m_frame, QStringLiteral("Die Grafik des Tonträgers"));
    m_stretch = new QCheckBox(QStringLiteral("&vergrößern"), this);
    setHint(m_stretch, QStringLiteral("Die Grafik auf die Größe des Rahmens bringen"));
    m_scan = new QPushButton(QStringLiteral("S&cannen"), this);
    m_load = new QPushButton(QStringLiteral("Lade&n"), this);
    m_delete = new QPushButton(QStringLiteral("L&öschen"), this);
    m_first = new QPushButton(QStringLiteral("|<"), this);
    m_previous = new QPushButton(QStringLiteral("<"), this);
    m_next = new QPushButton(QStringLiteral(">"), this);
    m_last = new QPushButton(QStringLiteral(">|"), this);
    setHint(m_scan, QStringLiteral("Eine Grafik einscannen"));
    setHint(m_load, QStringLiteral("Eine Grafik aus einer Datei laden"));
    setHint(m_delete, QStringLiteral("Die angezeigte Grafik löschen"));
    setHint(m_first, QStringLiteral("Erste Grafik"));
    setHint(m_previous, QStringLiteral("Vorherige Grafik"));
    setHint(m_next, QStringLiteral("Nächste Grafik"));
    setHint(m_last, QStringLiteral("Letzte Grafik"));
    m_scan->setVisible(window.state().scannerAvailable);
    connect(m_stretch, &QCheckBox::toggled, m_frame, &PictureFrame::setStretched);
    connect(m_scan, &QPushButton::clicked, this, &PicturePage::scanPicture);
    connect(m_load, &QPushButton::clicked, this, &PicturePage::loadPicture);
    connect(m_delete, &QPushButton::clicked, this, &PicturePage::deletePicture);
    connect(m_first, &QPushButton::clicked, this, [this] { navigate(EntryNavigation::First); });
    connect(m_previous, &QPushButton::clicked, this,
            [this] { navigate(EntryNavigation::Previous); });
    connect(m_next, &QPushButton::clicked, this, [this] { navigate(EntryNavigation::Next); });
    connect(m_last, &QPushButton::clicked, this, [this] { navigate(EntryNavigation::Last); });
    for (QPushButton* b : {m_scan, m_load, m_delete, m_first, m_previous, m_next, m_last})
        b->setFocusPolicy(Qt::TabFocus);

    auto* side = new QVBoxLayout;
    side->addWidget(m_stretch);
    side->addWidget(m_scan);
    side->addWidget(m_load);
    side->addWidget(m_delete);
    auto* nav = new QHBoxLayout;
    for (QPushButton* b : {m_first, m_previous, m_next, m_last}) {
        b->setMaximumWidth(32);
        nav->addWidget(b);
    }
    side->addLayout(nav);
    side->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_frame, 1);
    layout->addLayout(side);
}

void PicturePage::setAcquisition(PictureAcquisition* acquisition) {
    m_acquisition = acquisition;
    m_scan->setVisible(acquisition != nullptr || m_window.state().scannerAvailable);
}

void PicturePage::reload() {
    m_entries = m_store.list(m_window.carrierNumber());
}

void PicturePage::takeState() {
    m_stretchState = m_stretch->isChecked();
    m_pictureLoaded = false;
}

bool PicturePage::isChanged() const {
    return m_stretch->isChecked() != m_stretchState || m_pictureLoaded;
}

void PicturePage::show(int index) {
    m_index = index;
    m_isNew = false;
    const auto record = m_store.load(m_window.carrierNumber(), m_entries[size_t(index)].number);
    m_current = record.value_or(PictureRecord{});
    m_frame->setImage(QImage::fromData(m_current.grafik));
    m_stretch->setChecked(m_current.stretch);
    takeState();
    updateButtons();
}

void PicturePage::showPlaceholder() {
    m_index = -1;
    m_isNew = true;
    m_current = PictureRecord{double(m_window.carrierNumber()), 1, QByteArray(), false};
    m_frame->setImage(QImage());
    m_stretch->setChecked(false);
    takeState();
    updateButtons();
}

void PicturePage::enter() {
    reload();
    if (m_entries.empty())
        showPlaceholder();
    else
        show(std::clamp(m_index, 0, int(m_entries.size()) - 1));
    m_window.setEditMenuShown(false);
}

void PicturePage::updateButtons() {
    const int count = int(m_entries.size());
    const int position = m_isNew ? count : m_index;
    const int total = count + (m_isNew && m_pictureLoaded ? 1 : 0);
    const bool enabled = isEnabled();
    m_first->setEnabled(enabled && position > 0 && total > 1);
    m_previous->setEnabled(m_first->isEnabled());
    m_last->setEnabled(enabled && position < total - 1 && total > 1);
    m_next->setEnabled(m_last->isEnabled());
    m_delete->setEnabled(!m_isNew && count > 0 && !m_pictureLoaded);
    m_load->setEnabled(!m_pictureLoaded);
    m_scan->setEnabled(!m_pictureLoaded);
}

std::optional<QByteArray> PicturePage::pictureFrom(Source source) {
    MessageService& messages = m_window.messages();
    if (source == Source::Scanner) {
        m_window.setEnabled(false);
        const auto bytes = m_acquisition ? m_acquisition->acquire() : std::nullopt;
        m_window.setEnabled(true);
        if (!bytes)
            messages.error(QStringLiteral("Das Bild konnte nicht eingescannt werden oder der "
                                          "Scanvorgang wurde abgebrochen!"),
                           30032);
        return bytes;
    }
    FileChoice choice;
    choice.title = QStringLiteral("Grafik laden");
    choice.filter = kPictureFilter;
    choice.helpContext = 30029;
    const QString path = messages.chooseOpenFile(choice);
    if (path.isEmpty())
        return std::nullopt;
    QString error;
    const auto bytes = PictureStore::readFile(path, &error);
    if (!bytes)
        messages.error(error, 30029);
    return bytes;
}

void PicturePage::acquire(Source source) {
    bool append = true;
    if (!m_entries.empty()) {
        const QString what =
            source == Source::File ? QStringLiteral("zu laden") : QStringLiteral("einzuscannen");
        const MessageButton answer = m_window.messages().confirm(
            QStringLiteral("Wählen Sie [Ja] um eine neue Grafik %1 oder [Nein] um die aktuelle "
                           "Grafik durch eine andere zu ersetzen.")
                .arg(what),
            MessageButton::Yes | MessageButton::No | MessageButton::Cancel | MessageButton::Help,
            source == Source::File ? 30023 : 30033);
        if (answer == MessageButton::Cancel || answer == MessageButton::None)
            return;
        append = answer == MessageButton::Yes;
    }
    const auto bytes = pictureFrom(source);
    if (!bytes)
        return;
    const int carrier = m_window.carrierNumber();
    if (append) {
        m_current = PictureRecord{double(carrier), m_store.nextNumber(carrier), *bytes, false};
        m_isNew = true;
        m_stretch->setChecked(false);
    } else {
        m_current.grafik = *bytes;
    }
    m_frame->setImage(QImage::fromData(*bytes));
    m_pictureLoaded = true;
    updateButtons();
}

void PicturePage::loadPicture() {
    acquire(Source::File);
}

void PicturePage::scanPicture() {
    acquire(Source::Scanner);
}

bool PicturePage::save() {
    PictureRecord record = m_current;
    record.stretch = m_stretch->isChecked();
    try {
        m_store.save(m_window.carrierNumber(), record, QDate::currentDate());
    } catch (const DbError& e) {
        m_window.messages().error(
            cataloguetexts::databaseFailure(QStringLiteral("Die Grafik"), e.message()), 30025);
        return false;
    }
    if (record.grafik.isEmpty() && m_isNew) {
        takeState(); // the empty placeholder is never stored
        return true;
    }
    m_window.markSaved();
    reload();
    int index = 0;
    for (int i = 0; i < int(m_entries.size()); ++i) {
        if (m_entries[size_t(i)].number == record.grafiknummer)
            index = i;
    }
    m_current = record;
    m_index = index;
    m_isNew = false;
    takeState();
    updateButtons();
    return true;
}

void PicturePage::discard() {
    if (m_entries.empty())
        showPlaceholder();
    else
        show(m_isNew ? int(m_entries.size()) - 1 : m_index);
}

bool PicturePage::ask() {
    switch (m_window.messages().confirm(
        QStringLiteral(
            "Die Grafikdaten wurden geändert! Sollen die Änderungen gespeichert werden?"),
        MessageButton::Yes | MessageButton::No | MessageButton::Cancel | MessageButton::Help,
        30025)) {
    case MessageButton::Yes:
        return save();
    case MessageButton::No:
        discard();
        return true;
    default:
        return false;
    }
}

bool PicturePage::leave(Reason) {
    if (isChanged())
        return ask();
    return true;
}

void PicturePage::navigate(EntryNavigation move) {
    const bool allowed = move == EntryNavigation::First || move == EntryNavigation::Previous
                             ? m_first->isEnabled()
                             : m_last->isEnabled();
    if (!allowed)
        return;
    const int position = m_isNew ? int(m_entries.size()) : m_index;
    if (isChanged() && !ask())
        return;
    if (m_entries.empty())
        return;
    const int count = int(m_entries.size());
    int target = 0;
    switch (move) {
    case EntryNavigation::First:
        target = 0;
        break;
    case EntryNavigation::Previous:
        target = position - 1;
        break;
    case EntryNavigation::Next:
        target = position + 1;
        break;
    case EntryNavigation::Last:
        target = count - 1;
        break;
    }
    show(std::clamp(target, 0, count - 1));
}

void PicturePage::deletePicture() {
    if (m_isNew || m_entries.empty())
        return;
    if (m_window.messages().confirm(QStringLiteral("Soll die Grafik wirklich gelöscht werden?"),
                                    MessageButton::Ok | MessageButton::Cancel | MessageButton::Help,
                                    30024) != MessageButton::Ok)
        return;
    try {
        m_store.remove(m_window.carrierNumber(), m_current.grafiknummer);
    } catch (const DbError& e) {
        m_window.messages().error(
            QStringLiteral("Die Grafik konnte nicht gelöscht werden.\nFehler der Datenbank: %1")
                .arg(e.message()),
            30024);
        return;
    }
    const int old = m_index;
    reload();
    if (m_entries.empty())
        showPlaceholder();
    else
        show(std::min(old, int(m_entries.size()) - 1));
}
