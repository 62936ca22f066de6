#include "support/GraphFixtures.h"

#include "graph/LayerToolTip.h"
#include "graph/ValueFormatter.h"

#include <QTest>

using GraphFixtures::series;

class LayerToolTipTest : public QObject {
    Q_OBJECT
private slots:
    void toolTip_data() {
        const QVector<QString> two = {QString(), QStringLiteral("k")};
        const QVector<QString> three = {QString(), QStringLiteral("k"), QStringLiteral("M")};
        QTest::addColumn<DataSeries>("layer");
        QTest::addColumn<QVector<QString>>("suffixes");
        QTest::addColumn<bool>("detailed");
        QTest::addColumn<QString>("text");
        const DataSeries jobs = series(QStringLiteral("Jobs"), 2004, 1, {3000, 5000});
        QTest::newRow("thousands") << jobs << two << false
                                   << QStringLiteral("Jobs\n\n2004.1:\t3k\n2004.2:\t5k\n\nTotal:\t8k");
        QTest::newRow("detailed") << jobs << two << true
                                  << QStringLiteral("Jobs\n\n2004.1:\t3000\n2004.2:\t5000\n\nTotal:\t8000");
        QTest::newRow("one suffix") << jobs << QVector<QString>{QStringLiteral("u")} << false
                                    << QStringLiteral(
                                           "Jobs\n\n2004.1:\t3000u\n2004.2:\t5000u\n\nTotal:\t8000u");
        QTest::newRow("levels averaged")
            << series(QStringLiteral("Mix"), 2003, 12, {400, 2000, 3e6, 0}) << three << false
            << QStringLiteral(
                   "Mix\n\n2003.12:\t0.4k\n2004.1:\t2k\n2004.2:\t3000k\n2004.3:\t0k\n\nTotal:\t3002k");
        QTest::newRow("total keeps the level")
            << series(QString(), 2004, 1, {600000, 600000}) << three << false
            << QStringLiteral("\n\n2004.1:\t600k\n2004.2:\t600k\n\nTotal:\t1200k");
    }
    void toolTip() {
        QFETCH(DataSeries, layer);
        QFETCH(QVector<QString>, suffixes);
        QFETCH(bool, detailed);
        QFETCH(QString, text);
        const QString unit;
        QCOMPARE(LayerToolTip::text(layer, ValueFormatter(suffixes, unit, true, detailed)), text);
    }
};

QTEST_GUILESS_MAIN(LayerToolTipTest)
#include "tst_layertooltip.moc"
