#include "support/GraphFixtures.h"

#include "graph/GraphLayout.h"
#include "graph/ValueFormatter.h"
#include "probe/Readout.h"

#include <QTest>

using GraphFixtures::series;

namespace {

// Jobs 3000, 5000 from March 2005 and Farms 1000, 0 from the same month, in that order from the bottom.
DataSet jobsAndFarms(const QString& unit, bool unitAfterValue) {
    DataSet data;
    data.series = {series(QStringLiteral("Jobs"), 2005, 3, {3000, 5000}),
                   series(QStringLiteral("Farms"), 2005, 3, {1000, 0})};
    data.unitText = unit;
    data.unitAfterValue = unitAfterValue;
    data.magnitudeSuffixes = {QString(), QStringLiteral("k")};
    return data;
}

} // namespace

class ReadoutTest : public QObject {
    Q_OBJECT
private slots:
    void line_data() {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<bool>("unitAfterValue");
        QTest::addColumn<bool>("detailed");
        QTest::addColumn<int>("layer");
        QTest::addColumn<int>("month");
        QTest::addColumn<QString>("line");
        const QString after = QStringLiteral(" jobs");
        const QString before = QStringLiteral("$");
        QTest::newRow("unit after") << after << true << false << 0 << 0
                                    << QStringLiteral("Jobs · Mar 2005 · 3k jobs · 75.0 % of 4k jobs");
        QTest::newRow("unit before") << before << false << false << 0 << 0
                                     << QStringLiteral("Jobs · Mar 2005 · $3k · 75.0 % of $4k");
        QTest::newRow("detailed, after")
            << after << true << true << 1 << 0
            << QStringLiteral("Farms · Mar 2005 · 1000 jobs · 25.0 % of 4000 jobs");
        QTest::newRow("detailed, before") << before << false << true << 0 << 1
                                          << QStringLiteral("Jobs · Apr 2005 · $5000 · 100.0 % of $5000");
        QTest::newRow("over no band")
            << after << true << false << -1 << 1 << QStringLiteral("Apr 2005 · total 5k jobs");
        QTest::newRow("outside the months") << after << true << false << -1 << -1 << QString();
    }
    void line() {
        QFETCH(QString, unit);
        QFETCH(bool, unitAfterValue);
        QFETCH(bool, detailed);
        QFETCH(int, layer);
        QFETCH(int, month);
        QFETCH(QString, line);
        const DataSet data = jobsAndFarms(unit, unitAfterValue);
        GraphSettings settings;
        settings.sort = 0;
        const GraphLayout layout = layOut(data, settings);
        QCOMPARE(layout.order, QVector<int>({0, 1}));
        const ValueFormatter formatter(data.magnitudeSuffixes, data.unitText, data.unitAfterValue, detailed);
        LayerHit hit;
        hit.layer = layer;
        hit.month = month;
        QCOMPARE(Readout::line(Readout::texts(layout, data.series, formatter, hit)), line);
    }
};

QTEST_GUILESS_MAIN(ReadoutTest)
#include "tst_readout.moc"
