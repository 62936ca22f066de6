#include "table/JsonTable.h"

#include "data/FileText.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <vector>

namespace {

QString refusal(qint64 record, const QString& key, const QString& what) {
    return SourceTable::recordPlace(record, key) + QStringLiteral(": ") + what;
}

} // namespace

SourceTable JsonTable::read(const QByteArray& bytes) {
    SourceTable source;
    source.kind = SourceTable::Kind::Json;
    source.delimiter = 0;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        const QByteArray before = bytes.left(parseError.offset);
        source.error = QStringLiteral("Line %1: the file is not JSON (%2).")
                           .arg(before.count('\n') + 1)
                           .arg(parseError.errorString());
        return source;
    }
    QJsonArray records;
    if (document.isArray()) {
        records = document.array();
    } else {
        const QJsonObject object = document.object();
        if (object.size() == 1 && object.begin().value().isArray())
            records = object.begin().value().toArray();
        else {
            source.error = QStringLiteral("The file holds no records: it needs an array of objects, "
                                          "[{\"date\": \"2000-01\", \"series\": \"A\", \"value\": 5}, ...].");
            return source;
        }
    }

    // Keys as they first appear, object after object.
    QStringList keys;
    QHash<QString, int> columns;
    for (qsizetype r = 0; r < records.size(); ++r) {
        if (!records[r].isObject()) {
            source.error =
                QStringLiteral("Record %1: expected an object of named values, not %2.")
                    .arg(r + 1)
                    .arg(records[r].isArray() ? QStringLiteral("an array") : QStringLiteral("a value"));
            return source;
        }
        const QJsonObject object = records[r].toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (!columns.contains(it.key())) {
                columns.insert(it.key(), int(keys.size()));
                keys << it.key();
            }
        }
    }
    if (records.isEmpty() || keys.isEmpty()) {
        source.error = QStringLiteral("The file is empty: it needs records with a date and values.");
        return source;
    }

    for (const QString& key : keys) {
        const QByteArray name = key.toUtf8();
        source.table.appendCell(name.constData(), size_t(name.size()));
    }
    source.table.endRow(0);
    std::vector<QByteArray> cells(size_t(keys.size()));
    for (qsizetype r = 0; r < records.size(); ++r) {
        const QJsonObject object = records[r].toObject();
        for (QByteArray& cell : cells)
            cell.clear();
        for (auto it = object.begin(); it != object.end(); ++it) {
            const QJsonValue value = it.value();
            QByteArray& cell = cells[size_t(columns.value(it.key()))];
            if (value.isString())
                cell = value.toString().toUtf8();
            else if (value.isDouble())
                cell = QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
            else if (value.isBool())
                cell = value.toBool() ? "true" : "false";
            else if (value.isArray() || value.isObject()) {
                source.error =
                    refusal(r + 1, it.key(),
                            QStringLiteral("a nested %1; each record must be flat, with plain "
                                           "values only.")
                                .arg(value.isArray() ? QStringLiteral("array") : QStringLiteral("object")));
                source.table = TextTable();
                return source;
            }
        }
        for (const QByteArray& cell : cells) {
            if (!source.table.appendCell(cell.constData(), size_t(cell.size()))) {
                source.error = QStringLiteral("Record %1: the file holds more than can be read.").arg(r + 1);
                source.table = TextTable();
                return source;
            }
        }
        source.table.endRow(r + 1);
    }
    return source;
}
