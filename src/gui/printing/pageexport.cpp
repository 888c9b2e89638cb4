#include "pageexport.h"

#include "core/printing/pagepicture.h"

#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace pageexport {

Format formatFor(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return Format::Pdf;
    if (suffix == QLatin1String("svg"))
        return Format::Svg;
    if (suffix == QLatin1String("png"))
        return Format::Png;
    return Format::Emf;
}

bool save(const PagePicture& page, const QString& path, QString* error) {
    const QString failure = QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(path);
    switch (formatFor(path)) {
    case Format::Emf:
        return saveEmf(page, path, error);
    case Format::Pdf: {
        QPdfWriter writer(path);
        writer.setResolution(page.resolutionX());
        writer.setPageSize(QPageSize(QSizeF(page.size().width() * 25.4 / page.resolutionX(),
                                            page.size().height() * 25.4 / page.resolutionY()),
                                     QPageSize::Millimeter));
        writer.setPageMargins(QMarginsF());
        QPainter painter;
        if (!painter.begin(&writer)) {
            if (error)
                *error = failure;
            return false;
        }
        page.replay(painter);
        return painter.end();
    }
    case Format::Svg: {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(page.size());
        svg.setViewBox(QRect(QPoint(), page.size()));
        svg.setResolution(page.resolutionX());
        svg.setTitle(QStringLiteral("Diskarium"));
        QPainter painter;
        if (!painter.begin(&svg)) {
            if (error)
                *error = failure;
            return false;
        }
        page.replay(painter);
        return painter.end();
    }
    case Format::Png: {
        QImage image(page.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setDotsPerMeterX(int(page.resolutionX() / 0.0254));
        image.setDotsPerMeterY(int(page.resolutionY() / 0.0254));
        QPainter painter(&image);
        page.replay(painter);
        painter.end();
        if (!image.save(path, "PNG")) {
            if (error)
                *error = failure;
            return false;
        }
        return true;
    }
    }
    return false;
}

} // namespace pageexport
