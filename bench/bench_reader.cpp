#include "BenchData.h"
#include "data/DataFileReader.h"
#include "import/CsvReader.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>

// Reading speed of the data-file reader and of the CSV reader on generated files (see BenchData.h).
namespace {

// The generator's own presets, plus one file of well over 100 MB.
const BenchPreset presets[] = {
    {"small", 20, 120},    {"medium", 200, 240},   {"large", 2000, 600},
    {"huge", 10000, 1200}, {"giant", 20000, 1200},
};

const QByteArray& fileBytes(const BenchPreset& preset, const char* format) {
    static std::map<std::pair<const char*, const char*>, QByteArray> cache;
    QByteArray& bytes = cache[{preset.name, format}];
    if (bytes.isEmpty()) {
        QFile file(benchDataFile(preset, format));
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
    }
    return bytes;
}

void measureReading(benchmark::State& state, const char* format, DataFileResult (*read)(const QByteArray&)) {
    const BenchPreset& preset = presets[state.range(0)];
    state.SetLabel(preset.name);
    const QByteArray& bytes = fileBytes(preset, format);
    if (bytes.isEmpty()) {
        state.SkipWithError("could not generate the data file");
        return;
    }
    qint64 points = 0;
    for (auto _ : state) {
        const DataFileResult result = read(bytes);
        points = 0;
        for (const DataSeries& s : result.data.series)
            points += s.points.size();
        benchmark::DoNotOptimize(points);
    }
    state.SetBytesProcessed(qint64(state.iterations()) * bytes.size());
    state.counters["points"] = double(points);
    state.counters["MB"] = double(bytes.size()) / 1e6;
}

void readBytes(benchmark::State& state) {
    measureReading(state, "txt", [](const QByteArray& bytes) { return DataFileReader::readBytes(bytes); });
}

// The same series written as wide CSV: a date column, then one column a series.
void readCsvBytes(benchmark::State& state) {
    measureReading(state, "csv", [](const QByteArray& bytes) { return CsvReader::readBytes(bytes); });
}

// The preset's series as a long CSV, one row a point, as exports of databases write them:
// series,date,value with dates YYYY-MM-DD. Made from the data file, once.
const QByteArray& longCsvBytes(const BenchPreset& preset) {
    static std::map<const char*, QByteArray> cache;
    QByteArray& bytes = cache[preset.name];
    if (!bytes.isEmpty())
        return bytes;
    const DataSet* data = benchDataSet(preset);
    if (!data)
        return bytes;
    bytes = "series,date,value\n";
    char line[64];
    for (const DataSeries& s : data->series) {
        const QByteArray name = s.name.toUtf8();
        for (const DataPoint& p : s.points) {
            const int length =
                std::snprintf(line, sizeof line, ",%04d-%02d-01,%.1f\n", int(p.year), int(p.month), p.value);
            bytes += name;
            bytes.append(line, length);
        }
    }
    return bytes;
}

void readLongCsvBytes(benchmark::State& state) {
    const BenchPreset& preset = presets[state.range(0)];
    state.SetLabel(preset.name);
    const QByteArray& bytes = longCsvBytes(preset);
    if (bytes.isEmpty()) {
        state.SkipWithError("could not generate the data file");
        return;
    }
    const qint64 rows = bytes.count('\n') - 1;
    for (auto _ : state) {
        const DataFileResult result = CsvReader::readBytes(bytes);
        if (!result.ok()) {
            state.SkipWithError(qPrintable(result.error));
            return;
        }
        benchmark::DoNotOptimize(result.data.series.size());
    }
    state.SetBytesProcessed(qint64(state.iterations()) * bytes.size());
    state.SetItemsProcessed(qint64(state.iterations()) * rows);
    state.counters["rows"] = double(rows);
    state.counters["MB"] = double(bytes.size()) / 1e6;
}

void readFile(benchmark::State& state) {
    const BenchPreset& preset = presets[state.range(0)];
    state.SetLabel(preset.name);
    const QString file = benchDataFile(preset);
    const qint64 size = QFileInfo(file).size();
    if (file.isEmpty() || size == 0) {
        state.SkipWithError("could not generate the data file");
        return;
    }
    for (auto _ : state) {
        const DataFileResult result = DataFileReader::readFile(file);
        benchmark::DoNotOptimize(result.data.series.size());
    }
    state.SetBytesProcessed(qint64(state.iterations()) * size);
}

// 200 MB of one delimiter (or a pair) after a header: the reader must stay linear and bounded.
void repeatedDelimiter(benchmark::State& state) {
    static const char* const units[] = {"(", "()", "\"", "{", "(1,1,1)"};
    const QByteArray unit(units[state.range(0)]);
    state.SetLabel(unit.constData());
    const QByteArray bytes = "[\"\"|]{{\"S\"{" + unit.repeated(200'000'000 / unit.size());
    for (auto _ : state) {
        const DataFileResult result = DataFileReader::readBytes(bytes);
        benchmark::DoNotOptimize(result.data.series.size());
    }
    state.SetBytesProcessed(qint64(state.iterations()) * bytes.size());
}

} // namespace

BENCHMARK(readBytes)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(readCsvBytes)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(readLongCsvBytes)->DenseRange(2, 4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(readFile)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(repeatedDelimiter)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
