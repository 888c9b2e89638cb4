#pragma once

#include <QString>

// The eight lookup tables by kind number, and the currencies as a ninth list: table, window
// captions, help topics and print titles in one place.
namespace lookup {

inline constexpr int kMediaTypes = 0;
inline constexpr int kStates = 1;
inline constexpr int kMusicDirections = 2;
inline constexpr int kDanceStyles = 3;
inline constexpr int kFirstVideoKind = 4;
inline constexpr int kLastLookupKind = 7;
inline constexpr int kCurrencies = 8; // not a lookup kind: the currency list

struct KindInfo {
    int kind = 0;
    QString table;            // base name in the database: "MUSIKART"
    QString selectionCaption; // "Tonträgerarten bearbeiten"
    QString entryName;        // edit captions start with it: "Tonträgerarten"
    int selectionHelp = 0;    // 0: no topic
    int editHelp = 0;
    QString printCaption; // "Tonträgerarten drucken"
    QString printTitle;   // "WinDsKm - Tonträgerarten"
};

// Kinds 0..7 and kCurrencies; anything else is a programming error.
const KindInfo& kindInfo(int kind);
bool isLookupKind(int kind);
bool isVideoKind(int kind);

// A kind number "0".."7", a table name in any letter case with or without ".DB", or
// "Currency" for the currencies; -1 when the text names none of them.
int parseKind(const QString& text);

// The caption of the edit window of an existing entry and of a new one.
QString editCaption(int kind, const QString& longName);
QString newEntryCaption(int kind, int runningNumber);

} // namespace lookup
