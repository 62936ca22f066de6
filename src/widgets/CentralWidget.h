#pragma once

#include "data/DataSeries.h"
#include "import/ImportOptions.h"

#include <QString>
#include <QVector>
#include <QWidget>

class StackedGraphWidget;

// Holds the data set and the two graphs over it: the main graph and the compare graph,
// which is hidden until compare mode is switched on.
class CentralWidget : public QWidget {
    Q_OBJECT
public:
    explicit CentralWidget(QWidget* parent);

    // Replaces the data set by the file's contents and refreshes both graphs. On failure
    // the data set and the graphs stay as they were and the message says why.
    // A table file (CSV, TSV, JSON) is read as the options say.
    bool loadDataFile(const QString& fileName, QString* message = nullptr,
                      const ImportOptions& options = ImportOptions());

    QVector<DataSeries> series;
    QString unitText;
    bool unitAfterValue = true;
    QVector<QString> magnitudeSuffixes;

    StackedGraphWidget* mainGraph = nullptr;
    StackedGraphWidget* compareGraph = nullptr;

public slots:
    void setGLViewport(bool openGL);
    void setAutoGLViewport(bool autoGL);
    void setDetailedInformation(bool detailInfo);
    void toggleCompareGraph(bool compareGraph);
    // Names every layer at the largest size its band holds, or as by default.
    void setFittedLabels(bool fitted);
    // The time axis and thickness scale of both views, and of their exports.
    void setTimeAxis(bool timeAxis);
};
