#pragma once

#include "rates/DropOdds.h"

#include <QChartView>
#include <QList>
#include <QString>

class QDialog;

// The chance of having an item at least once against kills, one line per curve, with marks where
// each line reaches 50 %, 90 % and 99 %; hovering a line shows the exact chance at that kill.
class DropChanceChartView : public QChartView
{
    Q_OBJECT

public:
    struct Curve
    {
        QString name;
        DropOdds::ItemOdds odds;
    };

    explicit DropChanceChartView(QWidget *parent = nullptr);

    void setCurves(const QList<Curve> &curves);
    const QList<Curve> &curves() const { return shown; }
    // The tooltip text for a curve at a number of kills.
    static QString pointText(const Curve &curve, double kills);

    // A window of its own showing these curves, deleted when closed.
    static QDialog *showWindow(QWidget *parent, const QString &title, const QList<Curve> &curves);

private:
    QList<Curve> shown;
};
