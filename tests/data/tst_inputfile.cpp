#include "data/DataFileReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char workedExample[] = "[ \"EUR\", false | \"\" \" k\" \" M\" ]\n"
                             "{ { \"Alpha\" { (2008,1,1500) (2008,2,2500.5) } }\n"
                             "  { \"Beta\" { (2008,1,40), (2007,11,20) } } }\n";

} // namespace

// Files as the system gives them: names in any script, files that are missing, gone, locked or unreadable.
class InputFileTest : public QObject {
    Q_OBJECT
private slots:
    void fileNamesAreNotNarrowed() {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("Z\u00fcrich \u6570\u636e \u20ac.data"));
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(workedExample);
        file.close();
        const DataFileResult result = DataFileReader::readFile(name);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.data.series.size(), 2);
    }

    void unreadableFilesAreErrors() {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("missing.data"));
        DataFileResult result = DataFileReader::readFile(missing);
        QVERIFY(!result.ok());
        QVERIFY2(result.error.contains(missing), qPrintable(result.error));
        QVERIFY2(result.error.contains(QStringLiteral("No such file")), qPrintable(result.error));

        result = DataFileReader::readFile(dir.path());
        QVERIFY(!result.ok());
        QVERIFY2(result.error.contains(QStringLiteral("directory")), qPrintable(result.error));

        result = DataFileReader::readFile(QString());
        QVERIFY(!result.ok());

        // Opens fine, but reading at offset 0 fails: nothing is mapped there.
        result = DataFileReader::readFile(QStringLiteral("/proc/self/mem"));
        QVERIFY(!result.ok());
        QVERIFY2(result.error.startsWith(QStringLiteral("Cannot read \"/proc/self/mem\"")),
                 qPrintable(result.error));
    }

    void fileThatVanishes() {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("gone.data"));
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(workedExample);
        file.close();
        QVERIFY(QFile::remove(name));
        const DataFileResult result = DataFileReader::readFile(name);
        QVERIFY(!result.ok());
        QVERIFY(result.data.series.isEmpty());
        QVERIFY2(result.error.contains(name), qPrintable(result.error));
    }

    void fileWithoutReadPermission() {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("locked.data"));
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(workedExample);
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::WriteOwner));
        QFile probe(name);
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("running with rights that read any file");
        const DataFileResult result = DataFileReader::readFile(name);
        QVERIFY(!result.ok());
        QVERIFY2(result.error.contains(QStringLiteral("Permission denied")), qPrintable(result.error));
    }
};

QTEST_GUILESS_MAIN(InputFileTest)
#include "tst_inputfile.moc"
