#pragma once

#include "support/TestFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QVector>

// The files a run of random user actions loads: good ones, hostile ones and random good
// ones, written into a folder that lives as long as the test so that every run finds the
// same names. Their junk comes from the run's generator, so a seed writes the same bytes.
class MonkeyFiles {
public:
    // A file to load and what loading it must give.
    struct File {
        enum class Outcome { Loads, Fails, Either };
        QString path;
        Outcome outcome;
        int series; // for Loads: the number of series after the load; -1 when not known
    };

    static constexpr int exampleLayers = 14;

    bool isValid() const { return dir.isValid(); }
    QString path() const { return dir.path(); }
    QString filePath(const QString& name) const { return dir.filePath(name); }
    const QVector<File>& good() const { return goodFiles; }
    const QVector<File>& hostile() const { return hostileFiles; }

    // A file's name as the log shows it: the same in every run, wherever the temporary files are.
    QString shortPath(const QString& path) const {
        return path.startsWith(dir.path()) ? QDir(dir.path()).relativeFilePath(path)
                                           : QFileInfo(path).fileName();
    }

    QString write(const QString& name, const QByteArray& contents) const {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            qFatal("cannot write the test file %s", qPrintable(path));
        return path;
    }

    // Writes the fixed files afresh; the example comes first, as the one every run ends with.
    void prepare(QRandomGenerator& rng) {
        using Outcome = File::Outcome;
        goodFiles = {File{exampleDataFile(), Outcome::Loads, exampleLayers}};
        hostileFiles.clear();
        goodFiles << File{write(QStringLiteral("two.data"),
                                "[ \"EUR\", false | \"\" \" k\" ]\n{ { \"A\" { (2008,1,10) (2008,4,40) } }"
                                " { \"B\" { (2008,2,5) (2008,3,7) } } }\n"),
                          Outcome::Loads, 2};
        goodFiles << File{write(QStringLiteral("year-end.data"),
                                "[ \"\", true | ]\n{ { \"Late\" { (2007,11,0) (2008,2,30) } }"
                                " { \"Early\" { (2006,1,3) (2006,2,1) (2009,12,4) } } }\n"),
                          Outcome::Loads, 2};
        goodFiles << File{write(QStringLiteral("zeros.data"),
                                "[ \"\", true | ]\n{ { \"Z\" { (2000,1,0) "
                                "(2000,6,0) } } { \"Y\" { (2000,3,0) (2000,4,0) } } }\n"),
                          Outcome::Loads, 2};
        goodFiles << File{write(QStringLiteral("empty.data"), QByteArray()), Outcome::Loads, 0};
        goodFiles << File{write(QStringLiteral("wide.csv"), "date,\"A, a\",B\n2000-01,1,\n2000-03,2,5\n"
                                                            "2000-04,,7\n"),
                          Outcome::Loads, 2};

        QFile exampleFile(exampleDataFile());
        QVERIFY(exampleFile.open(QIODevice::ReadOnly));
        const QByteArray exampleBytes = exampleFile.readAll();
        QVERIFY(exampleBytes.size() > 10000);

        QByteArray junk(8192, '\0');
        for (char& byte : junk)
            byte = char(rng.bounded(256));
        hostileFiles << File{write(QStringLiteral("junk.data"), junk), Outcome::Either, -1};
        QByteArray quotedJunk = junk;
        for (int i = 0; i < quotedJunk.size(); i += 17)
            quotedJunk[i] = "[\"|]{}(),"[i % 9];
        hostileFiles << File{write(QStringLiteral("quoted-junk.data"), quotedJunk), Outcome::Either, -1};
        hostileFiles << File{write(QStringLiteral("junk.csv"), quotedJunk), Outcome::Either, -1};
        hostileFiles << File{write(QStringLiteral("not-a-number.tsv"), "date\tA\n2000-01\tone\n"),
                             Outcome::Fails, -1};
        for (const int length : {1, 40, 700, 5000, 20000})
            hostileFiles << File{
                write(QStringLiteral("truncated-%1.data").arg(length), exampleBytes.left(length)),
                Outcome::Either, -1};
        const QByteArray header = "[ \"\", true | ]\n{ ";
        hostileFiles << File{
            write(QStringLiteral("huge-gap.data"), header + "{ \"G\" { (1,1,1) (2000000,12,5) } } }"),
            Outcome::Fails, -1};
        hostileFiles << File{write(QStringLiteral("year-extremes.data"),
                                   header + "{ \"E\" { (-2147483648,1,1) (2147483647,12,5) } } }"),
                             Outcome::Fails, -1};
        hostileFiles << File{write(QStringLiteral("apart.data"),
                                   header + "{ \"P\" { (1000,1,1) (1000,2,5) } } { \"Q\" { (900000,1,1) "
                                            "(900000,2,5) } } }"),
                             Outcome::Fails, -1};
        hostileFiles << File{
            write(QStringLiteral("overflowing.data"), header + "{ \"V\" { (2000,1,1e999) (2000,2,5) } } }"),
            Outcome::Fails, -1};
        hostileFiles << File{write(QStringLiteral("huge-values.data"),
                                   header + "{ \"V\" { (2000,1,1e300) (2000,2,1e300) } } { \"W\" { "
                                            "(2000,1,1e300) (2000,3,1e-300) } } }"),
                             Outcome::Either, -1};
        hostileFiles << File{dir.path(), Outcome::Fails, -1};
        hostileFiles << File{dir.filePath(QStringLiteral("missing.data")), Outcome::Fails, -1};
    }

    // A valid data file of one to six short series, some months skipped and some values zero.
    static QByteArray randomGood(QRandomGenerator& rng, int* seriesCount) {
        *seriesCount = 1 + int(rng.bounded(6));
        QByteArray text =
            "[ \"u\", " + QByteArray(rng.bounded(2) ? "true" : "false") + " | \"\" \"k\" \"M\" ]\n{\n";
        for (int s = 0; s < *seriesCount; ++s) {
            text += "{ \"S" + QByteArray::number(s) + "\" { ";
            const int start = 2000 * 12 + int(rng.bounded(36));
            const int length = 2 + int(rng.bounded(30));
            for (int m = 0; m < length; m += 1 + int(rng.bounded(3))) {
                const int month = start + m;
                text += pointText(month / 12, month % 12 + 1, rng.bounded(2) ? 0.0 : rng.bounded(5000.0));
            }
            // The last month always appears, so every series has two points in different months.
            const int last = start + length;
            text += pointText(last / 12, last % 12 + 1, rng.bounded(100.0));
            text += "} }\n";
        }
        return text + "}\n";
    }

private:
    static QByteArray pointText(int year, int month, double value) {
        return "(" + QByteArray::number(year) + "," + QByteArray::number(month) + "," +
               QByteArray::number(value) + ") ";
    }

    QTemporaryDir dir;
    QVector<File> goodFiles;
    QVector<File> hostileFiles;
};
