#include "export/ImageSize.h"

#include <QTest>

#include <limits>

class ImageSizeTest : public QObject {
    Q_OBJECT
private slots:
    void choices_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        // W = 3846, graphHeight 1234.7 truncated to 1234.
        QTest::newRow("quarter") << 0 << QStringLiteral("961x308");
        QTest::newRow("half") << 1 << QStringLiteral("1923x617");
        QTest::newRow("one to one") << 2 << QStringLiteral("3846x1234");
        QTest::newRow("double") << 3 << QStringLiteral("7692x2468");
        QTest::newRow("fourfold") << 4 << QStringLiteral("15384x4936");
        QTest::newRow("no selection") << -1 << QStringLiteral("16x10");
        QTest::newRow("out of range") << 5 << QStringLiteral("16x10");
    }
    void choices() {
        QFETCH(int, index);
        QFETCH(QString, text);
        QCOMPARE(ImageSize::text(ImageSize::forChoice(index, 3846, int(1234.7))), text);
    }
    void smallGraphGivesZeroSide() { QCOMPARE(ImageSize::forChoice(0, 3846, 3), QSize(961, 0)); }
    void extentsTruncate() {
        QCOMPARE(ImageSize::truncated(1234.7), 1234);
        QCOMPARE(ImageSize::truncated(-3.0), 0);
        QCOMPARE(ImageSize::truncated(std::numeric_limits<double>::quiet_NaN()), 0);
        QCOMPARE(ImageSize::truncated(1e300), std::numeric_limits<int>::max());
    }
    void hugeGraphSaturates() {
        const int big = std::numeric_limits<int>::max() / 3;
        QCOMPARE(ImageSize::forChoice(4, big, 10).width(), std::numeric_limits<int>::max());
    }
};

QTEST_GUILESS_MAIN(ImageSizeTest)
#include "tst_imagesize.moc"
