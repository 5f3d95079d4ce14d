#include "app/GlassPropertiesPanel.h"

#include "app/Dialogs.h"
#include "app/StringGrid.h"
#include "batch/BatchTables.h"
#include "batch/Failure.h"
#include "export/PictureFile.h"
#include "export/TablePanelCapture.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kPropertyColumns = 4;
constexpr int kPropertyRows = 10;
// Between table and chart in the saved picture.
constexpr int kPictureGap = 8;
// The temperature axis runs between whole hundreds of degrees around the curve and points, with
// a tick every hundred or, over a wide range, every two hundred degrees.
constexpr double kTemperatureStep = 100;
constexpr double kTemperatureMargin = 25;
// A chart without any point still shows the range of common glasses.
constexpr double kEmptyLowestTemperature = 400;
constexpr double kEmptyHighestTemperature = 1600;

const QColor kCurveColour(31, 95, 168);
const QColor kPointColour(217, 72, 15);

QList<QPointF> pointsOf(const std::vector<properties::ChartPoint>& points) {
    QList<QPointF> result;
    result.reserve(static_cast<qsizetype>(points.size()));
    for (const properties::ChartPoint& point : points)
        result << QPointF(point.temperature, point.logViscosity);
    return result;
}

QList<QPointF> pointsOf(const std::vector<properties::LabelledPoint>& points) {
    QList<QPointF> result;
    for (const properties::LabelledPoint& point : points)
        result << QPointF(point.temperature, point.logViscosity);
    return result;
}

// The label of a point on the curve: on a light ground, so that grid lines do not cross its text.
class MarkLabel : public QGraphicsSimpleTextItem {
public:
    explicit MarkLabel(QGraphicsItem* parent) : QGraphicsSimpleTextItem(parent) {
        setZValue(100); // above grid and series
    }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override {
        painter->fillRect(boundingRect(), QColor(255, 255, 255, 220));
        QGraphicsSimpleTextItem::paint(painter, option, widget);
    }
};

} // namespace

GlassPropertiesPanel::GlassPropertiesPanel(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), propertiesTable(kPropertyColumns, kPropertyRows + 1), dialogs_(dialogs) {
    setObjectName(QStringLiteral("GlassPropertiesPanel"));
    for (int c = 0; c < kPropertyColumns; ++c)
        propertiesTable.setCell(c, 0, QString::fromUtf8(properties::kPropertyHeaders[c]));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    propertiesGrid = new StringGrid(&propertiesTable, TextGridModel::Layout::HeaderRow, this);
    propertiesGrid->setObjectName(QStringLiteral("GlassProperties"));
    propertiesGrid->setStatusTip(
        QStringLiteral("Свойства стекла по моделям; примечание говорит о пределах модели (подсказка "
                       "показывает его целиком), Ctrl+C копирует выделенные строки"));
    propertiesGrid->setEditing(false);
    propertiesGrid->setRowSelect(true);
    propertiesGrid->textModel()->setCellToolTips(true);
    // The label and model columns as wide as their longest texts, the note column takes the rest.
    const QFontMetrics metrics = propertiesGrid->fontMetrics();
    int labelWidth = 0, modelWidth = 0;
    for (const properties::PropertyRow& row : properties::propertyRows({}, {}, {})) {
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(row.label));
        modelWidth = std::max(modelWidth, metrics.horizontalAdvance(row.model));
    }
    propertiesGrid->setColumnWidthPixels(0, labelWidth + 12);
    propertiesGrid->setColumnWidthPixels(1, metrics.horizontalAdvance(QStringLiteral("Значение")) + 14);
    propertiesGrid->setColumnWidthPixels(2, modelWidth + 12);
    propertiesGrid->horizontalHeader()->setStretchLastSection(true);
    propertiesGrid->setMinimumWidth(labelWidth + modelWidth + 180);
    layout->addWidget(propertiesGrid, 3);

    auto* chartColumn = new QVBoxLayout;
    buildChart();
    chartColumn->addWidget(viscosityChartView, 1);
    savePictureButton = new QPushButton(QStringLiteral("Сохранить свойства как..."), this);
    savePictureButton->setObjectName(QStringLiteral("GlassPropertiesPicture"));
    savePictureButton->setStatusTip(
        QStringLiteral("Сохранить таблицу свойств и кривую вязкости как картинку (JPEG или BMP)"));
    connect(savePictureButton, &QPushButton::clicked, this, [this] {
        batch::runGuarded([this] { savePicture(); },
                          [this](const QString& message) { dialogs_.showFailure(window(), message); });
    });
    chartColumn->addWidget(savePictureButton, 0, Qt::AlignRight);
    layout->addLayout(chartColumn, 2);
}

void GlassPropertiesPanel::buildChart() {
    // The names of the series come with the chart data, also of a glass without values.
    const properties::ViscosityChart names = properties::viscosityChart({}, {});
    const QFont base = font();

    viscosityChart = new QChart;
    viscosityChart->setBackgroundRoundness(0);
    viscosityChart->setMargins(QMargins(2, 2, 2, 2));
    viscosityChart->legend()->setAlignment(Qt::AlignBottom);
    viscosityChart->legend()->setFont(base);

    curveSeries = new QLineSeries(viscosityChart);
    curveSeries->setName(names.curveName);
    curveSeries->setPen(QPen(kCurveColour, 2));
    curveMarkSeries = new QScatterSeries(viscosityChart);
    curveMarkSeries->setName(names.curveName);
    curveMarkSeries->setColor(kCurveColour);
    curveMarkSeries->setBorderColor(kCurveColour);
    curveMarkSeries->setMarkerSize(8);
    pointSeries = new QScatterSeries(viscosityChart);
    pointSeries->setName(names.pointsName);
    pointSeries->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    // Hollow, so that a Lakatos point at the same place still shows inside.
    pointSeries->setColor(Qt::transparent);
    pointSeries->setPen(QPen(kPointColour, 2));
    pointSeries->setMarkerSize(11);

    temperatureAxis = new QValueAxis(viscosityChart);
    temperatureAxis->setTitleText(QString::fromUtf8(properties::kTemperatureAxisTitle));
    temperatureAxis->setTickType(QValueAxis::TicksDynamic);
    temperatureAxis->setTickAnchor(0);
    temperatureAxis->setTickInterval(2 * kTemperatureStep);
    temperatureAxis->setLabelFormat(QStringLiteral("%.0f"));
    temperatureAxis->setRange(kEmptyLowestTemperature, kEmptyHighestTemperature);
    viscosityAxis = new QValueAxis(viscosityChart);
    viscosityAxis->setTitleText(QString::fromUtf8(properties::kViscosityAxisTitle));
    viscosityAxis->setRange(properties::kChartLowestViscosity, properties::kChartHighestViscosity);
    viscosityAxis->setTickType(QValueAxis::TicksDynamic);
    viscosityAxis->setTickAnchor(0);
    viscosityAxis->setTickInterval(2);
    viscosityAxis->setLabelFormat(QStringLiteral("%.0f"));
    for (QValueAxis* axis : {temperatureAxis, viscosityAxis}) {
        axis->setLabelsFont(base);
        axis->setTitleFont(base);
    }
    viscosityChart->addAxis(temperatureAxis, Qt::AlignBottom);
    viscosityChart->addAxis(viscosityAxis, Qt::AlignLeft);
    for (QXYSeries* series : std::initializer_list<QXYSeries*>{curveSeries, curveMarkSeries, pointSeries}) {
        viscosityChart->addSeries(series);
        series->attachAxis(temperatureAxis);
        series->attachAxis(viscosityAxis);
    }
    // The curve's marks belong to the curve: one entry in the legend for both.
    for (QLegendMarker* marker : viscosityChart->legend()->markers(curveMarkSeries))
        marker->setVisible(false);

    viscosityChartView = new QChartView(viscosityChart, this);
    viscosityChartView->setObjectName(QStringLiteral("GlassViscosityChart"));
    viscosityChartView->setStatusTip(
        QStringLiteral("Кривая вязкости: lg η (Па·с) от температуры по модели Лакатоса с пятью опорными "
                       "точками, квадраты — точки модели Флюгеля"));
    viscosityChartView->setRenderHint(QPainter::Antialiasing);
    viscosityChartView->setMinimumSize(300, 200);
    connect(viscosityChart, &QChart::plotAreaChanged, this, &GlassPropertiesPanel::placeMarkLabels);
}

void GlassPropertiesPanel::showProperties(const properties::GlassProperties& glass) {
    for (int r = 0; r < kPropertyRows; ++r) {
        const properties::PropertyRow row = r < static_cast<int>(glass.rows.size())
                                                ? glass.rows[static_cast<size_t>(r)]
                                                : properties::PropertyRow{};
        propertiesTable.setCell(0, r + 1, row.label);
        propertiesTable.setCell(1, r + 1, row.value);
        propertiesTable.setCell(2, r + 1, row.model);
        propertiesTable.setCell(3, r + 1, row.note);
    }

    const properties::ViscosityChart& chart = glass.chart;
    setTemperatureRange(chart);
    curveSeries->replace(pointsOf(chart.curve));
    curveMarkSeries->replace(pointsOf(chart.curveMarks));
    pointSeries->replace(pointsOf(chart.points));
    while (curveMarkLabels.size() > static_cast<qsizetype>(chart.curveMarks.size()))
        delete curveMarkLabels.takeLast();
    while (curveMarkLabels.size() < static_cast<qsizetype>(chart.curveMarks.size())) {
        auto* label = new MarkLabel(viscosityChart);
        label->setFont(font());
        label->setBrush(QColor(40, 40, 40));
        curveMarkLabels << label;
    }
    for (size_t i = 0; i < chart.curveMarks.size(); ++i) {
        const properties::LabelledPoint& mark = chart.curveMarks[i];
        curveMarkLabels[static_cast<qsizetype>(i)]->setText(
            mark.label + QStringLiteral(", ") +
            batch::fixedText(static_cast<batch::Extended>(mark.temperature), 15, 0) + QStringLiteral(" °C"));
    }
    placeMarkLabels();
}

void GlassPropertiesPanel::clear() {
    batch::clearSubstanceRows(propertiesTable);
    for (QXYSeries* series : std::initializer_list<QXYSeries*>{curveSeries, curveMarkSeries, pointSeries})
        series->clear();
    qDeleteAll(curveMarkLabels);
    curveMarkLabels.clear();
    temperatureAxis->setRange(kEmptyLowestTemperature, kEmptyHighestTemperature);
}

void GlassPropertiesPanel::setTemperatureRange(const properties::ViscosityChart& chart) {
    double lowest = INFINITY, highest = -INFINITY;
    const auto take = [&](double temperature) {
        lowest = std::min(lowest, temperature);
        highest = std::max(highest, temperature);
    };
    for (const properties::ChartPoint& point : chart.curve)
        take(point.temperature);
    for (const properties::LabelledPoint& point : chart.points)
        take(point.temperature);
    if (!(lowest <= highest)) {
        temperatureAxis->setRange(kEmptyLowestTemperature, kEmptyHighestTemperature);
        return;
    }
    // A point at the very end of the axis would be cut in half by the plot's edge.
    lowest = std::floor((lowest - kTemperatureMargin) / kTemperatureStep) * kTemperatureStep;
    highest = std::ceil((highest + kTemperatureMargin) / kTemperatureStep) * kTemperatureStep;
    temperatureAxis->setTickInterval(highest - lowest > 8 * kTemperatureStep ? 2 * kTemperatureStep
                                                                             : kTemperatureStep);
    temperatureAxis->setRange(lowest, highest);
}

// Each label stands just above its point, to its right (inside the plot): the curve falls from
// there to the right and rises to the left, so that corner is free. Labels go from the top point
// down, each below the one before where the points lie close. A label that would leave the plot
// on the right goes below its point on the left, the other free corner.
void GlassPropertiesPanel::placeMarkLabels() {
    const QRectF area = viscosityChart->plotArea();
    // Clear of the point's marker and of a hollow Fluegel square around it.
    const double clearance = pointSeries->markerSize() / 2 + 4;
    double free = area.top() + 1; // the highest place the next label on the right may take
    const qsizetype count = std::min<qsizetype>(curveMarkLabels.size(), curveMarkSeries->count());
    // The marks come in rising viscosity: the last is the top one.
    for (qsizetype i = count - 1; i >= 0; --i) {
        QGraphicsSimpleTextItem* label = curveMarkLabels[i];
        const QPointF at = viscosityChart->mapToPosition(curveMarkSeries->at(i), curveMarkSeries);
        const QRectF box = label->boundingRect();
        if (at.x() + clearance + box.width() <= area.right()) {
            const double top = std::max(free, at.y() - box.height());
            label->setPos(at.x() + clearance, top);
            free = top + box.height();
        } else {
            label->setPos(at.x() - clearance - box.width(), at.y() + 1);
        }
    }
}

QImage GlassPropertiesPanel::picture() const {
    const QImage table = exporting::TablePanelCapture(propertiesGrid);
    const QImage chart = exporting::TablePanelCapture(viscosityChartView);
    QImage result(table.width() + kPictureGap + chart.width(), std::max(table.height(), chart.height()),
                  QImage::Format_RGB888);
    result.fill(Qt::white);
    QPainter painter(&result);
    painter.drawImage(0, 0, table);
    painter.drawImage(table.width() + kPictureGap, 0, chart);
    painter.end();
    return result;
}

void GlassPropertiesPanel::savePicture() {
    // Taken before the dialog opens, so that the dialog never stands in the picture.
    const QImage shown = picture();
    const std::optional<Dialogs::PictureName> chosen = dialogs_.savePictureName(
        window(), QString::fromUtf8(exporting::kPictureFilter), pictureType_, lastPictureName_);
    if (!chosen)
        return;
    pictureType_ = std::clamp(chosen->fileType, 1, exporting::kPictureTypes);
    lastPictureName_ = chosen->path;
    exporting::writePictureOfType(shown, chosen->path, pictureType_);
}
