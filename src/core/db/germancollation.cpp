#include "germancollation.h"

#include <QChar>
#include <QString>
#include <array>
#include <cstring>
#include <sqlite3.h>

namespace {

// Sort key of code points below 0x250 (Latin-1 and Latin Extended-A/B): the lower-case
// base letter, or 0 when the code point needs the general path. Built once.
struct LatinFolding {
    std::array<char32_t, 0x250> base{};
    LatinFolding() {
        for (char32_t cp = 0; cp < base.size(); ++cp) {
            char32_t c = cp;
            // Strip canonical decompositions down to the base letter (é -> e, ǖ -> u).
            while (QChar::decompositionTag(c) == QChar::Canonical) {
                const QString d = QChar::decomposition(c);
                if (d.isEmpty())
                    break;
                c = d.at(0).unicode();
            }
            base[cp] = QChar::toCaseFolded(c);
        }
        base[0xD8] = base[0xF8] = U'o';   // Ø ø
        base[0x110] = base[0x111] = U'd'; // Đ đ
        base[0x141] = base[0x142] = U'l'; // Ł ł
    }
};

const LatinFolding& latin() {
    static const LatinFolding table;
    return table;
}

// Reads folded code points one at a time; ß, æ and œ expand to two letters.
class Folder {
public:
    explicit Folder(QByteArrayView text)
        : m_p(reinterpret_cast<const unsigned char*>(text.data())), m_end(m_p + text.size()) {}

    // 0 at the end.
    char32_t next() {
        if (m_pending) {
            const char32_t c = m_pending;
            m_pending = 0;
            return c;
        }
        if (m_p >= m_end)
            return 0;
        const unsigned char b = *m_p;
        if (b < 0x80) {
            ++m_p;
            return b >= 'A' && b <= 'Z' ? char32_t(b + 32) : char32_t(b);
        }
        const char32_t cp = decode();
        switch (cp) {
        case 0xDF:
            m_pending = U's';
            return U's';
        case 0xC6:
        case 0xE6:
            m_pending = U'e';
            return U'a';
        case 0x152:
        case 0x153:
            m_pending = U'e';
            return U'o';
        default:
            break;
        }
        if (cp < latin().base.size())
            return latin().base[cp];
        return QChar::toCaseFolded(cp);
    }

private:
    char32_t decode() {
        const unsigned char b = *m_p++;
        int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        char32_t cp = extra == 3 ? b & 0x07 : extra == 2 ? b & 0x0F : extra == 1 ? b & 0x1F : b;
        while (extra-- > 0 && m_p < m_end && (*m_p & 0xC0) == 0x80)
            cp = (cp << 6) | (*m_p++ & 0x3F);
        return cp;
    }

    const unsigned char* m_p;
    const unsigned char* m_end;
    char32_t m_pending = 0;
};

// The dictionary comparison alone: 0 for texts that differ only in case, accents or ß/ss.
int compareFolded(QByteArrayView a, QByteArrayView b) {
    Folder fa(a), fb(b);
    for (;;) {
        const char32_t ca = fa.next();
        const char32_t cb = fb.next();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

QByteArrayView withoutOuterBlanks(QByteArrayView text) {
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

int collate(void*, int lengthA, const void* a, int lengthB, const void* b) {
    return compareGerman(QByteArrayView(static_cast<const char*>(a), lengthA),
                         QByteArrayView(static_cast<const char*>(b), lengthB));
}

int collatePrimary(void*, int lengthA, const void* a, int lengthB, const void* b) {
    return compareGermanPrimary(QByteArrayView(static_cast<const char*>(a), lengthA),
                                QByteArrayView(static_cast<const char*>(b), lengthB));
}

bool isAscii(const unsigned char* text, int length) {
    for (int i = 0; i < length; ++i) {
        if (text[i] >= 0x80)
            return false;
    }
    return true;
}

// Lower case of UTF-8 text whose characters are all below U+0100, as QString::toLower gives
// it: A-Z and U+00C0-U+00DE except U+00D7 move up by 0x20, which keeps every byte count. False
// for any other text (the caller takes the general way). German text nearly always passes.
bool lowerLatin1(const unsigned char* text, int length, unsigned char* out) {
    for (int i = 0; i < length; ++i) {
        const unsigned char c = text[i];
        if (c < 0x80) {
            out[i] = c >= 'A' && c <= 'Z' ? c + 0x20 : c;
            continue;
        }
        if ((c != 0xC2 && c != 0xC3) || i + 1 >= length || (text[i + 1] & 0xC0) != 0x80)
            return false;
        const unsigned char next = text[i + 1];
        out[i] = c;
        out[i + 1] = c == 0xC3 && next <= 0x9E && next != 0x97 ? next + 0x20 : next;
        ++i;
    }
    return true;
}

template <bool Lower> void changeCase(sqlite3_context* context, int, sqlite3_value** args) {
    if (sqlite3_value_type(args[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = sqlite3_value_text(args[0]);
    const int length = sqlite3_value_bytes(args[0]);
    if constexpr (Lower) {
        // Searches lower every title they look at: without an allocation where it fits.
        constexpr int kShort = 256;
        unsigned char buffer[kShort];
        if (length <= kShort && lowerLatin1(text, length, buffer)) {
            sqlite3_result_text(context, reinterpret_cast<const char*>(buffer), length,
                                SQLITE_TRANSIENT);
            return;
        }
    }
    QByteArray out;
    if (isAscii(text, length)) {
        out = QByteArray(reinterpret_cast<const char*>(text), length);
        for (char& c : out)
            c = Lower ? char(std::tolower(static_cast<unsigned char>(c)))
                      : char(std::toupper(static_cast<unsigned char>(c)));
    } else {
        const QString s = QString::fromUtf8(reinterpret_cast<const char*>(text), length);
        out = (Lower ? s.toLower() : s.toUpper()).toUtf8();
    }
    sqlite3_result_text(context, out.constData(), int(out.size()), SQLITE_TRANSIENT);
}

} // namespace

int compareGerman(QByteArrayView a, QByteArrayView b) {
    if (const int folded = compareFolded(a, b); folded != 0)
        return folded;
    // Equal in dictionary order: the raw bytes decide, so the order is total.
    const int common = int(std::min(a.size(), b.size()));
    if (const int c = std::memcmp(a.data(), b.data(), common); c != 0)
        return c;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int compareGermanPrimary(QByteArrayView a, QByteArrayView b) {
    return compareFolded(withoutOuterBlanks(a), withoutOuterBlanks(b));
}

void registerGermanCollation(sqlite3* db) {
    sqlite3_create_collation_v2(db, "GERMAN", SQLITE_UTF8, nullptr, collate, nullptr);
    sqlite3_create_collation_v2(db, "GERMANPRIMARY", SQLITE_UTF8, nullptr, collatePrimary, nullptr);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_function_v2(db, "LOWER", 1, flags, nullptr, changeCase<true>, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, "UPPER", 1, flags, nullptr, changeCase<false>, nullptr, nullptr,
                               nullptr);
}
