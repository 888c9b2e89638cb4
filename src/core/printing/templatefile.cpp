#include "templatefile.h"

#include "core/common/inifile.h"
#include "core/common/windows1252.h"
#include "templatestore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace templatefile {

namespace {

const QString kTemplate = QStringLiteral("Template");
const std::pair<const char*, QString PrintTemplateRecord::*> kParts[] = {
    {"Head", &PrintTemplateRecord::kopfText},
    {"Page", &PrintTemplateRecord::seitenText},
    {"Foot", &PrintTemplateRecord::fussText},
};

// Settings-file readers drop blanks around a value: such a value, or one that is quoted
// itself, travels inside one more pair of double quotes.
QString quoted(const QString& value) {
    const bool needsQuotes =
        !value.isEmpty() && (value.front().isSpace() || value.back().isSpace() ||
                             (value.size() >= 2 && value.front() == QLatin1Char('"') &&
                              value.back() == QLatin1Char('"')));
    return needsQuotes ? QLatin1Char('"') + value + QLatin1Char('"') : value;
}

QString refused(const QString& path, const QString& reason) {
    return QStringLiteral("Die Datei [%1] konnte nicht importiert werden: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

QString withExtension(const QString& path) {
    return QFileInfo(path).suffix().isEmpty() && !path.endsWith(QLatin1Char('.'))
               ? path + QStringLiteral(".DKMT")
               : path;
}

bool write(const QString& path, const PrintTemplateRecord& record, QString* error) {
    QStringList lines;
    lines << QStringLiteral("[Template]") << QStringLiteral("Title=") + quoted(record.bezeichnung)
          << QStringLiteral("Margin=") + QString::number(qRound64(record.seitenrand.value_or(0)));
    for (const auto& [section, part] : kParts) {
        lines << QString() << QLatin1Char('[') + QString::fromUtf8(section) + QLatin1Char(']');
        const QStringList partLines =
            templatestore::withCrLf(record.*part).split(QStringLiteral("\r\n"));
        for (qsizetype i = 0; i < partLines.size(); ++i)
            lines << QString::number(i) + QLatin1Char('=') + quoted(partLines[i]);
    }
    QString reason;
    if (!IniFile::fromText(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"))
             .save(path, &reason)) {
        if (error)
            *error = QStringLiteral("Die Druckvorlage konnte nicht nach [%1] exportiert werden: %2")
                         .arg(QDir::toNativeSeparators(path), reason);
        return false;
    }
    return true;
}

std::optional<PrintTemplateRecord> read(const QString& path, QString* error) {
    auto fail = [&](const QString& message) -> std::optional<PrintTemplateRecord> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    if (!QFileInfo(path).isFile())
        return fail(
            QStringLiteral("Die Datei [") + path +
            QStringLiteral("] konnte nicht importiert werden, da sie nicht vorhanden ist!"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(refused(
            path, QStringLiteral("Sie kann nicht gelesen werden (%1).").arg(file.errorString())));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(refused(
            path, QStringLiteral("Sie kann nicht gelesen werden (%1).").arg(file.errorString())));
    if (bytes.contains('\0'))
        return fail(refused(path, QStringLiteral("Sie ist keine Textdatei.")));

    const IniFile ini = IniFile::fromText(windows1252::decodeTextFile(bytes));
    if (!ini.sections().contains(kTemplate, Qt::CaseInsensitive))
        return fail(refused(path, QStringLiteral("Ihr fehlt der Abschnitt [Template].")));

    PrintTemplateRecord record;
    record.bezeichnung = ini.value(kTemplate, u"Title", QString(), IniFile::Quotes::Strip);
    const QString margin = ini.value(kTemplate, u"Margin", QStringLiteral("0"));
    bool isNumber = false;
    const int marginValue = margin.toInt(&isNumber);
    if (!isNumber || marginValue < 0 || marginValue > templatestore::kMaxMargin)
        return fail(refused(path, QStringLiteral("Der Seitenrand \"%1\" ist keine ganze Zahl von 0 "
                                                 "bis %2.")
                                      .arg(margin)
                                      .arg(templatestore::kMaxMargin)));
    record.seitenrand = marginValue;
    for (const auto& [section, part] : kParts) {
        const QString name = QString::fromUtf8(section);
        QStringList partLines;
        for (const QString& key : ini.keys(name))
            partLines << ini.value(name, key, QString(), IniFile::Quotes::Strip);
        record.*part = partLines.join(QStringLiteral("\r\n"));
    }
    if (const QString reason = templatestore::refusal(record); !reason.isEmpty())
        return fail(refused(path, reason));
    return record;
}

} // namespace templatefile
