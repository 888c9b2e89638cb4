#pragma once

#include <QString>
#include <optional>

class CarrierStore;
class Database;
struct CarrierData;
struct CarrierRecord;
struct CdReading;
struct Settings;

// What the commands that add a carrier share with the entry window's first save.

// The "Index-Nummer" of the media type with this short name (letter case aside); nullopt
// when the data set has none.
std::optional<double> mediaTypeByShortName(CarrierStore& store, const QString& name);

// The running number the window proposes: under per-type numbering the type's counter, when
// it has one; else the global number newCarrier() set.
void proposeNumber(CarrierStore& store, const Settings& settings, CarrierRecord& carrier);

// Checks and stores the carrier with its reading, prints its number and moves the global
// number on in the settings file of directory. A carrier taken from a web source that the
// collection may hold already is refused (one "Schon vorhanden: ..." line each) unless
// allowDuplicate. Returns the exit code; a refusal or failure prints a German message.
int saveNewCarrier(Database& db, const QString& directory, Settings& settings, CarrierData& data,
                   const CdReading& reading, bool allowDuplicate);
