#include "codepage.h"

#include "core/common/windows1252.h"

#include <iconv.h>

#include <cerrno>

struct CodePage::Converters {
    iconv_t toUtf16 = iconv_t(-1);
    iconv_t fromUtf16 = iconv_t(-1);
    ~Converters() {
        if (toUtf16 != iconv_t(-1))
            iconv_close(toUtf16);
        if (fromUtf16 != iconv_t(-1))
            iconv_close(fromUtf16);
    }
};

CodePage::CodePage(int number) : m_number(number) {
    if (number == 1252) {
        m_known = true;
        return;
    }
    const QByteArray name = "CP" + QByteArray::number(number);
    auto converters = std::make_unique<Converters>();
    converters->toUtf16 = iconv_open("UTF-16LE", name.constData());
    converters->fromUtf16 = iconv_open((name + "//TRANSLIT").constData(), "UTF-16LE");
    if (converters->toUtf16 != iconv_t(-1) && converters->fromUtf16 != iconv_t(-1)) {
        m_known = true;
        m_converters = std::move(converters);
    }
}

CodePage::~CodePage() = default;

QString CodePage::decode(QByteArrayView bytes) const {
    // Most text is plain ASCII, the same in every code page.
    bool ascii = true;
    for (char c : bytes) {
        if (uchar(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return QString::fromLatin1(bytes);
    if (!m_converters)
        return windows1252::decode(bytes);
    QString result(bytes.size(), Qt::Uninitialized);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    char* out = reinterpret_cast<char*>(result.data());
    size_t outLeft = size_t(result.size()) * 2;
    iconv(m_converters->toUtf16, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        if (iconv(m_converters->toUtf16, &in, &inLeft, &out, &outLeft) != size_t(-1))
            break;
        if (errno != EILSEQ && errno != EINVAL)
            break;
        // A byte the code page does not define.
        if (outLeft < 2)
            break;
        out[0] = '?';
        out[1] = 0;
        out += 2;
        outLeft -= 2;
        ++in;
        --inLeft;
    }
    result.resize(result.size() - qsizetype(outLeft / 2));
    return result;
}

QByteArray CodePage::encode(QStringView text) const {
    if (!m_converters)
        return windows1252::encode(text);
    QByteArray result(text.size() * 4 + 4, Qt::Uninitialized);
    char* in = reinterpret_cast<char*>(const_cast<QChar*>(text.data()));
    size_t inLeft = size_t(text.size()) * 2;
    char* out = result.data();
    size_t outLeft = size_t(result.size());
    iconv(m_converters->fromUtf16, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        if (iconv(m_converters->fromUtf16, &in, &inLeft, &out, &outLeft) != size_t(-1))
            break;
        if (errno != EILSEQ || outLeft < 1)
            break;
        *out++ = '?';
        --outLeft;
        in += 2;
        inLeft -= 2;
    }
    result.resize(result.size() - qsizetype(outLeft));
    return result;
}
