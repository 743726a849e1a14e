#include "dialogs/DropChanceChartView.h"

#include "rates/DropRate.h"

#include <QChart>
#include <QCoreApplication>
#include <QDialog>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

namespace {

constexpr int curvePoints = 200;

} // namespace

DropChanceChartView::DropChanceChartView(QWidget *parent) : QChartView(parent)
{
    setObjectName(QStringLiteral("dropChanceChartView"));
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(220);
    chart()->legend()->setAlignment(Qt::AlignBottom);
}

QString DropChanceChartView::pointText(const Curve &curve, double kills)
{
    const double whole = std::max(0.0, std::round(kills));
    return QCoreApplication::translate("Lootwright", "%1\n%2 次击杀：至少掉落一次的概率 %3")
        .arg(curve.name, QString::number(qint64(whole)),
             DropRate::percentFieldText(curve.odds.chanceIn(whole) * 100.0) + u'%');
}

void DropChanceChartView::setCurves(const QList<Curve> &curves)
{
    shown = curves;
    QChart *chart = this->chart();
    chart->removeAllSeries();
    // A removed axis is handed back to the caller.
    for (QAbstractAxis *axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }

    auto *killsAxis = new QValueAxis(chart);
    killsAxis->setTitleText(QCoreApplication::translate("Lootwright", "击杀次数"));
    killsAxis->setLabelFormat(QStringLiteral("%.0f"));
    auto *chanceAxis = new QValueAxis(chart);
    chanceAxis->setRange(0.0, 100.0);
    chanceAxis->setLabelFormat(QStringLiteral("%.0f%%"));
    chart->addAxis(killsAxis, Qt::AlignBottom);
    chart->addAxis(chanceAxis, Qt::AlignLeft);

    QList<DropOdds::ItemOdds> odds;
    for (const Curve &curve : curves)
        odds.append(curve.odds);
    const double maxKills = DropOdds::chartKills(odds);
    killsAxis->setRange(0.0, maxKills);

    for (const Curve &curve : curves) {
        auto *line = new QLineSeries(chart);
        line->setName(curve.name);
        line->append(DropOdds::chanceCurve(curve.odds, maxKills, curvePoints));
        // Where the line reaches 50 %, 90 % and 99 %, in its colour.
        auto *marks = new QScatterSeries(chart);
        marks->setMarkerSize(8.0);
        for (const double chance : DropOdds::chanceSteps) {
            const double kills = curve.odds.killsFor(chance);
            if (kills >= 1.0 && kills <= maxKills)
                marks->append(kills, curve.odds.chanceIn(kills) * 100.0);
        }
        for (QXYSeries *series :
             {static_cast<QXYSeries *>(line), static_cast<QXYSeries *>(marks)}) {
            chart->addSeries(series);
            series->attachAxis(killsAxis);
            series->attachAxis(chanceAxis);
            connect(series, &QXYSeries::hovered, this,
                    [this, curve](const QPointF &point, bool on) {
                        if (on)
                            QToolTip::showText(QCursor::pos(), pointText(curve, point.x()), this);
                        else
                            QToolTip::hideText();
                    });
        }
        marks->setColor(line->color());
        marks->setBorderColor(line->color());
        for (QLegendMarker *marker : chart->legend()->markers(marks))
            marker->setVisible(false);
    }
}

QDialog *DropChanceChartView::showWindow(QWidget *parent, const QString &title,
                                         const QList<Curve> &curves)
{
    auto *dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("dropChanceDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(title);
    dialog->resize(760, 460);
    auto *layout = new QVBoxLayout(dialog);
    auto *view = new DropChanceChartView(dialog);
    view->setCurves(curves);
    layout->addWidget(view);
    dialog->show();
    return dialog;
}
