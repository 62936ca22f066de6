#include "graph/LayerLabel.h"

#include <QPainterPath>
#include <QTest>

namespace {
// Keeps the points alive for the placement that refers to them.
struct Layer {
    explicit Layer(const QVector<double>& values, int first = 0) {
        for (double v : values)
            points.append(DataPoint{2000, 1, v});
        placement.first = first;
        placement.count = int(points.size());
        placement.points = points.constData();
    }
    QVector<DataPoint> points;
    SeriesPlacement placement;
};
} // namespace

class LayerLabelTest : public QObject {
    Q_OBJECT
private slots:
    void labelPointAndShift_data() {
        QTest::addColumn<QVector<double>>("values");
        QTest::addColumn<int>("point");
        QTest::addColumn<double>("shift");
        QTest::newRow("single point") << QVector<double>{5} << 0 << 0.0;
        QTest::newRow("worked example") << QVector<double>{2, 6, 4} << 1 << 0.25;
        QTest::newRow("grows to the end") << QVector<double>{1, 2, 4, 8} << 3 << 0.35;
        QTest::newRow("slow start") << QVector<double>{4, 6, 20} << 0 << 0.0;
        QTest::newRow("just 1.5 times is not growth") << QVector<double>{2, 3, 9} << 0 << 0.0;
        QTest::newRow("from zero is growth") << QVector<double>{0, 3, 1} << 1 << 0.25;
        QTest::newRow("zero to zero is not") << QVector<double>{0, 0, 5} << 0 << 0.0;
    }
    void labelPointAndShift() {
        QFETCH(QVector<double>, values);
        QFETCH(int, point);
        QFETCH(double, shift);
        const Layer layer(values);
        QCOMPARE(LayerLabel::labelPoint(layer.placement), point);
        QCOMPARE(LayerLabel::shift(point, int(values.size())), shift);
    }
    void placementSitsAboveTheBottom() {
        // Months 3, 4, 5 with values 2, 6, 4: the text starts at month 4 - 0.25.
        const Layer layer({2, 6, 4}, 3);
        const LayerLabel::Placement zero = LayerLabel::place(layer.placement, {0, 0, 0});
        QCOMPARE(zero.x, 3.75);
        QCOMPARE(zero.y, 6 / 2.3);
        QCOMPARE(zero.thickness, 6.0);
        const LayerLabel::Placement raised = LayerLabel::place(layer.placement, {1, 2, 3});
        QCOMPARE(raised.y, 2 + 6 / 2.3);
        const Layer single({7}, 2);
        QCOMPARE(LayerLabel::place(single.placement, {1}).x, 2.0);
    }
    void pixelSize() {
        QCOMPARE(LayerLabel::pixelSize(10.0, 100.0, 6.0), int(10 / 20.0 + 6 * 100 / 20.0));
        QCOMPARE(LayerLabel::pixelSize(19.0, 1.0, 0.5), 0);
        QCOMPARE(LayerLabel::pixelSize(20.0, 1.0, 0.0), 1);
        QCOMPARE(LayerLabel::pixelSize(1.0, 1e300, 1e300), LabelPlacement::largestPixelSize);
        QCOMPARE(LayerLabel::pixelSize(qQNaN(), 1.0, 1.0), 0);
    }
    void namesAreCutAfterThirteenCharacters() {
        QCOMPARE(LayerLabel::text(QStringLiteral("Thirteen char")), QStringLiteral("Thirteen char"));
        QCOMPARE(LayerLabel::text(QStringLiteral("Fourteen chars")), QStringLiteral("Fourteen c..."));
        QCOMPARE(LayerLabel::text(QString()), QString());
    }
    void drawnAtItsPlacement() {
        const Layer layer({2, 6, 4}, 3);
        const LayerLabel::Placement placement = LayerLabel::place(layer.placement, {0, 0, 0});
        const LabelPlacement label = LayerLabel::drawn(placement, QStringLiteral("Alpha"), 10.0, 100.0);
        // Baseline's left end at month 3.75, 6 / 2.3 up, in scene units.
        QCOMPARE(label.origin, QPointF(3.75 * 10.0, -6 / 2.3 * 100.0));
        QCOMPARE(label.pixelSize, int(10 / 20.0 + 6 * 100 / 20.0));
        QCOMPARE(label.text, QStringLiteral("Alpha"));
        QVERIFY(LayerLabel::drawn(placement, QStringLiteral("Alpha"), 1.0, 0.01).isEmpty());
        QVERIFY(LayerLabel::drawn(placement, QString(), 10.0, 100.0).isEmpty());
    }
};

QTEST_MAIN(LayerLabelTest)
#include "tst_layerlabel.moc"
