#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

// Text of a table file in the code page its header names (1252, 850, 437 ...). A code page
// the system cannot convert falls back to Windows-1252, which the caller reports.
class CodePage {
public:
    explicit CodePage(int number);
    ~CodePage();
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    int number() const { return m_number; }
    // False when the number was unknown and Windows-1252 is used instead.
    bool known() const { return m_known; }

    QString decode(QByteArrayView bytes) const;
    // Characters the code page lacks become '?'.
    QByteArray encode(QStringView text) const;

private:
    int m_number;
    bool m_known = false;
    struct Converters;
    std::unique_ptr<Converters> m_converters;
};
