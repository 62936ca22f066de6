#include "graph/ColorScheme1D.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {

QColor hsv(int hue, int saturation, int value, int alpha = 255) {
    return QColor::fromHsv(hue, saturation, value, alpha);
}

} // namespace

class ColorScheme1DTest : public QObject {
    Q_OBJECT
private slots:
    void defaultsAreLightGrayAndBlack() {
        const ColorScheme1D scheme;
        QCOMPARE(scheme.maxColor.rgb(), qRgb(211, 211, 211));
        QCOMPARE(scheme.minColor.rgb(), qRgb(0, 0, 0));
        // Two greys blend into a grey whose value is the truncated mean.
        const QColor middle = scheme.colorAt(0.5);
        QCOMPARE(middle.hsvHue(), -1);
        QCOMPARE(middle.hsvSaturation(), 0);
        QCOMPARE(middle.value(), int(0.5 * 211 + 0.5 * 0));
        QCOMPARE(middle.alpha(), 255);
    }

    void blendsEachComponent_data() {
        QTest::addColumn<QColor>("max");
        QTest::addColumn<QColor>("min");
        QTest::addColumn<double>("position");
        QTest::addColumn<QColor>("expected");
        const QColor orange = hsv(30, 200, 220);
        const QColor blue = hsv(240, 100, 60);
        QTest::newRow("position 1 is max") << orange << blue << 1.0 << orange;
        QTest::newRow("position 0 is min") << orange << blue << 0.0 << blue;
        QTest::newRow("quarter") << orange << blue << 0.25
                                 << hsv(int(0.25 * 30 + 0.75 * 240), int(0.25 * 200 + 0.75 * 100),
                                        int(0.25 * 220 + 0.75 * 60));
        // The −1 hue of a grey enters the blend like a number.
        QTest::newRow("grey max") << hsv(-1, 0, 200) << blue << 0.25
                                  << hsv(int(0.25 * -1 + 0.75 * 240), int(0.75 * 100),
                                         int(0.25 * 200 + 0.75 * 60));
        // −0.5 truncates toward zero to hue 0, not down to −1.
        QTest::newRow("grey max over red") << hsv(-1, 0, 100) << hsv(0, 255, 255) << 0.5
                                           << hsv(0, int(0.5 * 255), int(0.5 * 100 + 0.5 * 255));
        QTest::newRow("no wrap around the circle")
            << hsv(350, 255, 255) << hsv(10, 255, 255) << 0.5 << hsv(180, 255, 255);
        QTest::newRow("alpha") << hsv(120, 255, 255, 255) << hsv(120, 255, 255, 0) << 0.5
                               << hsv(120, 255, 255, int(0.5 * 255));
        // Clamped: positions outside [0, 1] would give components out of range.
        QTest::newRow("above one") << orange << blue << 2.0 << orange;
        QTest::newRow("below zero") << orange << blue << -1.0 << blue;
        QTest::newRow("not a number") << orange << blue << std::numeric_limits<double>::quiet_NaN() << blue;
    }
    void blendsEachComponent() {
        QFETCH(QColor, max);
        QFETCH(QColor, min);
        QFETCH(double, position);
        QFETCH(QColor, expected);
        const QColor color = ColorScheme1D(max, min).colorAt(position);
        QVERIFY(color.isValid());
        QCOMPARE(color.hsvHue(), expected.hsvHue());
        QCOMPARE(color.hsvSaturation(), expected.hsvSaturation());
        QCOMPARE(color.value(), expected.value());
        QCOMPARE(color.alpha(), expected.alpha());
    }

    void invalidColorsFallBack_data() {
        QTest::addColumn<QColor>("max");
        QTest::addColumn<QColor>("min");
        QTest::addColumn<QRgb>("expected");
        const QRgb gray = qRgb(128, 128, 128);
        const QRgb red = qRgb(255, 0, 0);
        QTest::newRow("invalid min") << QColor(Qt::blue) << QColor() << gray;
        QTest::newRow("both invalid") << QColor() << QColor() << gray;
        QTest::newRow("invalid max") << QColor() << QColor(Qt::blue) << red;
    }
    void invalidColorsFallBack() {
        QFETCH(QColor, max);
        QFETCH(QColor, min);
        QFETCH(QRgb, expected);
        const ColorScheme1D scheme(max, min);
        for (const double position : {0.0, 0.3, 1.0})
            QCOMPARE(scheme.colorAt(position).rgba(), expected);
    }

    void singleColorConstructorLeavesMinInvalid() {
        ColorScheme1D scheme(QColor(Qt::blue));
        QVERIFY(!scheme.minColor.isValid());
        QCOMPARE(scheme.colorAt(1.0).rgb(), qRgb(128, 128, 128));
        scheme.setMinColor(QColor(Qt::white));
        QCOMPARE(scheme.colorAt(1.0).rgb(), qRgb(0, 0, 255));
        scheme.setMaxColor(QColor());
        QCOMPARE(scheme.colorAt(1.0).rgb(), qRgb(255, 0, 0));
        scheme.setColors(QColor(Qt::green), QColor(Qt::black));
        QCOMPARE(scheme.colorAt(1.0).rgb(), qRgb(0, 255, 0));
        QCOMPARE(scheme.colorAt(0.0).rgb(), qRgb(0, 0, 0));
    }

    void textColorSwitchesAtValue140_data() {
        QTest::addColumn<int>("maxValue");
        QTest::addColumn<bool>("white");
        // Blended at 0.5 with a grey of value 80: (maxValue + 80) / 2, truncated.
        QTest::newRow("value 139") << 198 << true;
        QTest::newRow("value 139 after truncation") << 199 << true;
        QTest::newRow("value 140") << 200 << false;
        QTest::newRow("dark") << 0 << true;
        QTest::newRow("light") << 255 << false;
    }
    void textColorSwitchesAtValue140() {
        QFETCH(int, maxValue);
        QFETCH(bool, white);
        const ColorScheme1D scheme(hsv(-1, 0, maxValue), hsv(-1, 0, 80));
        const QColor text = scheme.textColorAt(0.5);
        QCOMPARE(text.rgba(), white ? qRgba(255, 255, 255, 255) : qRgba(0, 0, 0, 255));
    }
};

QTEST_GUILESS_MAIN(ColorScheme1DTest)
#include "tst_colorscheme1d.moc"
