#include "widgets/StackedGraphWidget.h"

#include "export/ImageSize.h"
#include "export/PngExport.h"
#include "export/TimeAxisFooter.h"
#include "graph/ColorSchemePresets.h"
#include "graph/GraphSettings.h"
#include "graph/StackedGraph.h"
#include "graph/ValueFormatter.h"
#include "view/StackedGraphView.h"
#include "widgets/ColorPushButton.h"
#include "widgets/UserDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int sliderInterval = 50;

} // namespace

StackedGraphWidget::StackedGraphWidget(const QVector<DataSeries>* series, const QString* unitText,
                                       const bool* unitAfterValue, const QVector<QString>* magnitudeSuffixes,
                                       QWidget* parent)
    : QWidget(parent) {
    auto* menuBox = new QGroupBox(QStringLiteral("Menu"), this);

    auto* exportBox = new QGroupBox(QStringLiteral("Export"), menuBox);
    auto* exportButton = new QPushButton(QStringLiteral("Export Graph to Image"), exportBox);
    connect(exportButton, &QPushButton::clicked, this, &StackedGraphWidget::saveImage);
    imageSizeBox = new QComboBox(exportBox);
    // Placeholders until the first data refresh writes the sizes.
    for (int i = 0; i < ImageSize::choiceCount; ++i)
        imageSizeBox->addItem(QString::number(i));
    transparencyBox = new QCheckBox(exportBox);
    auto* exportLayout = new QFormLayout(exportBox);
    exportLayout->addRow(QStringLiteral("Imagesize:"), imageSizeBox);
    exportLayout->addRow(QStringLiteral("Transparency:"), transparencyBox);
    exportLayout->addRow(exportButton);

    auto* visualizationBox = new QGroupBox(QStringLiteral("Graph Visualization"), menuBox);
    baselineBox = new QComboBox(visualizationBox);
    baselineBox->addItems(GraphSettings::baselineNames());
    sortBox = new QComboBox(visualizationBox);
    sortBox->addItems(GraphSettings::sortNames());
    colorBox = new QComboBox(visualizationBox);
    colorBox->addItems(GraphSettings::coloringNames());
    colorButton1 = new ColorPushButton(visualizationBox);
    connect(colorButton1, &QPushButton::clicked, this, &StackedGraphWidget::setColor1);
    colorButton2 = new ColorPushButton(visualizationBox);
    connect(colorButton2, &QPushButton::clicked, this, &StackedGraphWidget::setColor2);
    colorSchemeBox = new QComboBox(visualizationBox);
    colorSchemeBox->addItem(QStringLiteral("custom"));
    for (const ColorSchemePreset& preset : colorSchemePresets())
        colorSchemeBox->addItem(QIcon(colorSchemePresetIcon(preset)), preset.name);
    auto* visualizationLayout = new QFormLayout(visualizationBox);
    visualizationLayout->addRow(QStringLiteral("Baseline:"), baselineBox);
    visualizationLayout->addRow(QStringLiteral("Sorting:"), sortBox);
    visualizationLayout->addRow(QStringLiteral("Coloring:"), colorBox);
    visualizationLayout->addRow(QStringLiteral("Max Color:"), colorButton1);
    visualizationLayout->addRow(QStringLiteral("Min Color:"), colorButton2);
    visualizationLayout->addRow(QStringLiteral("Colorscheme:"), colorSchemeBox);

    auto* menuLayout = new QVBoxLayout(menuBox);
    menuLayout->addWidget(visualizationBox);
    menuLayout->addWidget(exportBox);
    menuLayout->addStretch(1);

    xRangeSlider = new QSlider(Qt::Vertical, this);
    xRangeSlider->setRange(int(GraphSettings::unitsPerMonth) / 2, int(GraphSettings::unitsPerMonth) * 2);
    xRangeSlider->setSingleStep(100);
    xRangeSlider->setPageStep(1000);
    xRangeSlider->setInvertedAppearance(true);
    xRangeSlider->setInvertedControls(true);
    xRangeSliderTimer = new QTimer(this);
    connect(xRangeSliderTimer, &QTimer::timeout, this, &StackedGraphWidget::xRangeSliderAction);

    stackedGraph = new StackedGraph(series, unitText, unitAfterValue, magnitudeSuffixes, this);
    stackedGraph->rebuildEnabled = false;

    // Connections on one signal are made in the order their slots must run: the scene
    // rebuilds before the size texts are read from its new height.
    connect(baselineBox, &QComboBox::currentIndexChanged, stackedGraph, &StackedGraph::setBaselineAlgo);
    connect(baselineBox, &QComboBox::currentIndexChanged, this, &StackedGraphWidget::makeImageSizeBoxText);
    connect(sortBox, &QComboBox::currentIndexChanged, stackedGraph, &StackedGraph::setSortAlgo);
    connect(sortBox, &QComboBox::currentIndexChanged, this, &StackedGraphWidget::makeImageSizeBoxText);
    connect(colorBox, &QComboBox::currentIndexChanged, stackedGraph, &StackedGraph::setColorAlgo);
    connect(colorButton1, &ColorPushButton::colorChanged, stackedGraph, &StackedGraph::setMaxColor);
    connect(colorButton2, &ColorPushButton::colorChanged, stackedGraph, &StackedGraph::setMinColor);
    connect(stackedGraph, &StackedGraph::maxColorTextChanged, colorButton1, &ColorPushButton::setColorText);
    connect(stackedGraph, &StackedGraph::minColorTextChanged, colorButton2, &ColorPushButton::setColorText);
    connect(colorSchemeBox, &QComboBox::currentIndexChanged, this, &StackedGraphWidget::setColorScheme);
    connect(xRangeSlider, &QSlider::sliderPressed, this, &StackedGraphWidget::startXRangeSlider);
    connect(xRangeSlider, &QSlider::sliderReleased, this, &StackedGraphWidget::stopXRangeSlider);
    connect(xRangeSlider, &QSlider::valueChanged, this, &StackedGraphWidget::xRangeSliderActionTest);

    // While rebuilding is off these reach the scene's slots, which only store them.
    imageSizeBox->setCurrentIndex(ImageSize::defaultChoice);
    baselineBox->setCurrentIndex(GraphSettings::defaultBaseline);
    sortBox->setCurrentIndex(GraphSettings::defaultSort);
    colorBox->setCurrentIndex(GraphSettings::defaultColoring);
    colorButton1->setColor(Qt::gray);
    colorButton2->setColor(Qt::black);
    colorSchemeBox->setCurrentIndex(GraphSettings::defaultScheme);
    xRangeSlider->setValue(int(GraphSettings::unitsPerMonth));

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(menuBox);
    layout->addWidget(xRangeSlider);
    layout->addWidget(stackedGraph->view);

    stackedGraph->rebuildEnabled = true;
    updateStackedGraph();
}

StackedGraphWidget& StackedGraphWidget::operator=(const StackedGraphWidget& other) {
    if (this == &other)
        return *this;
    stackedGraph->rebuildEnabled = false;
    baselineBox->setCurrentIndex(other.baselineBox->currentIndex());
    sortBox->setCurrentIndex(other.sortBox->currentIndex());
    colorBox->setCurrentIndex(other.colorBox->currentIndex());
    xRangeSlider->setRange(other.xRangeSlider->minimum(), other.xRangeSlider->maximum());
    xRangeSlider->setValue(other.xRangeSlider->value());
    colorButton1->setColor(other.colorButton1->color());
    colorButton2->setColor(other.colorButton2->color());
    colorSchemeBox->setCurrentIndex(other.colorSchemeBox->currentIndex());
    stackedGraph->rebuildEnabled = true;
    stackedGraph->makeStackedGraph();
    stackedGraph->view->showWholeGraph();
    makeImageSizeBoxText();
    return *this;
}

void StackedGraphWidget::updateStackedGraph() {
    stackedGraph->rebuildEnabled = false;
    stackedGraph->computeXRange();
    // Spans are bounded by the reader, so twice the default width stays well inside int.
    const int value = int(GraphSettings::defaultWidth(stackedGraph->monthSpan()));
    xRangeSlider->setRange(value / 2, value * 2);
    xRangeSlider->setValue(value);
    stackedGraph->rebuildEnabled = true;
    stackedGraph->makeStackedGraph();
    stackedGraph->view->showWholeGraph();
    makeImageSizeBoxText();
}

const QVector<int>& StackedGraphWidget::hiddenSeries() const {
    return stackedGraph->hiddenSeries();
}

void StackedGraphWidget::setHiddenSeries(const QVector<int>& seriesIndexes) {
    const QVector<int> before = stackedGraph->hiddenSeries();
    stackedGraph->setHiddenSeries(seriesIndexes);
    if (stackedGraph->hiddenSeries() == before)
        return;
    // The graph's height, and so the image sizes, follow the series shown.
    makeImageSizeBoxText();
    emit hiddenSeriesChanged(stackedGraph->hiddenSeries());
}

QSize StackedGraphWidget::imageSize(int choice) const {
    return ImageSize::forChoice(choice, xRangeSlider->value(),
                                ImageSize::truncated(stackedGraph->graphHeight));
}

void StackedGraphWidget::makeImageSizeBoxText() {
    for (int i = 0; i < ImageSize::choiceCount && i < imageSizeBox->count(); ++i)
        imageSizeBox->setItemText(i, ImageSize::text(imageSize(i)));
}

void StackedGraphWidget::saveImage() {
    const QString fileName =
        UserDialogs::instance().getSaveFileName(this, tr("save Image"), tr("PNG (*.png);;All Files (*)"));
    if (fileName.isEmpty())
        return;
    QString error;
    // Large images take a while; show that the program is busy meanwhile.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QSize size = imageSize(imageSizeBox->currentIndex());
    SceneImage::Frame frame;
    frame.transparent = transparencyBox->isChecked();
    if (stackedGraph->view->timeAxis)
        frame.footer = TimeAxisFooter::of(stackedGraph->layout(), stackedGraph->valueFormatter(), size);
    const bool written = PngExport::write(*stackedGraph, size, frame, fileName, &error);
    QApplication::restoreOverrideCursor();
    if (!written)
        UserDialogs::instance().showWarning(this, tr("Export Graph to Image"), error);
}

void StackedGraphWidget::setColor1() {
    colorButton1->setColor(UserDialogs::instance().getColor(colorButton1->color(), this));
}

void StackedGraphWidget::setColor2() {
    colorButton2->setColor(UserDialogs::instance().getColor(colorButton2->color(), this));
}

void StackedGraphWidget::setColorScheme() {
    const int index = colorSchemeBox->currentIndex();
    const QVector<ColorSchemePreset>& presets = colorSchemePresets();
    if (index < 1 || index > presets.size())
        return;
    const bool wasEnabled = stackedGraph->rebuildEnabled;
    stackedGraph->rebuildEnabled = false;
    // A preset's own colour changes must not switch the box back to "custom".
    disconnectSchemeReset();
    colorButton1->setColor(presets[index - 1].maxColor);
    colorButton2->setColor(presets[index - 1].minColor);
    connectSchemeReset();
    stackedGraph->rebuildEnabled = wasEnabled;
    stackedGraph->makeStackedGraph();
}

void StackedGraphWidget::connectSchemeReset() {
    connect(colorButton1, &ColorPushButton::colorChanged, this, &StackedGraphWidget::resetColorSchemeBox);
    connect(colorButton2, &ColorPushButton::colorChanged, this, &StackedGraphWidget::resetColorSchemeBox);
}

void StackedGraphWidget::disconnectSchemeReset() {
    disconnect(colorButton1, &ColorPushButton::colorChanged, this, &StackedGraphWidget::resetColorSchemeBox);
    disconnect(colorButton2, &ColorPushButton::colorChanged, this, &StackedGraphWidget::resetColorSchemeBox);
}

void StackedGraphWidget::resetColorSchemeBox() {
    colorSchemeBox->setCurrentIndex(0);
}

void StackedGraphWidget::startXRangeSlider() {
    xRangeSliderTimer->start(sliderInterval);
}

void StackedGraphWidget::stopXRangeSlider() {
    xRangeSliderTimer->stop();
    xRangeSliderAction();
}

void StackedGraphWidget::xRangeSliderActionTest() {
    // While the handle is dragged the timer applies the value, at most every 50 ms.
    if (!xRangeSlider->isSliderDown())
        xRangeSliderAction();
}

void StackedGraphWidget::xRangeSliderAction() {
    stackedGraph->setXRange(xRangeSlider->value());
    if (stackedGraph->rebuildEnabled)
        stackedGraph->view->showWholeGraph();
    makeImageSizeBoxText();
}
