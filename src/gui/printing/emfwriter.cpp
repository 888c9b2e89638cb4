// The enhanced metafile of a page, through libEMF. Kept apart because libEMF brings its own
// Windows type definitions.
#include "core/printing/pagepicture.h"
#include "pageexport.h"

#include <QFile>
#include <cmath>
#include <libEMF/emf.h>

namespace pageexport {

bool saveEmf(const PagePicture& page, const QString& path, QString* error) {
    // The frame is given in hundredths of a millimetre.
    RECT frame;
    frame.left = 0;
    frame.top = 0;
    frame.right = LONG(std::lround(page.size().width() * 2540.0 / page.resolutionX()));
    frame.bottom = LONG(std::lround(page.size().height() * 2540.0 / page.resolutionY()));
    const QByteArray file = QFile::encodeName(path);
    HDC dc = CreateEnhMetaFileA(0, file.constData(), &frame, "Diskarium\0Seite\0");
    if (!dc) {
        if (error)
            *error = QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(path);
        return false;
    }
    // Logical units are the page's printer pixels, mapped onto the frame.
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, page.size().width(), page.size().height(), nullptr);
    const double deviceX =
        double(GetDeviceCaps(dc, HORZRES)) / GetDeviceCaps(dc, HORZSIZE); // pixels per mm
    const double deviceY = double(GetDeviceCaps(dc, VERTRES)) / GetDeviceCaps(dc, VERTSIZE);
    SetViewportExtEx(dc, int(std::lround(frame.right / 100.0 * deviceX)),
                     int(std::lround(frame.bottom / 100.0 * deviceY)), nullptr);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_TOP | TA_LEFT);

    std::vector<HFONT> fonts;
    for (const QFont& f : page.fonts()) {
        const QString family = f.family();
        std::vector<WCHAR> face(family.utf16(), family.utf16() + family.size());
        face.push_back(0);
        fonts.push_back(CreateFontW(-f.pixelSize(), 0, 0, 0, f.bold() ? FW_BOLD : FW_NORMAL,
                                    f.italic(), f.underline(), FALSE, ANSI_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_DONTCARE, face.data()));
    }
    std::vector<std::pair<int, HPEN>> pens;
    auto penFor = [&](int width) {
        for (const auto& [w, pen] : pens)
            if (w == width)
                return pen;
        HPEN pen = CreatePen(PS_SOLID, width, RGB(0, 0, 0));
        pens.emplace_back(width, pen);
        return pen;
    };
    int selectedFont = -1;
    const std::vector<PagePicture::Text> texts = page.texts();
    for (const PagePicture::Item& item : page.items()) {
        if (item.kind == PagePicture::Item::Kind::Text) {
            const PagePicture::Text& t = texts[size_t(item.index)];
            if (t.font != selectedFont) {
                SelectObject(dc, fonts[size_t(t.font)]);
                selectedFont = t.font;
            }
            ExtTextOutW(dc, t.topLeft.x(), t.topLeft.y(), 0, nullptr,
                        reinterpret_cast<LPCWSTR>(t.text.utf16()), UINT(t.text.size()), nullptr);
        } else {
            const PagePicture::Line& l = page.lines()[size_t(item.index)];
            SelectObject(dc, penFor(l.penWidth));
            MoveToEx(dc, l.line.x1(), l.line.y1(), nullptr);
            LineTo(dc, l.line.x2(), l.line.y2());
        }
    }
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    DeleteEnhMetaFile(metafile);
    for (HFONT f : fonts)
        DeleteObject(f);
    for (const auto& [w, pen] : pens)
        DeleteObject(pen);
    if (!QFile::exists(path) || QFile(path).size() == 0) {
        if (error)
            *error = QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(path);
        return false;
    }
    return true;
}

} // namespace pageexport
