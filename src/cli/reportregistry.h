#pragma once

#include "core/printing/reportrun.h"

#include <QList>
#include <QString>

// Every report `diskarium-tool print` can write: one row per report, its composition being
// the same function its dialog uses.
struct ReportEntry {
    QString name;      // as typed after the data directory: "lookup", "carrier" ...
    QString arguments; // its own arguments for the usage text, e.g. "TABELLE"
    ReportComposer compose;
};

const QList<ReportEntry>& reportRegistry();
