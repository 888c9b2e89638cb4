#include "maincommands.h"

#include <stdexcept>

namespace {
using C = MainCommand;
using M = MainMenu;
QString s(const char* text) { return QString::fromUtf8(text); }
} // namespace

const std::vector<CommandInfo>& mainCommands() {
    static const std::vector<CommandInfo> commands = {
        {C::NewCarrier, M::File, s("Tonträger &erfassen"), QKeySequence(QStringLiteral("Ctrl+E")), 10001,
         s("Erfasst einen neuen Tonträger mit seinen Liedern")},
        {C::ImportCarrier, M::File, s("Tonträger &importieren"), QKeySequence(QStringLiteral("Ctrl+M")), 10010,
         s("Importiert die Daten eines Tonträgers aus einer Textdatei")},
        {C::EditCarriers, M::File, s("Tonträger &bearbeiten"), QKeySequence(QStringLiteral("Ctrl+B")), 10002,
         s("Zeigt die Liste aller Tonträger zum Bearbeiten")},
        {C::PrintList, M::File, s("&Liste drucken..."), {}, 10003, s("Druckt eine Liste der Tonträger"), true},
        {C::PrintAll, M::File, s("&Alle Tonträger drucken..."), {}, 10004, s("Druckt alle Tonträger mit ihren Liedern")},
        {C::CdPlayer, M::File, s("&CD-Player"), QKeySequence(QStringLiteral("Ctrl+P")), 10005,
         s("Spielt Audio-CDs ab"), true},
        {C::Lending, M::File, s("Verleihver&waltung..."), {}, 10006, s("Verwaltet Entleiher und verliehene Tonträger")},
        {C::StatisticsMediaTypes, M::Statistics, s("&Tonträgerarten"), {}, 10071,
         s("Statistik der Sammlung nach Tonträgerarten")},
        {C::StatisticsDirections, M::Statistics, s("&Musikrichtungen"), {}, 10072,
         s("Statistik der Sammlung nach Musikrichtungen")},
        {C::StatisticsStates, M::Statistics, s("&Statusarten"), {}, 10073, s("Statistik der Sammlung nach Statusarten")},
        {C::StatisticsYears, M::Statistics, s("&Erscheinungsdatum"), {}, 0,
         s("Statistik der Sammlung nach Erscheinungsjahren")},
        {C::Backup, M::File, s("Datensicherung"), {}, 0, s("Sichert alle Daten in eine Sicherungsdatei"), true},
        {C::Restore, M::File, s("Datenwiederherstellung"), {}, 0, s("Stellt alle Daten aus einer Sicherungsdatei wieder her")},
        {C::PrinterSetup, M::File, s("&Druckereinrichtung..."), {}, 10008, s("Wählt und richtet den Drucker ein"), true},
        {C::Exit, M::File, s("E&nde"), QKeySequence(Qt::Key_F3), 10009, s("Beendet Diskarium"), true},
        {C::SearchSongs, M::Search, s("Suche nach &Liedern..."), QKeySequence(QStringLiteral("Ctrl+L")), 10101,
         s("Sucht Lieder in der ganzen Sammlung")},
        {C::SearchCarriers, M::Search, s("Suche nach &Tonträgern..."), QKeySequence(QStringLiteral("Ctrl+T")), 10102,
         s("Sucht Tonträger nach ihren Angaben")},
        {C::Settings, M::Options, s("&Einstellungen"), {}, 10201, s("Ändert die Einstellungen von Diskarium")},
        {C::ScannerSource, M::Options, s("&Scannerquelle"), {}, 10204, s("Wählt den Scanner für Coverbilder"), true},
        {C::Currencies, M::Lookups, s("&Währungen"), {}, 0, s("Bearbeitet die Währungen und ihre Umrechnungskurse")},
        {C::MediaTypes, M::Lookups, s("&Tonträgerarten..."), {}, 10301, s("Bearbeitet die Tonträgerarten"), true},
        {C::MusicDirections, M::Lookups, s("&Musikrichtungen..."), {}, 10302, s("Bearbeitet die Musikrichtungen")},
        {C::States, M::Lookups, s("&Statusarten..."), {}, 10303, s("Bearbeitet die Statusarten")},
        {C::DanceStyles, M::Lookups, s("Tan&zstile..."), {}, 0, s("Bearbeitet die Tanzstile")},
        {C::VideoCategories, M::Lookups, s("&Videokategorien..."), {}, 0, s("Bearbeitet die Videokategorien"), true},
        {C::VideoCassetteTypes, M::Lookups, s("Vi&deokassettenarten"), {}, 0, s("Bearbeitet die Videokassettenarten")},
        {C::VideoAudioTypes, M::Lookups, s("Videoa&udioarten..."), {}, 0, s("Bearbeitet die Videoaudioarten")},
        {C::VideoLanguages, M::Lookups, s("Videosp&rache..."), {}, 0, s("Bearbeitet die Videosprachen")},
        {C::ListTemplates, M::Lookups, s("&Listentexte..."), {}, 10304, s("Verwaltet die Druckvorlagen für Listen"), true},
        {C::CarrierTemplates, M::Lookups, s("T&onträgertexte..."), {}, 10305,
         s("Verwaltet die Druckvorlagen für einzelne Tonträger")},
        {C::ReminderTemplates, M::Lookups, s("M&ahntexte..."), {}, 10306, s("Verwaltet die Druckvorlagen für Mahnungen")},
        {C::LendingTemplates, M::Lookups, s("&Verleihverwaltungstexte..."), {}, 10307,
         s("Verwaltet die Druckvorlagen für Verleihlisten")},
        {C::Tile, M::Window, s("&Nebeneinander"), {}, 10401, s("Ordnet die Fenster nebeneinander an")},
        {C::Cascade, M::Window, s("&Überlappend"), {}, 10402, s("Ordnet die Fenster überlappend an")},
        {C::CloseAll, M::Window, s("&Alle schließen"), {}, 10403, s("Schließt alle Fenster")},
        {C::MinimizeAll, M::Window, s("Alle &minimieren"), {}, 10404, s("Verkleinert alle Fenster zu Symbolen")},
        {C::ArrangeIcons, M::Window, s("&Icons anordnen"), {}, 10405, s("Ordnet die verkleinerten Fenster an")},
        {C::HelpIndex, M::Help, s("Inde&x"), QKeySequence(Qt::Key_F1), 10501, s("Zeigt das Inhaltsverzeichnis der Hilfe")},
        {C::HelpSearch, M::Help, s("&Suchen"), {}, 10502, s("Sucht ein Stichwort in der Hilfe")},
        {C::HelpKeyboard, M::Help, s("&Tastatur"), {}, 10503, s("Zeigt die Tastaturbedienung")},
        {C::HelpFirstSteps, M::Help, s("&Erste Schritte"), {}, 10504, s("Zeigt die ersten Schritte mit Diskarium")},
        {C::HelpUsingHelp, M::Help, s("&Hilfe verwenden"), {}, 10505, s("Erklärt die Bedienung der Hilfe")},
        {C::ShowReadme, M::Help, s("Readme&datei anzeigen"), {}, 10509, s("Zeigt die Readme-Datei"), true},
        {C::ShowLicence, M::Help, s("&Lizenzinformationen anzeigen"), {}, 10510, s("Zeigt die Lizenzinformationen")},
        {C::ShowVersions, M::Help, s("&Versionsinformationen anzeigen"), {}, 10511, s("Zeigt die Versionsinformationen")},
        {C::Tips, M::Help, s("&Ratschläge"), {}, 10512, s("Zeigt Ratschläge zur Arbeit mit Diskarium"), true},
        {C::About, M::Help, s("&Info über..."), {}, 10506, s("Zeigt Programmname und Version"), true},
        {C::Copyright, M::Help, s("&Copyright..."), {}, 10507, s("Zeigt die Mitwirkenden")},
    };
    return commands;
}

const CommandInfo& commandInfo(MainCommand command) {
    for (const CommandInfo& c : mainCommands()) {
        if (c.command == command)
            return c;
    }
    throw std::logic_error("unknown command");
}

const std::vector<MenuInfo>& mainMenus() {
    static const std::vector<MenuInfo> menus = {
        {M::File, s("&Datei"), 10000},           {M::Search, s("&Suchen"), 10100},
        {M::Options, s("&Optionen"), 10200},     {M::Lookups, s("Hilfsdatenban&ken"), 10300},
        {M::Window, s("&Fenster"), 10400},       {M::Help, s("&Hilfe"), 10500},
    };
    return menus;
}

const std::vector<ToolBarInfo>& mainToolBars() {
    static const std::vector<ToolBarInfo> bars = {
        {s("Tonträger-Toolbar"),
         {{s("Tonträger bearbeiten"), C::EditCarriers},
          {s("Tonträger erfassen"), C::NewCarrier},
          {s("Tonträgerliste drucken"), C::PrintList, true},
          {s("Verleihverwaltung"), C::Lending, true},
          {s("CD-Player"), C::CdPlayer},
          {s("Tonträger suchen"), C::SearchCarriers, true},
          {s("Lieder suchen"), C::SearchSongs}}},
        {s("Programm-Toolbar"),
         {{s("Drucker- Setup "), C::PrinterSetup},
          {s("Einstellungen"), C::Settings},
          {s("Hilfeindex"), C::HelpIndex, true},
          {s("Programm- ende"), C::Exit, true}}},
        {s("Fenster-Toolbar"),
         {{s("Fenster neben- einander "), C::Tile},
          {s("Fenster über- lappend"), C::Cascade},
          {s("Icons anordnen"), C::ArrangeIcons}}},
    };
    return bars;
}
