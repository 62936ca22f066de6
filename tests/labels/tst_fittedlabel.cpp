#include "support/GraphFixtures.h"

#include "graph/LayerLabel.h"
#include "labels/FittedLabel.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// Every character half a pixel wide a pixel of size, ascent 0.8 and descent 0.2 of it: with the
// margins a text needs 1.1 pixels of height and 0.1 more than its width.
FittedLabel::Measure plainFont(double height = 1.0) {
    return [height](const QString& text) {
        return LabelFont::TextSize{0.5 * text.size(), 0.8 * height, 0.2 * height};
    };
}
constexpr double pad = 2 * FittedLabel::margin;

BandGeometry band(const QVector<double>& bottoms, const QVector<double>& tops, double xScale) {
    return BandGeometry{0, bottoms, tops, xScale, 10.0};
}
BandGeometry constant(int points, double thickness, double xScale) {
    return band(QVector<double>(points, 0.0), QVector<double>(points, thickness), xScale);
}

} // namespace

Q_DECLARE_METATYPE(BandGeometry)

class FittedLabelTest : public QObject {
    Q_OBJECT
private slots:
    // Sizes and text boxes (scene units) worked out by hand; every band has 10 scene units a unit.
    void handComputed_data() {
        QTest::addColumn<BandGeometry>("geometry");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("size");
        QTest::addColumn<QRectF>("box");
        // 100 scene units of thickness hold 100 / 1.1 pixels; every window has as much room, so the
        // text (1.8 months) is centred in the first two months.
        QTest::newRow("constant band")
            << constant(11, 10, 100) << QStringLiteral("Abcd") << QStringLiteral("Abcd")
            << int(100 / (1 + pad)) << QRectF(0.1 * 100, -(5 + 4.5) * 10, 180, 90);
        // Thick only at points 12..16: four months of 10 scene units hold 40 / 1.1 pixels of "Ab".
        QVector<double> tops(21, 1.0);
        std::fill(tops.begin() + 12, tops.begin() + 17, 10.0);
        QTest::newRow("one thick stretch")
            << band(QVector<double>(21, 0.0), tops, 10) << QStringLiteral("Ab") << QStringLiteral("Ab")
            << int(40 / (1 + pad)) << QRectF(10 * (12 + 0.5 * (4 - 3.6)), -(5 + 0.5 * 3.6) * 10, 36, 36);
        // 30 characters (15.1 pixels a pixel) get 40 / 15.1 = 2; cut to 13 they get 40 / 6.6 = 6, over twice.
        const QString longName = QStringLiteral("Abcdefghijklmnopqrstuvwxyz0123");
        QTest::newRow("cut when twice the size")
            << constant(5, 10, 10) << longName << QStringLiteral("Abcdefghij...") << 6
            << QRectF(0.5 * (4 - 3.9) * 10, -(5 + 0.3) * 10, 39, 6);
        // 16 characters get 40 / 8.1 = 4 whole; cut, 6 is less than twice as large.
        QTest::newRow("whole when the cut gains less")
            << constant(5, 10, 10) << QStringLiteral("Abcdefghijklmnop") << QStringLiteral("Abcdefghijklmnop")
            << 4 << QRectF(0.5 * (4 - 3.2) * 10, -(5 + 0.2) * 10, 32, 4);
        QTest::newRow("too long even cut") << constant(2, 10, 1) << longName << QString() << 0 << QRectF();
    }
    void handComputed() {
        QFETCH(BandGeometry, geometry);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(int, size);
        QFETCH(QRectF, box);
        const LabelPlacement label = FittedLabel::place(geometry, name, LayerLabel::text(name), plainFont());
        QCOMPARE(label.text, text);
        QCOMPARE(label.pixelSize, size);
        if (size > 0) {
            QCOMPARE(FittedLabel::fit(geometry, plainFont()(text)).box, box);
            QCOMPARE(label.origin, QPointF(box.left(), box.top() + 0.8 * size));
        }
    }

    void noLabelUnderOneSceneUnit() {
        // Text half a scene unit high at 1 pixel: the band holds that size, but it is not drawn.
        QCOMPARE(FittedLabel::fit(constant(20, 0.065, 100), plainFont(0.5)(QStringLiteral("A"))).pixelSize,
                 1);
        QVERIFY(FittedLabel::place(constant(20, 0.065, 100), QStringLiteral("A"), QStringLiteral("A"),
                                   plainFont(0.5))
                    .isEmpty());
    }

    // Random bands against trying every size at every place.
    void findsTheLargestSize() {
        QRandomGenerator random(13);
        for (int trial = 0; trial < 200; ++trial) {
            QVector<double> bottoms(1 + random.bounded(40));
            QVector<double> tops(bottoms.size());
            for (int k = 0; k < bottoms.size(); ++k) {
                bottoms[k] = (k > 0 ? bottoms[k - 1] : 0.0) + random.bounded(4.0) - 2.0;
                tops[k] = bottoms[k] + (random.bounded(4) == 0 ? 0.0 : random.bounded(20.0));
            }
            const BandGeometry geometry = band(bottoms, tops, 5.0 + random.bounded(50.0));
            const LabelFont::TextSize text{0.5 * (1 + random.bounded(20)), 0.8, 0.2};
            int slowest = 0;
            for (int size = 1; size <= 1000; ++size) {
                const int points = std::max(1, int(std::ceil(size * (text.width + pad) / geometry.xScale)));
                for (int k = 0; k + points < geometry.count(); ++k) {
                    const double low =
                        *std::max_element(bottoms.begin() + k, bottoms.begin() + k + points + 1);
                    const double high = *std::min_element(tops.begin() + k, tops.begin() + k + points + 1);
                    if (high - low >= size * (1 + pad) / geometry.yScale)
                        slowest = size;
                }
            }
            const FittedLabel::Fit fit = FittedLabel::fit(geometry, text);
            QCOMPARE(fit.pixelSize, slowest);
            QVERIFY(fit.pixelSize == 0 || GraphFixtures::insideBand(geometry, fit.box));
        }
    }
};

QTEST_GUILESS_MAIN(FittedLabelTest)
#include "tst_fittedlabel.moc"
