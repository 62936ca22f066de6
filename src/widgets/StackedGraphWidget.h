#pragma once

#include "data/DataSeries.h"

#include <QString>
#include <QVector>
#include <QWidget>

class ColorPushButton;
class QCheckBox;
class QComboBox;
class QSlider;
class QTimer;
class StackedGraph;

// One complete graph: the scene in its view, the width slider beside it and the
// "Menu" panel that drives the scene.
class StackedGraphWidget : public QWidget {
    Q_OBJECT
public:
    StackedGraphWidget(const QVector<DataSeries>* series, const QString* unitText, const bool* unitAfterValue,
                       const QVector<QString>* magnitudeSuffixes, QWidget* parent);

    // Copies the graph settings of other (not the export settings) and rebuilds once.
    StackedGraphWidget& operator=(const StackedGraphWidget& other);

    StackedGraph* stackedGraph = nullptr;
    ColorPushButton* colorButton1 = nullptr;
    ColorPushButton* colorButton2 = nullptr;
    QCheckBox* transparencyBox = nullptr;
    QComboBox* imageSizeBox = nullptr;
    QComboBox* baselineBox = nullptr;
    QComboBox* sortBox = nullptr;
    QComboBox* colorBox = nullptr;
    QComboBox* colorSchemeBox = nullptr;
    QSlider* xRangeSlider = nullptr;
    QTimer* xRangeSliderTimer = nullptr;

    // The series this graph leaves out (by index, ascending).
    const QVector<int>& hiddenSeries() const;

public slots:
    void updateStackedGraph();
    // Rebuilds without these series when the set changes, and announces it.
    void setHiddenSeries(const QVector<int>& seriesIndexes);

signals:
    void hiddenSeriesChanged(const QVector<int>& seriesIndexes);

private slots:
    void makeImageSizeBoxText();
    void saveImage();
    void setColor1();
    void setColor2();
    void setColorScheme();
    void resetColorSchemeBox();
    void startXRangeSlider();
    void stopXRangeSlider();
    void xRangeSliderActionTest();
    void xRangeSliderAction();

private:
    // The image size of a choice of the size box, from the current width and graph height.
    QSize imageSize(int choice) const;
    void connectSchemeReset();
    void disconnectSchemeReset();
};
