#include "discogsformat.h"

#include "core/common/controlchars.h"
#include "core/db/schema.h"

#include <QRegularExpression>
#include <optional>

namespace discogs {
namespace {

// The free-text lines that carry what a carrier has no field for.
const QString kFormatLine = QStringLiteral("Format: ");
const QString kLabelLine = QStringLiteral("Label: ");
const QString kCatalogLine = QStringLiteral("Katalognummer: ");
const QString kSleeveLine = QStringLiteral("Hülle: ");
const QString kNoteLine = QStringLiteral("Notiz: ");
const QString kFolderLine = QStringLiteral("Discogs-Ordner: ");
const QString kAddedLine = QStringLiteral("Discogs hinzugefügt: ");

const QString kUncategorized = QStringLiteral("Uncategorized");
const QString kNoCatalog = QStringLiteral("none");
const QString kListSeparator = QStringLiteral(", ");

int fieldSize(QStringView table, QStringView field) {
    const schema::Table& t = schema::table(table);
    return t.fields[size_t(t.fieldIndex(field))].size;
}

// Discogs tells apart artists and labels of the same name by a number: "Nena (2)".
QString withoutNumberSuffix(QString name) {
    static const QRegularExpression suffix(QStringLiteral(" \\(\\d+\\)"));
    return name.remove(suffix).trimmed();
}

struct Grade {
    const char* shortForm;
    const char* words;
};
constexpr Grade kGrades[] = {
    {"M", "Mint (M)"},
    {"NM", "Near Mint (NM or M-)"},
    {"VG+", "Very Good Plus (VG+)"},
    {"VG", "Very Good (VG)"},
    {"G+", "Good Plus (G+)"},
    {"G", "Good (G)"},
    {"F", "Fair (F)"},
    {"P", "Poor (P)"},
};

bool isWord(const QString& word, const char* expected) {
    return word.compare(QLatin1String(expected), Qt::CaseInsensitive) == 0;
}

// A disc size followed somewhere by EP or LP is that; otherwise the size's own type.
QString sizeType(const QString& size, const QStringList& following) {
    for (const QString& word : following)
        if (isWord(word, "EP") || isWord(word, "LP"))
            return word.toUpper();
    if (isWord(size, "7\""))
        return QStringLiteral("Single");
    if (isWord(size, "12\""))
        return QStringLiteral("Maxi");
    return size;
}

bool isSize(const QString& word) {
    return isWord(word, "7\"") || isWord(word, "10\"") || isWord(word, "12\"");
}

// The first of a ", "-separated list, and whether the field holds more or was cut.
QString firstOf(const QString& list, int size, bool* whole) {
    const QString first = withoutNumberSuffix(list.section(kListSeparator, 0, 0));
    *whole = list.contains(kListSeparator) || first.size() > size;
    return first.left(size);
}

// Every line of a multi-line value with the given prefix.
void appendLines(QStringList& lines, const QString& prefix, const QString& value) {
    for (const QString& line : value.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            lines.append(prefix + line);
}

// The first column whose text holds a control character; notes and further columns may
// hold line breaks.
const char* columnWithControlCharacter(const CollectionRow& row) {
    const std::pair<const QString*, const char*> single[] = {
        {&row.catalog, "Catalog#"},
        {&row.artist, "Artist"},
        {&row.title, "Title"},
        {&row.label, "Label"},
        {&row.format, "Format"},
        {&row.rating, "Rating"},
        {&row.released, "Released"},
        {&row.releaseId, "release_id"},
        {&row.folder, "CollectionFolder"},
        {&row.dateAdded, "Date Added"},
        {&row.mediaCondition, "Collection Media Condition"},
        {&row.sleeveCondition, "Collection Sleeve Condition"}};
    for (const auto& [text, column] : single)
        if (hasControlCharacter(*text))
            return column;
    auto inLines = [](const QString& text) {
        for (const QString& line : text.split(QLatin1Char('\n')))
            if (hasControlCharacter(line))
                return true;
        return false;
    };
    if (inLines(row.notes))
        return "Collection Notes";
    for (const auto& [name, value] : row.extra)
        if (inLines(value))
            return "Collection …";
    return nullptr;
}

} // namespace

const QStringList& columnTitles() {
    static const QStringList titles = {
        QStringLiteral("Catalog#"),
        QStringLiteral("Artist"),
        QStringLiteral("Title"),
        QStringLiteral("Label"),
        QStringLiteral("Format"),
        QStringLiteral("Rating"),
        QStringLiteral("Released"),
        QStringLiteral("release_id"),
        QStringLiteral("CollectionFolder"),
        QStringLiteral("Date Added"),
        QStringLiteral("Collection Media Condition"),
        QStringLiteral("Collection Sleeve Condition"),
        QStringLiteral("Collection Notes"),
    };
    return titles;
}

QString typeForFormat(const QString& format) {
    QStringList words = format.split(QLatin1Char(','));
    for (QString& word : words)
        word = word.trimmed();
    // "2xLP": the count of discs is no part of the type.
    static const QRegularExpression count(QStringLiteral("^\\d+\\s*x\\s*"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QString first = words.takeFirst().remove(count);
    if (isWord(first, "LP"))
        return QStringLiteral("LP");
    if (isSize(first))
        return sizeType(first, words);
    if (isWord(first, "Vinyl")) {
        for (qsizetype i = 0; i < words.size(); ++i)
            if (isSize(words[i]))
                return sizeType(words[i], words.mid(i + 1));
        return QStringLiteral("LP");
    }
    if (isWord(first, "CD") || isWord(first, "CDr"))
        return QStringLiteral("CD");
    if (isWord(first, "Cass") || isWord(first, "Cassette"))
        return QStringLiteral("MC");
    return first;
}

QString shortGrade(const QString& grade) {
    const QString g = grade.trimmed();
    if (isWord(g, "M-"))
        return QStringLiteral("NM");
    for (const Grade& known : kGrades)
        if (isWord(g, known.shortForm) || isWord(g, known.words))
            return QLatin1String(known.shortForm);
    return grade;
}

QString gradeWords(const QString& grade) {
    // The collection keeps the short forms: they are found without folding case.
    for (const Grade& known : kGrades)
        if (grade == QLatin1String(known.shortForm))
            return QLatin1String(known.words);
    if (grade.isEmpty())
        return grade;
    const QString g = shortGrade(grade);
    for (const Grade& known : kGrades)
        if (g == QLatin1String(known.shortForm))
            return QLatin1String(known.words);
    return grade;
}

QString toCarrier(const CollectionRow& row, CarrierFields& f) {
    f = {};
    f.group =
        withoutNumberSuffix(row.artist).left(fieldSize(u"MUSIKKOP", u"Gruppe/Interpret/Text 1"));
    f.title = row.title.trimmed().left(fieldSize(u"MUSIKKOP", u"Text 2"));
    if (const char* column = columnWithControlCharacter(row))
        return QStringLiteral("Die Spalte „%1“ enthält Steuerzeichen.")
            .arg(QString::fromUtf8(column));
    const QString rating = row.rating.trimmed();
    bool ok = true;
    f.rating = rating.isEmpty() ? 0 : rating.toInt(&ok);
    if (!ok || f.rating < 0 || f.rating > 5)
        return QStringLiteral("Die Bewertung „%1“ ist keine ganze Zahl von 0 bis 5.")
            .arg(row.rating);
    f.releaseId = row.releaseId.trimmed();
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (!f.releaseId.isEmpty() && !digits.match(f.releaseId).hasMatch())
        return QStringLiteral("Die release_id „%1“ ist keine Nummer.").arg(row.releaseId);

    f.typeName = typeForFormat(row.format);
    static const QRegularExpression year(QStringLiteral("^[0-9]{4}"));
    const QString released = year.match(row.released.trimmed()).captured();
    f.year = released == QLatin1String("0000") ? QString() : released;
    f.condition =
        shortGrade(row.mediaCondition.trimmed()).left(fieldSize(u"MusikInformation", u"Zustand"));

    bool wholeLabel = false;
    bool wholeCatalog = false;
    f.company = firstOf(row.label, fieldSize(u"MusikInformation", u"Firma"), &wholeLabel);
    f.orderCode = firstOf(row.catalog.trimmed(), fieldSize(u"MusikInformation", u"Bestellcode"),
                          &wholeCatalog);
    if (f.orderCode.compare(kNoCatalog, Qt::CaseInsensitive) == 0)
        f.orderCode.clear();

    QStringList& lines = f.textLines;
    if (!row.format.trimmed().isEmpty())
        lines.append(kFormatLine + row.format.trimmed());
    if (wholeLabel)
        lines.append(kLabelLine + row.label.trimmed());
    if (wholeCatalog)
        lines.append(kCatalogLine + row.catalog.trimmed());
    if (!row.sleeveCondition.trimmed().isEmpty())
        lines.append(kSleeveLine + shortGrade(row.sleeveCondition.trimmed()));
    appendLines(lines, kNoteLine, row.notes);
    for (const auto& [name, value] : row.extra)
        appendLines(lines, name + QStringLiteral(": "), value);
    const QString folder = row.folder.trimmed();
    if (!folder.isEmpty() && folder != kUncategorized)
        lines.append(kFolderLine + folder);
    if (!row.dateAdded.trimmed().isEmpty())
        lines.append(kAddedLine + row.dateAdded.trimmed());
    return {};
}

CollectionRow toRow(const CarrierFields& f) {
    CollectionRow row;
    std::optional<QString> format, label, catalog, sleeve, folder, added;
    QStringList notes;
    // The first line of each kind counts, as the import writes one.
    auto take = [](std::optional<QString>& target, const QString& line, const QString& prefix) {
        if (!line.startsWith(prefix))
            return false;
        if (!target)
            target = line.mid(prefix.size());
        return true;
    };
    for (const QString& line : f.textLines) {
        if (line.startsWith(kNoteLine))
            notes.append(line.mid(kNoteLine.size()));
        else if (!take(format, line, kFormatLine) && !take(label, line, kLabelLine) &&
                 !take(catalog, line, kCatalogLine) && !take(sleeve, line, kSleeveLine) &&
                 !take(folder, line, kFolderLine))
            take(added, line, kAddedLine);
    }
    row.catalog = catalog ? *catalog : !f.orderCode.isEmpty() ? f.orderCode : kNoCatalog;
    row.artist = f.group;
    row.title = f.title;
    row.label = label.value_or(f.company);
    if (format)
        row.format = *format;
    else if (isWord(f.typeName, "LP"))
        row.format = QStringLiteral("LP");
    else if (isWord(f.typeName, "Single"))
        row.format = QStringLiteral("7\"");
    else if (isWord(f.typeName, "Maxi"))
        row.format = QStringLiteral("12\"");
    else if (isWord(f.typeName, "EP"))
        row.format = QStringLiteral("7\", EP");
    else if (isWord(f.typeName, "MC"))
        row.format = QStringLiteral("Cass");
    else if (isWord(f.typeName, "CD"))
        row.format = QStringLiteral("CD");
    else
        row.format = f.typeName;
    row.rating = f.rating > 0 ? QString::number(qMin(f.rating, 5)) : QString();
    row.released = f.year;
    row.releaseId = f.releaseId;
    row.folder = folder.value_or(kUncategorized);
    row.dateAdded = added.value_or(QString());
    row.mediaCondition = gradeWords(f.condition);
    row.sleeveCondition = gradeWords(sleeve.value_or(QString()));
    row.notes = notes.join(QLatin1Char('\n'));
    return row;
}

QStringList cells(const CollectionRow& row) {
    return {row.catalog,        row.artist,          row.title,     row.label,  row.format,
            row.rating,         row.released,        row.releaseId, row.folder, row.dateAdded,
            row.mediaCondition, row.sleeveCondition, row.notes};
}

} // namespace discogs
