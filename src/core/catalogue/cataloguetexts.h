#pragma once

#include <QString>

// The entry window's message texts and their help topics, used by core and window alike.
namespace cataloguetexts {

inline const QString kGroupEmpty = QStringLiteral("Im Feld Gruppe muß ein Wert eingegeben werden!");
inline QString fieldEmpty(const QString& field) {
    return QStringLiteral("Im Feld %1 muß ein Wert eingegeben werden!").arg(field);
}
inline constexpr int kFieldEmptyHelp = 30011;

inline const QString kCarrierKeyViolation = QStringLiteral(
    "Der Tonträger konnte nicht gespeichert werden, da bereits ein Tonträger mit den gleichen "
    "Daten [Gruppe/Titel/Art/Lfd. Nr] existiert!");
inline constexpr int kCarrierSaveHelp = 30016;
inline const QString kSongKeyViolation = QStringLiteral(
    "Das Lied konnte nicht gespeichert werden, da bereits ein Lied mit den gleichen Daten "
    "[Seite/Folgenummer] existiert!");
inline constexpr int kSongSaveHelp = 30026;

inline const QString kTotalTimeSeconds = QStringLiteral(
    "Der Sekundenwert der Gesamtlaufzeit darf sich nur im Bereich von ,00 bis ,59 befinden!");
inline constexpr int kTotalTimeSecondsHelp = 30009;
inline const QString kSongTimeSeconds = QStringLiteral(
    "Der Sekundenwert der Liedlaufzeit darf sich nur im Bereich von ,00 bis ,59 befinden!");
inline constexpr int kSongTimeSecondsHelp = 30010;

inline const QString kLentStatus =
    QStringLiteral("Der Status VERLIEHEN wird automatisch von der Verleihverwaltung verwendet und "
                   "kann nicht manuell eingesetzt werden!");
inline constexpr int kLentStatusHelp = 30005;

// A database failure other than a duplicate key, with the database's own text.
inline QString databaseFailure(const QString& what, const QString& detail) {
    return QStringLiteral("%1 konnte nicht gespeichert werden.\nFehler der Datenbank: %2")
        .arg(what, detail);
}

} // namespace cataloguetexts
