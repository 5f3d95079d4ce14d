#pragma once

#include "batch/TextGrid.h"
#include "properties/GlassProperties.h"

#include <QImage>
#include <QList>
#include <QWidget>

class Dialogs;
class QChart;
class QChartView;
class QGraphicsSimpleTextItem;
class QLineSeries;
class QPushButton;
class QScatterSeries;
class QValueAxis;
class StringGrid;

// The section "Свойства стекла" of the composition window: the properties of a glass, one row per
// property and model, beside its viscosity curve. Table and curve are saved together as a picture;
// Ctrl+C copies the table's selected rows.
class GlassPropertiesPanel : public QWidget {
    Q_OBJECT
public:
    GlassPropertiesPanel(Dialogs& dialogs, QWidget* parent = nullptr);

    // Fills the table and draws the curve; clear() empties both.
    void showProperties(const properties::GlassProperties& glass);
    void clear();

    // The table and the chart side by side, as they stand on the screen.
    QImage picture() const;
    // Asks for a file name and type (JPEG or BMP) and writes the picture.
    void savePicture();

    // Property, value, model, note; one row per property and model.
    batch::TextGrid propertiesTable;

    // The controls; each carries the objectName given where it is made.
    StringGrid* propertiesGrid = nullptr;
    QChartView* viscosityChartView = nullptr;
    QPushButton* savePictureButton = nullptr;

    // The chart's parts: the Lakatos curve, its reference points with their labels (in the order
    // of the points), Fluegel's points, and the axes.
    QChart* viscosityChart = nullptr;
    QLineSeries* curveSeries = nullptr;
    QScatterSeries* curveMarkSeries = nullptr;
    QList<QGraphicsSimpleTextItem*> curveMarkLabels;
    QScatterSeries* pointSeries = nullptr;
    QValueAxis* temperatureAxis = nullptr;
    QValueAxis* viscosityAxis = nullptr;

private:
    void buildChart();
    void setTemperatureRange(const properties::ViscosityChart& chart);
    void placeMarkLabels();

    Dialogs& dialogs_;
    int pictureType_ = 1;
    QString lastPictureName_;
};
