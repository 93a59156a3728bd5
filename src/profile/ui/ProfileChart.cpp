// SPDX-License-Identifier: GPL-3.0-or-later

#include "profile/ui/ProfileChart.h"

#include <QBuffer>
#include <QPdfWriter>
#include <qcustomplot.h>

namespace {

namespace q = selvo::questionnaire;

const QColor kClusterBar(70, 110, 160);
const QColor kApartBar(150, 150, 150);
// The marks' heights above a bar's top, so that two marks never overlap.
constexpr double kFirstMarkLift = 5;
constexpr double kMarkStep = 7;
constexpr double kAxisTop = 100 + kFirstMarkLift + 2 * kMarkStep;

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QCPBars* addBars(QCustomPlot& plot, const selvo::Profile& profile, bool inCluster,
                 const QString& name, const QColor& colour) {
    auto* bars = new QCPBars(plot.xAxis, plot.yAxis);
    bars->setName(name);
    bars->setWidth(0.65);
    bars->setPen(QPen(colour.darker(130)));
    bars->setBrush(colour);
    for (const selvo::ProfileBar& bar : profile.bars) {
        if (bar.inCluster == inCluster) {
            bars->addData(bar.position, selvo::BarHeight(bar.score));
        }
    }
    return bars;
}

// One mark above each disorder diagnosed under the threshold; the second threshold's mark
// sits above the first's.
void addDiagnosisMarks(QCustomPlot& plot, const selvo::Profile& profile, int algorithm,
                       const QCPScatterStyle& style) {
    QCPGraph* marks = plot.addGraph();
    marks->setName(QStringLiteral("Diagnosi %1")
                       .arg(text(q::kThresholds[static_cast<std::size_t>(algorithm)].caption)));
    marks->setLineStyle(QCPGraph::lsNone);
    marks->setScatterStyle(style);
    for (const selvo::ProfileBar& bar : profile.bars) {
        if (bar.diagnosed[static_cast<std::size_t>(algorithm)]) {
            marks->addData(bar.position,
                           selvo::BarHeight(bar.score) + kFirstMarkLift + algorithm * kMarkStep);
        }
    }
}

void labelAxes(QCustomPlot& plot, const selvo::Profile& profile) {
    auto disorders = QSharedPointer<QCPAxisTickerText>::create();
    for (const selvo::ProfileBar& bar : profile.bars) {
        disorders->addTick(bar.position, text(bar.shortName));
    }
    plot.xAxis->setTicker(disorders);
    plot.xAxis->setSubTicks(false);
    plot.xAxis->setTickLength(0, 4);
    plot.xAxis->setRange(0, profile.axisEnd);
    plot.xAxis->grid()->setVisible(false);
    plot.xAxis->setLabel(QStringLiteral("Disturbi di personalità (DE e PA fuori dai cluster)"));

    // The axis reads 0-100 %; the room above 100 is the marks'.
    auto percent = QSharedPointer<QCPAxisTickerText>::create();
    for (int tick = 0; tick <= 100; tick += 20) {
        percent->addTick(tick, QStringLiteral("%1 %").arg(tick));
    }
    plot.yAxis->setTicker(percent);
    plot.yAxis->setSubTicks(false);
    plot.yAxis->setRange(0, kAxisTop);
    plot.yAxis->setLabel(QStringLiteral("Punteggio dimensionale (%)"));
}

// The legend in a row of its own under the chart, where it covers no bar.
void placeLegend(QCustomPlot& plot) {
    plot.legend->setVisible(true);
    plot.legend->setWrap(2);
    plot.legend->setBorderPen(Qt::NoPen);
    plot.legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    plot.axisRect()->insetLayout()->take(plot.legend);
    plot.plotLayout()->addElement(plot.plotLayout()->rowCount(), 0, plot.legend);
    plot.plotLayout()->setRowStretchFactor(plot.plotLayout()->rowCount() - 1, 0.001);
}

} // namespace

QWidget* CreateProfileChart(const selvo::Profile& profile, QWidget* parent) {
    auto* plot = new QCustomPlot(parent);
    plot->setObjectName(QStringLiteral("ProfileChart"));
    plot->setAccessibleName(QStringLiteral("Grafico del profilo"));
    plot->setAccessibleDescription(
        QStringLiteral("Punteggio dimensionale di ogni disturbo, in percentuale; gli stessi "
                       "numeri sono nella tabella sotto il grafico."));
    plot->plotLayout()->insertRow(0);
    plot->plotLayout()->addElement(
        0, 0,
        new QCPTextElement(plot, QStringLiteral("Profilo dimensionale"),
                           QFont(QStringLiteral("DejaVu Sans"), 11, QFont::Bold)));
    addBars(*plot, profile, true, QStringLiteral("Cluster A, B, C"), kClusterBar);
    addBars(*plot, profile, false, QStringLiteral("DE e PA, fuori dai cluster"), kApartBar);
    addDiagnosisMarks(*plot, profile, q::X4,
                      QCPScatterStyle(QCPScatterStyle::ssTriangle, QColor(200, 120, 0),
                                      QColor(240, 170, 40), 11));
    addDiagnosisMarks(
        *plot, profile, q::X5,
        QCPScatterStyle(QCPScatterStyle::ssDiamond, QColor(160, 20, 20), QColor(210, 40, 40), 11));
    labelAxes(*plot, profile);
    placeLegend(*plot);
    return plot;
}

QByteArray ChartFileBytes(QWidget& widget, ChartFormat format) {
    auto* plot = qobject_cast<QCustomPlot*>(&widget);
    if (plot == nullptr) {
        return {};
    }
    QCustomPlot& chart = *plot;
    const int width = kChartImageSize.width();
    const int height = kChartImageSize.height();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == ChartFormat::Png) {
        if (!chart.toPixmap(width, height, 1.0).save(&buffer, "PNG")) {
            return {};
        }
        return bytes;
    }
    // A vector page of the picture's size, one point per pixel, with no name in its metadata.
    QPdfWriter pdf(&buffer);
    pdf.setCreator(QStringLiteral("BrivanSelvo"));
    pdf.setTitle(QStringLiteral("Profilo SELVO"));
    pdf.setResolution(72);
    pdf.setPageSize(QPageSize(QSizeF(width, height), QPageSize::Point));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QCPPainter painter;
    if (!painter.begin(&pdf)) {
        return {};
    }
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    painter.setWindow(0, 0, width, height);
    chart.toPainter(&painter, width, height);
    painter.end();
    return bytes;
}
