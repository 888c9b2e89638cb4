#pragma once

#include <QString>

class PagePicture;

// Writes one recorded page to a file: an enhanced metafile (".TMF", ".EMF"), or PDF, SVG
// or PNG by the file's extension. False with a German reason when the file cannot be written.
namespace pageexport {

enum class Format { Emf, Pdf, Svg, Png };

Format formatFor(const QString& path);
bool save(const PagePicture& page, const QString& path, QString* error = nullptr);
bool saveEmf(const PagePicture& page, const QString& path, QString* error = nullptr);

} // namespace pageexport
