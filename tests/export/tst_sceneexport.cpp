#include "data/DataFileReader.h"
#include "export/SceneExport.h"
#include "support/PictureCompare.h"
#include "support/TestFiles.h"
#include "support/TestGraph.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QSize frame(900, 300);

struct ExampleExport {
    explicit ExampleExport(GraphSettings::LabelMode labels = GraphSettings::LabelMode::Classic)
        : example(DataFileReader::readFile(exampleDataFile()).data, 1, 2700.0, LayerItem::Storage::WholePath,
                  labels) {}
    // Writes the example's graph under that name in the temporary directory; the path, or empty.
    QString write(const QString& name, QString* error, bool transparent = false) {
        const QString path = dir.filePath(name);
        SceneImage::Frame placing;
        placing.transparent = transparent;
        placing.placement = SceneImage::Placement::Centred;
        return SceneExport::write(*example.graph, frame, placing, path, error) ? path : QString();
    }
    TestGraph example;
    QTemporaryDir dir;
};

QByteArray readAll(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class SceneExportTest : public QObject {
    Q_OBJECT
private slots:
    void formatByExtension_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("signature");
        QTest::newRow("png") << "graph.png" << QByteArray("\x89PNG\r\n\x1a\n");
        QTest::newRow("jpg") << "graph.JPG" << QByteArray("\xFF\xD8\xFF");
        QTest::newRow("jpeg") << "graph.jpeg" << QByteArray("\xFF\xD8\xFF");
        QTest::newRow("svg") << "graph.Svg" << QByteArray("<?xml");
        QTest::newRow("pdf") << "graph.pdf" << QByteArray("%PDF-");
        QTest::newRow("gif") << "graph.gif" << QByteArray();
        QTest::newRow("no extension") << "graph" << QByteArray();
    }
    void formatByExtension() {
        QFETCH(QString, name);
        QFETCH(QByteArray, signature);
        ExampleExport exported;
        QString error;
        const QString path = exported.write(name, &error);
        if (signature.isEmpty()) {
            QVERIFY(path.isEmpty());
            QVERIFY2(error.contains(QStringLiteral(".png, .jpg, .jpeg, .svg or .pdf")), qPrintable(error));
            QVERIFY(!QFile::exists(exported.dir.filePath(name)));
            return;
        }
        QVERIFY2(!path.isEmpty(), qPrintable(error));
        QVERIFY(readAll(path).startsWith(signature));
        if (name.endsWith(QLatin1String("svg"), Qt::CaseInsensitive))
            QVERIFY(readAll(path).contains("viewBox=\"0 0 900 300\""));
        else if (!name.endsWith(QLatin1String("pdf")))
            QCOMPARE(QImage(path).size(), frame);
    }

    // One path a layer, its band and its label's outlines, in the layer's colour; fitted labels are paths of
    // their own in their text colour.
    void svgHasOnePathPerLayer_data() {
        QTest::addColumn<bool>("fitted");
        QTest::newRow("classic") << false;
        QTest::newRow("fitted") << true;
    }
    void svgHasOnePathPerLayer() {
        QFETCH(bool, fitted);
        ExampleExport exported(fitted ? GraphSettings::LabelMode::Fitted : GraphSettings::LabelMode::Classic);
        QString error;
        const QString path = exported.write(QStringLiteral("graph.svg"), &error, true);
        QVERIFY2(!path.isEmpty(), qPrintable(error));
        QSet<QString> layerColors;
        int filledLabels = 0;
        for (const QGraphicsItem* item : exported.example.graph->items()) {
            const auto* layer = static_cast<const LayerItem*>(item);
            layerColors << layer->brush().color().name();
            if (!layer->filledLabel().isEmpty()) {
                layerColors << layer->labelFill().color().name();
                ++filledLabels;
            }
        }
        QCOMPARE(filledLabels > 10, fitted);
        QXmlStreamReader svg(readAll(path));
        int paths = 0;
        QSet<QString> fills;
        while (!svg.atEnd()) {
            if (svg.readNext() != QXmlStreamReader::StartElement)
                continue;
            paths += svg.name() == QLatin1String("path") ? 1 : 0;
            if (svg.attributes().hasAttribute(QStringLiteral("fill")))
                fills << svg.attributes().value(QStringLiteral("fill")).toString();
        }
        QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
        QCOMPARE(paths, 14 + filledLabels);
        QVERIFY(fills.contains(layerColors));
    }

    // pdftoppm draws the PDF at four pixels a point, scaled down to the frame: the PNG's picture. (At one
    // pixel a point it draws the hairline outlines a whole pixel wide, as PDF viewers do.)
    void pdfLooksLikeThePng_data() { svgHasOnePathPerLayer_data(); }
    void pdfLooksLikeThePng() {
        QFETCH(bool, fitted);
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed");
        ExampleExport exported(fitted ? GraphSettings::LabelMode::Fitted : GraphSettings::LabelMode::Classic);
        QString error;
        const QString png = exported.write(QStringLiteral("graph.png"), &error);
        const QString pdf = exported.write(QStringLiteral("graph.pdf"), &error);
        QVERIFY2(!png.isEmpty() && !pdf.isEmpty(), qPrintable(error));
        const QString rendered = exported.dir.filePath(QStringLiteral("rendered"));
        QCOMPARE(
            QProcess::execute(pdftoppm, {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("288"),
                                         QStringLiteral("-singlefile"), pdf, rendered}),
            0);
        const QImage fromPdf(rendered + QStringLiteral(".png"));
        QCOMPARE(fromPdf.size(), frame * 4);
        const QImage scaled = fromPdf.scaled(frame, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        // Antialiasing differs along the edges: no pixel by more than 96 of 255, one in 200 by more than 48.
        // A band out of place or in another colour differs by far more.
        const PictureDifference difference = comparePictures(scaled, QImage(png), 48);
        QVERIFY2(difference.largest <= 96 && difference.differing * 200 <= difference.pixels,
                 qPrintable(difference.text()));
    }
};

QTEST_MAIN(SceneExportTest)
#include "tst_sceneexport.moc"
