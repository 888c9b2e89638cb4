#include "cdreading.h"

#include "core/common/laufzeit.h"
#include "core/common/messageservice.h"

#include <QFileInfo>

namespace {

constexpr int kHelp = 32001;
const MessageButtons kYesNoHelp = MessageButton::Yes | MessageButton::No | MessageButton::Help;

// Asks for the disc until the user answers "Ja"; false on "Abbrechen".
bool discInserted(MessageService& messages, int disc) {
    for (;;) {
        const MessageButton answer =
            messages.confirm(QStringLiteral("CD Nummer %1 eingelegt? ").arg(disc),
                             kYesNoHelp | MessageButton::Cancel, kHelp);
        if (answer == MessageButton::Yes)
            return true;
        if (answer != MessageButton::No)
            return false;
    }
}

} // namespace

void addDisc(CdReading& reading, int disc, const QList<TCDList>& tracks, const CdTocResult& toc,
             const CddbAnswer& answer) {
    for (int i = 0; i < tracks.size(); ++i) {
        reading.tracks.append(tracks[i]);
        if (answer.found && i < answer.titles.size())
            reading.trackTitles.append(answer.titles[i]);
        else
            reading.trackTitles.append(std::nullopt);
    }
    if (answer.found) {
        if (!reading.found) {
            reading.artist = answer.artist;
            reading.title = answer.title;
        }
        reading.found = true;
        reading.textLines += answer.extendedData;
        if (reading.year.isEmpty())
            reading.year = answer.year;
        if (reading.genre.isEmpty())
            reading.genre = answer.genre;
        if (reading.cover.isEmpty())
            reading.cover = answer.cover;
        if (reading.origins.isEmpty())
            reading.origins = answer.origins;
    }
    reading.totalTracks += toc.tracks;
    reading.totalTime = laufzeit::add(reading.totalTime, toc.totalTime);
    reading.codes.append({qint16(disc), toc.discId});
}

DiscSource driveSource(MessageService& messages, const QString& drive) {
    return [&messages, drive](int disc, bool again) -> std::optional<QString> {
        if (!again && !discInserted(messages, disc))
            return std::nullopt;
        return drive;
    };
}

DiscSource imageSource(MessageService& messages, QString* directory) {
    return [&messages, directory](int disc, bool) -> std::optional<QString> {
        FileChoice choice;
        choice.title = QStringLiteral("CD-Abbild wählen (CD Nummer %1)").arg(disc);
        choice.directory = *directory;
        choice.filter = QStringLiteral("CD-Abbilder (*.cue *.toc *.nrg *.iso *.bin);;"
                                       "Alle Dateien (*)");
        choice.helpContext = kHelp;
        const QString path = messages.chooseOpenFile(choice);
        if (path.isEmpty())
            return std::nullopt;
        *directory = QFileInfo(path).absolutePath();
        return path;
    };
}

std::optional<CdReading> readCds(MessageService& messages, const DiscSource& source,
                                 CddbLookupService& lookup, const TocReader& reader) {
    CdReading reading;
    for (int disc = 1;; ++disc) {
        CdTocResult toc;
        QList<TCDList> tracks;
        for (bool again = false;; again = true) {
            const std::optional<QString> from = source(disc, again);
            if (!from)
                return std::nullopt;
            tracks.clear();
            toc = CdTocResult();
            if (reader(disc, *from, &tracks, toc) == -1) {
                if (messages.confirm(QStringLiteral("Die CD-Daten konnten nicht ermittelt werden! "
                                                    "Weiter versuchen die Daten zu ermitteln?"),
                                     kYesNoHelp, kHelp) != MessageButton::Yes)
                    return std::nullopt;
                continue;
            }
            if (!toc.hasAudio) {
                if (messages.confirm(QStringLiteral("Die eingelegte CD ist keine Audio-CD! Weiter "
                                                    "versuchen die Daten zu ermitteln?"),
                                     kYesNoHelp, kHelp) != MessageButton::Yes)
                    return std::nullopt;
                continue;
            }
            break;
        }
        addDisc(reading, disc, tracks, toc, lookup.lookup(toc));
        if (messages.confirm(
                QStringLiteral(
                    "Soll der Prüfcode für eine weitere CD (Nummer %1) ermittelt werden?")
                    .arg(disc + 1),
                kYesNoHelp, kHelp) == MessageButton::No)
            return reading;
    }
}
