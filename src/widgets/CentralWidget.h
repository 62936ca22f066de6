#pragma once

#include "data/DataSeries.h"
#include "import/ImportOptions.h"

#include <QString>
#include <QVector>
#include <QWidget>

class FillWindow;
class GraphProbe;
class QShortcut;
class StackedGraphWidget;
struct DataFileResult;
struct SourceTable;

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
    // As loadDataFile, for a table already read (as for the import preview), so that it is not read again.
    bool loadTable(const SourceTable& source, QString* message, const ImportOptions& options);

    QVector<DataSeries> series;
    QString unitText;
    bool unitAfterValue = true;
    QVector<QString> magnitudeSuffixes;

    StackedGraphWidget* mainGraph = nullptr;
    StackedGraphWidget* compareGraph = nullptr;

    // Each graph's probe and width follower, main graph first.
    GraphProbe* probe(int graph) const { return probes[graph]; }
    FillWindow* fill(int graph) const { return fills[graph]; }
    int highlightedSeries() const { return highlighted; }

public slots:
    void setGLViewport(bool openGL);
    void setAutoGLViewport(bool autoGL);
    void setDetailedInformation(bool detailInfo);
    void toggleCompareGraph(bool compareGraph);
    // Names every layer at the largest size its band holds, or as by default.
    void setFittedLabels(bool fitted);
    // The time axis and thickness scale of both views, and of their exports.
    void setTimeAxis(bool timeAxis);
    // The readout of the layer under the pointer, and highlighting by a click, in both graphs.
    void setReadout(bool on);
    // Both graphs leave these series out.
    void setHiddenSeries(const QVector<int>& seriesIndexes);
    // Both graphs draw this series at full strength and fade the others (-1: none).
    void setHighlightedSeries(int seriesIndex);
    // Highlights the series and brings its thickest month to the middle of each graph shown, zoomed so
    // that its band fills at least a fifth of the view's height there.
    void focusSeries(int seriesIndex);
    // Both graphs' widths follow their views, so that each fills its view.
    void setFillWindow(bool on);

signals:
    void readoutChanged(const QString& text);
    void highlightChanged(int seriesIndex);
    // A hand on a width slider turned Fill Window off.
    void fillWindowChanged(bool on);

private:
    bool load(DataFileResult result, QString* message);

    GraphProbe* probes[2] = {nullptr, nullptr};
    FillWindow* fills[2] = {nullptr, nullptr};
    QShortcut* clearHighlight = nullptr;
    int highlighted = -1;
};
