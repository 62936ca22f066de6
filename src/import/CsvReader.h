#pragma once

#include "data/DataFileReader.h"
#include "data/SeriesNormalizer.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// Reads monthly series from CSV (or, with a tab as delimiter, TSV) in one of two shapes, told apart
// by the header row:
// - long: the columns series,year,month,value (as --to-csv writes them) or series,date,value, in any
//   order, one point a row;
// - wide: a first column of dates, then one column a series, named by the header; an empty cell is
//   no value.
// Dates are YYYY-MM, YYYY-MM-DD (the day is not used), YYYY/MM or YYYY.M. Quoting follows RFC 4180.
// A cell that should be a date or a number and is not fails the whole file, with the line and column.
// The series then go through the same normalisation as data files. CSV has no unit; values are
// shown with the suffixes "", "k", "M", "G" and "T".
class CsvReader {
public:
    static DataFileResult readFile(const QString& fileName, char delimiter = ',');
    static DataFileResult readBytes(const QByteArray& bytes, char delimiter = ',');

    static const QVector<QString>& magnitudeSuffixes();

    // Values a file may hold, counted before months are filled in: a bound on memory.
    static constexpr qint64 maxValues = SeriesNormalizer::maxTotalPoints;
};
