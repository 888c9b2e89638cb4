// The carrier entry window on a large collection: opening a carrier with 99 songs and five
// large pictures, its pages, a save on each page, closing, and the first save of a carrier
// read from CDs with 99 tracks. Prints the median of each step in ms and the memory growth
// while paging through the pictures.
#include "collectiongenerator.h"
#include "core/catalogue/carrierstore.h"
#include "core/catalogue/detailstores.h"
#include "core/catalogue/songstore.h"
#include "core/common/messageservice.h"
#include "core/db/dataset.h"
#include "core/shell/appstate.h"
#include "gui/catalogue/carrierpage.h"
#include "gui/catalogue/lookupcombo.h"
#include "gui/catalogue/picturepage.h"
#include "gui/catalogue/songpage.h"
#include "gui/catalogue/textpage.h"
#include "gui/catalogue/tmainttdialog.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <map>

namespace {

class SilentMessages : public MessageService {
public:
    MessageButton show(const Message&) override { return MessageButton::Yes; }
    QString chooseOpenFile(const FileChoice&) override { return {}; }
    QString chooseSaveFile(const FileChoice&) override { return {}; }
};

std::map<QString, std::vector<double>> g_times;
QStringList g_order;

template <class F> void step(const QString& name, F&& body) {
    QElapsedTimer timer;
    timer.start();
    body();
    QApplication::processEvents();
    if (!g_times.count(name))
        g_order.append(name);
    g_times[name].push_back(double(timer.nsecsElapsed()) / 1e6);
}

qint64 residentKiB() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.value(1).toLongLong() * 4;
}

QByteArray bigJpeg(int seed) {
    QImage image(2000, 2000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb((x + seed * 40) & 255, (y * 3) & 255, ((x ^ y) + seed) & 255);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CollectionSize size;
    if (argc > 1)
        size.carriers = QString::fromLocal8Bit(argv[1]).toInt();
    const int runs = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 7;
    QTextStream out(stdout);
    QTemporaryDir dir;
    dataset::create(dir.path());
    AppState state;
    state.dataDirectory = dir.path() + QLatin1Char('/');
    state.db.open(dataset::databasePath(dir.path()));
    generateCollection(state.db, size);

    // The carrier under test: 99 songs and five 2000x2000 JPEGs.
    CarrierStore store(state.db);
    CarrierData data = CarrierStore::newCarrier(state.settings, QDate::currentDate());
    data.carrier.gruppeInterpretText1 = QStringLiteral("Benchmark");
    data.carrier.text2 = QStringLiteral("99 Lieder");
    data.carrier.artDerSchallplatte = 1;
    data.carrier.nummerierung = 999999;
    const int number = store.saveNew(data, nullptr, false, QDate::currentDate());
    SongStore songs(state.db);
    for (int i = 1; i <= 99; ++i) {
        SongData s = SongStore::firstSong(data.carrier);
        s.song.nrDesLiedes = i;
        s.song.titelDesLiedes = QStringLiteral("Lied %1").arg(i);
        songs.save(number, s, std::nullopt, QDate::currentDate());
    }
    PictureStore pictures(state.db);
    for (int i = 1; i <= 5; ++i)
        pictures.save(number, PictureRecord{0, double(i), bigJpeg(i), false}, QDate::currentDate());
    out << "Sammlung: " << size.carriers << " Tonträger; Testträger Nr. " << number
        << " mit 99 Liedern und 5 Grafiken 2000x2000" << Qt::endl;

    SilentMessages messages;
    QList<qint64> memory; // after each picture of the first run
    for (int run = 0; run < runs; ++run) {
        TMainTtDialog* w = nullptr;
        step(QStringLiteral("open carrier window"), [&] {
            w = new TMainTtDialog(state, messages, EntryWindowHooks(), number);
            w->resize(1000, 700);
            w->show();
        });
        step(QStringLiteral("save carrier page"), [&] {
            w->carrierPage()->titleEdit()->setText(QStringLiteral("99 Lieder %1").arg(run));
            w->save();
        });
        step(QStringLiteral("show song page"), [&] { w->selectPage(TMainTtDialog::SongIndex); });
        step(QStringLiteral("save song"), [&] {
            w->songPage()->titleEdit()->setText(QStringLiteral("Titel %1").arg(run));
            w->save();
        });
        step(QStringLiteral("show text page"), [&] { w->selectPage(TMainTtDialog::TextIndex); });
        step(QStringLiteral("save text page"), [&] {
            w->textPage()->editor()->setPlainText(QStringLiteral("Zusatztext %1").arg(run));
            w->save();
        });
        step(QStringLiteral("show picture page (first picture)"),
             [&] { w->selectPage(TMainTtDialog::PictureIndex); });
        if (run == 0)
            memory.append(residentKiB());
        for (int i = 0; i < 4; ++i) {
            step(QStringLiteral("next picture"),
                 [&] { w->picturePage()->navigate(EntryNavigation::Next); });
            if (run == 0)
                memory.append(residentKiB());
        }
        step(QStringLiteral("save picture page"), [&] {
            w->picturePage()->stretchBox()->setChecked(run % 2 == 0);
            w->save();
        });
        step(QStringLiteral("close"), [&] {
            w->close();
            delete w;
        });
    }
    for (int run = 0; run < runs; ++run) {
        CdReading reading;
        for (int i = 0; i < 99; ++i) {
            reading.tracks.append({1, true, 3.21});
            reading.trackTitles.append(
                TCDTitleList{QStringLiteral("Künstler"), QStringLiteral("Titel %1").arg(i + 1)});
        }
        reading.codes.append({1, 0x12345678u + quint32(run)});
        reading.found = true;
        reading.textLines = {QStringLiteral("Zusatz")};
        reading.totalTracks = 99;
        auto* w = new TMainTtDialog(state, messages, EntryWindowHooks());
        w->show();
        w->setReading(reading);
        w->carrierPage()->groupEdit()->setText(QStringLiteral("Neu %1").arg(run));
        w->carrierPage()->typeCombo()->setCurrentIndex(0);
        step(QStringLiteral("first save with 99 songs from CD"), [&] { w->save(); });
        if (w->carrierNumber() == 0)
            out << "Fehler: erster Speichervorgang fehlgeschlagen" << Qt::endl;
        w->close();
        delete w;
    }
    for (const QString& name : g_order) {
        std::vector<double>& t = g_times[name];
        std::sort(t.begin(), t.end());
        out << QStringLiteral("%1  median %2 ms  max %3 ms  (%4 runs)")
                   .arg(name, -40)
                   .arg(t[t.size() / 2], 0, 'f', 1)
                   .arg(t.back(), 0, 'f', 1)
                   .arg(t.size())
            << Qt::endl;
    }
    out << "Speicher nach Grafik 1 bis 5 (MiB):";
    for (qint64 kib : memory)
        out << ' ' << kib / 1024;
    out << Qt::endl;
    return 0;
}
