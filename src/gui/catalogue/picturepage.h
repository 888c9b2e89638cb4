#pragma once

#include "core/catalogue/detailstores.h"
#include "entrypage.h"

#include <QImage>
#include <optional>
#include <vector>

class QCheckBox;
class QPushButton;

// The picture frame: the picture at its own size, or fitted to the frame keeping its
// aspect ratio.
class PictureFrame : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    void setImage(const QImage& image);
    void setStretched(bool stretched);
    const QImage& image() const { return m_image; }
    // Where the picture is drawn inside the frame.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
    bool m_stretched = false;
};

// Takes one picture from a scanner; none exists on this platform, tests fake one.
class PictureAcquisition {
public:
    virtual ~PictureAcquisition() = default;
    // The picture's bytes, or nothing when it failed or was cancelled.
    virtual std::optional<QByteArray> acquire() = 0;
};

// "Cover Grafiken": the pictures of the carrier, one at a time.
class PicturePage : public EntryPage {
    Q_OBJECT
public:
    explicit PicturePage(TMainTtDialog& window);

    void enter() override;
    bool save() override;
    bool leave(Reason reason) override;
    void navigate(EntryNavigation move) override;

    bool isChanged() const;
    void loadPicture();
    void scanPicture();
    void deletePicture();
    void setAcquisition(PictureAcquisition* acquisition);

    PictureFrame* frame() const { return m_frame; }
    QCheckBox* stretchBox() const { return m_stretch; }
    QPushButton* scanButton() const { return m_scan; }
    QPushButton* loadButton() const { return m_load; }
    QPushButton* deleteButton() const { return m_delete; }
    QList<QPushButton*> navigationButtons() const { return {m_first, m_previous, m_next, m_last}; }
    double currentNumber() const { return m_current.grafiknummer; }
    int pictureCount() const { return int(m_entries.size()); }

private:
    enum class Source { File, Scanner };
    void acquire(Source source);
    void show(int index);
    void showPlaceholder();
    void reload();
    void takeState();
    void updateButtons();
    bool ask();
    void discard();
    std::optional<QByteArray> pictureFrom(Source source);

    PictureStore m_store;
    PictureAcquisition* m_acquisition = nullptr;
    std::vector<PictureEntry> m_entries;
    int m_index = -1;
    bool m_isNew = false; // the placeholder, or a picture appended by loading
    PictureRecord m_current;
    bool m_stretchState = false;
    bool m_pictureLoaded = false;

    PictureFrame* m_frame;
    QCheckBox* m_stretch;
    QPushButton* m_scan;
    QPushButton* m_load;
    QPushButton* m_delete;
    QPushButton* m_first;
    QPushButton* m_previous;
    QPushButton* m_next;
    QPushButton* m_last;
};
