#include "export/SceneExport.h"

#include "export/OutputFile.h"
#include "export/PngExport.h"

#include <QDir>
#include <QGraphicsScene>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace {

struct Extension {
    const char* text;
    SceneExport::Format format;
};

const Extension extensionList[] = {{".png", SceneExport::Format::Png},
                                   {".jpg", SceneExport::Format::Jpeg},
                                   {".jpeg", SceneExport::Format::Jpeg},
                                   {".svg", SceneExport::Format::Svg},
                                   {".pdf", SceneExport::Format::Pdf}};

// The frame and its footer below it, with the footer's rows.
QSize wholeSize(const QSize& size, const SceneImage::Frame& frame) {
    return QSize(size.width(), size.height() + qMax(frame.footer.rows, 0));
}

// The scene drawn on a vector device whose units are the frame's pixels, the footer below it.
bool drawVector(QPaintDevice& device, QGraphicsScene& scene, const QSize& size,
                const SceneImage::Frame& frame, QString* reason) {
    QPainter painter;
    if (!painter.begin(&device)) {
        *reason = QStringLiteral("cannot draw on it");
        return false;
    }
    if (!frame.transparent)
        painter.fillRect(QRectF(QPointF(0.0, 0.0), QSizeF(wholeSize(size, frame))), Qt::white);
    const QRectF target = SceneImage::target(scene.sceneRect(), size, frame.placement);
    if (!target.isNull())
        scene.render(&painter, target, QRectF(), Qt::KeepAspectRatio);
    if (frame.footer.rows > 0 && frame.footer.paint) {
        painter.save();
        painter.translate(0, size.height());
        frame.footer.paint(painter, QRect(0, 0, size.width(), frame.footer.rows));
        painter.restore();
    }
    return painter.end();
}

bool writeJpeg(QGraphicsScene& scene, const QSize& size, SceneImage::Frame frame, const QString& fileName,
               QString* error) {
    frame.transparent = false;
    const QImage image = SceneImage::render(scene, size, frame, error);
    if (image.isNull())
        return false;
    return OutputFile::write(
        fileName,
        [&image](QIODevice& out, QString* reason) {
            QImageWriter writer(&out, "jpeg");
            writer.setQuality(SceneExport::jpegQuality);
            if (writer.write(image))
                return true;
            *reason = writer.errorString();
            return false;
        },
        error);
}

bool writeSvg(QGraphicsScene& scene, const QSize& size, const SceneImage::Frame& frame,
              const QString& fileName, QString* error) {
    return OutputFile::write(
        fileName,
        [&](QIODevice& out, QString* reason) {
            QSvgGenerator svg;
            svg.setOutputDevice(&out);
            // Sized in millimetres at 96 per inch: the frame's pixels as CSS pixels.
            svg.setResolution(96);
            svg.setSize(wholeSize(size, frame));
            svg.setViewBox(QRect(QPoint(0, 0), wholeSize(size, frame)));
            svg.setTitle(QStringLiteral("Stacked Graph"));
            return drawVector(svg, scene, size, frame, reason);
        },
        error);
}

bool writePdf(QGraphicsScene& scene, const QSize& size, const SceneImage::Frame& frame,
              const QString& fileName, QString* error) {
    return OutputFile::write(
        fileName,
        [&](QIODevice& out, QString* reason) {
            QPdfWriter pdf(&out);
            pdf.setCreator(QStringLiteral("Stacked Graph"));
            // One point a pixel, on a page the frame's size.
            pdf.setResolution(72);
            pdf.setPageMargins(QMarginsF());
            if (!pdf.setPageSize(QPageSize(QSizeF(wholeSize(size, frame)), QPageSize::Point, QString(),
                                           QPageSize::ExactMatch))) {
                *reason = QStringLiteral("PDF cannot have a page of that size");
                return false;
            }
            return drawVector(pdf, scene, size, frame, reason);
        },
        error);
}

} // namespace

bool SceneExport::formatOf(const QString& fileName, Format* format) {
    if (fileName == QLatin1String("-")) {
        *format = Format::Png;
        return true;
    }
    for (const Extension& extension : extensionList) {
        if (fileName.endsWith(QLatin1String(extension.text), Qt::CaseInsensitive)) {
            *format = extension.format;
            return true;
        }
    }
    return false;
}

QString SceneExport::extensions() {
    QStringList texts;
    for (const Extension& extension : extensionList)
        texts << QLatin1String(extension.text);
    return texts.mid(0, texts.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") + texts.last();
}

bool SceneExport::write(QGraphicsScene& scene, const QSize& size, const SceneImage::Frame& frame,
                        const QString& fileName, QString* error) {
    Format format = Format::Png;
    if (!formatOf(fileName, &format)) {
        *error = QStringLiteral("Cannot write \"%1\": name the file with one of %2.")
                     .arg(QDir::toNativeSeparators(fileName), extensions());
        return false;
    }
    if (size.width() <= 0 || size.height() <= 0) {
        *error = QStringLiteral("Cannot create an image of %1x%2 pixels: it has no area.")
                     .arg(size.width())
                     .arg(size.height());
        return false;
    }
    switch (format) {
    case Format::Jpeg:
        return writeJpeg(scene, size, frame, fileName, error);
    case Format::Svg:
        return writeSvg(scene, size, frame, fileName, error);
    case Format::Pdf:
        return writePdf(scene, size, frame, fileName, error);
    case Format::Png:
        break;
    }
    return PngExport::write(scene, size, frame, fileName, error);
}
