#pragma once

#include "rates/KillSimulation.h"

#include <QDialog>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

// A seeded run of kills of one monster: per box and per item the expected and the simulated
// counts, and how many kills players need for their first copy of a chosen item. Works on a copy
// of the monster's rolls taken when it opens.
class KillSimulationDialog : public QDialog
{
    Q_OBJECT

public:
    KillSimulationDialog(const MonsterDropConfig &monster, const DropBoxContentData &boxes,
                         double multiplier, quint64 seed, QWidget *parent = nullptr);

    const KillSimulation &simulation() const { return sim; }
    // Runs with the numbers in the fields; false (and nothing run) when the seed is not a number.
    bool runSimulation();

    QSpinBox *killsField() const { return killsSpin; }
    QSpinBox *playersField() const { return playersSpin; }
    QLineEdit *seedField() const { return seedEdit; }
    QComboBox *itemField() const { return itemCombo; }
    QTableWidget *rollTable() const { return rollView; }
    QTableWidget *itemTable() const { return itemView; }
    QChartView *histogram() const { return histogramView; }

private:
    void onNewSeed();
    void showFirstDrops(const KillSimulation::FirstDrops &drops);
    void replaceChart(QChart *chart);

    KillSimulation sim;
    QSpinBox *killsSpin = nullptr;
    QSpinBox *playersSpin = nullptr;
    QLineEdit *seedEdit = nullptr;
    QComboBox *itemCombo = nullptr;
    QPushButton *runButton = nullptr;
    QPushButton *newSeedButton = nullptr;
    QLabel *firstDropLabel = nullptr;
    QTableWidget *rollView = nullptr;
    QTableWidget *itemView = nullptr;
    QChartView *histogramView = nullptr;
};
