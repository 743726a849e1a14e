#include "dialogs/KillSimulationDialog.h"

#include "data/NameResolver.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

namespace {

QTableWidget *makeTable(QWidget *parent, const QString &name, const QStringList &header)
{
    auto *table = new QTableWidget(0, int(header.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(header);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return table;
}

void fillTable(QTableWidget *table, const QList<QStringList> &rows)
{
    table->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < rows.at(row).size(); ++column)
            table->setItem(row, column, new QTableWidgetItem(rows.at(row).at(column)));
    }
}

} // namespace

KillSimulationDialog::KillSimulationDialog(const MonsterDropConfig &monster,
                                           const DropBoxContentData &boxes, double multiplier,
                                           quint64 seed, QWidget *parent)
    : QDialog(parent), sim(monster, boxes, multiplier)
{
    setObjectName(QStringLiteral("killSimulationDialog"));
    setWindowFlag(Qt::Window);
    const QString name = NameResolver::instance().monsterName(monster.monsterId);
    setWindowTitle(
        QCoreApplication::translate("Lootwright", "模拟击杀 - 怪物[%1%2]")
            .arg(QString::number(monster.monsterId), name.isEmpty() ? QString() : u':' + name));
    resize(960, 720);

    killsSpin = new QSpinBox(this);
    killsSpin->setObjectName(QStringLiteral("killsSpin"));
    killsSpin->setRange(1, 10000000);
    killsSpin->setValue(1000);
    killsSpin->setGroupSeparatorShown(true);
    playersSpin = new QSpinBox(this);
    playersSpin->setObjectName(QStringLiteral("playersSpin"));
    playersSpin->setRange(1, 1000000);
    playersSpin->setValue(1000);
    seedEdit = new QLineEdit(QString::number(seed), this);
    seedEdit->setObjectName(QStringLiteral("seedEdit"));
    seedEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{1,20}")), seedEdit));
    newSeedButton = new QPushButton(QCoreApplication::translate("Lootwright", "新种子"), this);
    newSeedButton->setObjectName(QStringLiteral("newSeedButton"));
    itemCombo = new QComboBox(this);
    itemCombo->setObjectName(QStringLiteral("itemCombo"));
    for (const KillSimulation::Item &item : sim.items()) {
        const QString itemName = NameResolver::instance().itemName(item.itemId);
        itemCombo->addItem(itemName.isEmpty()
                               ? QString::number(item.itemId)
                               : QStringLiteral("%1 %2").arg(item.itemId).arg(itemName),
                           item.itemId);
    }
    runButton = new QPushButton(QCoreApplication::translate("Lootwright", "运行模拟"), this);
    runButton->setObjectName(QStringLiteral("runButton"));
    runButton->setDefault(true);

    auto *top = new QHBoxLayout;
    const auto addField = [this, top](const QString &label, QWidget *field, int width) {
        top->addWidget(new QLabel(label, this));
        field->setMinimumWidth(width);
        top->addWidget(field);
    };
    addField(QCoreApplication::translate("Lootwright", "击杀次数"), killsSpin, 110);
    addField(QCoreApplication::translate("Lootwright", "随机种子"), seedEdit, 190);
    top->addWidget(newSeedButton);
    addField(QCoreApplication::translate("Lootwright", "首次掉落物品"), itemCombo, 180);
    addField(QCoreApplication::translate("Lootwright", "玩家数"), playersSpin, 90);
    top->addStretch(1);
    top->addWidget(runButton);

    rollView = makeTable(this, QStringLiteral("rollView"), KillSimulationTable::rollHeader());
    itemView = makeTable(this, QStringLiteral("itemView"), KillSimulationTable::itemHeader());
    firstDropLabel = new QLabel(this);
    firstDropLabel->setObjectName(QStringLiteral("firstDropLabel"));
    histogramView = new QChartView(this);
    histogramView->setObjectName(QStringLiteral("histogramView"));
    histogramView->setMinimumHeight(220);

    auto *tables = new QSplitter(Qt::Horizontal, this);
    tables->addWidget(rollView);
    tables->addWidget(itemView);
    auto *parts = new QSplitter(Qt::Vertical, this);
    parts->addWidget(tables);
    auto *histogramPane = new QWidget(this);
    auto *histogramLayout = new QVBoxLayout(histogramPane);
    histogramLayout->setContentsMargins(0, 0, 0, 0);
    histogramLayout->addWidget(firstDropLabel);
    histogramLayout->addWidget(histogramView);
    parts->addWidget(histogramPane);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(parts, 1);

    connect(runButton, &QPushButton::clicked, this, &KillSimulationDialog::runSimulation);
    connect(newSeedButton, &QPushButton::clicked, this, &KillSimulationDialog::onNewSeed);
    runSimulation();
}

bool KillSimulationDialog::runSimulation()
{
    bool ok = false;
    const quint64 seed = seedEdit->text().toULongLong(&ok);
    if (!ok) {
        firstDropLabel->setText(QCoreApplication::translate(
            "Lootwright", "种子无效：应为 0 到 18446744073709551615 的整数，未运行模拟"));
        return false;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const qint64 kills = killsSpin->value();
    const KillSimulation::Counts counts = sim.run(kills, seed);
    QList<QStringList> rows;
    for (qsizetype r = 0; r < sim.rolls().size(); ++r)
        rows.append(KillSimulationTable::rollCells(sim.rolls().at(r), kills, counts.drops.at(r)));
    fillTable(rollView, rows);
    rows.clear();
    for (qsizetype i = 0; i < sim.items().size(); ++i)
        rows.append(KillSimulationTable::itemCells(sim.items().at(i), NameResolver::instance(),
                                                   kills, counts.copies.at(i)));
    fillTable(itemView, rows);
    const int itemId = itemCombo->currentData().toInt();
    showFirstDrops(sim.firstDrops(itemId, playersSpin->value(), seed));
    QGuiApplication::restoreOverrideCursor();
    return true;
}

void KillSimulationDialog::onNewSeed()
{
    seedEdit->setText(QString::number(QRandomGenerator::global()->generate64()));
    runSimulation();
}

void KillSimulationDialog::showFirstDrops(const KillSimulation::FirstDrops &drops)
{
    auto *chart = new QChart;
    chart->legend()->hide();
    if (drops.itemId < 1) {
        firstDropLabel->setText(
            QCoreApplication::translate("Lootwright", "该怪物没有可掉落的物品"));
        replaceChart(chart);
        return;
    }
    firstDropLabel->setText(itemCombo->currentText() +
                            QCoreApplication::translate("Lootwright", " 首次掉落：") +
                            KillSimulationTable::firstDropSummary(drops));
    auto *players = new QBarSet(QCoreApplication::translate("Lootwright", "玩家数"), chart);
    const QList<QStringList> rows = KillSimulationTable::firstDropRows(drops);
    QStringList labels;
    qint64 most = 1;
    for (const KillSimulationTable::FirstDropBar &bar : KillSimulationTable::firstDropBars(drops)) {
        labels << bar.label;
        players->append(double(bar.players));
        most = std::max(most, bar.players);
    }
    auto *series = new QBarSeries(chart);
    series->append(players);
    chart->addSeries(series);
    auto *killsAxis = new QBarCategoryAxis(chart);
    killsAxis->append(labels);
    killsAxis->setTitleText(KillSimulationTable::firstDropHeader().at(0) +
                            QCoreApplication::translate("Lootwright", "（不超过）"));
    auto *countAxis = new QValueAxis(chart);
    countAxis->setRange(0.0, double(most));
    countAxis->setLabelFormat(QStringLiteral("%.0f"));
    countAxis->setTitleText(KillSimulationTable::firstDropHeader().at(1));
    chart->addAxis(killsAxis, Qt::AlignBottom);
    chart->addAxis(countAxis, Qt::AlignLeft);
    series->attachAxis(killsAxis);
    series->attachAxis(countAxis);
    connect(players, &QBarSet::hovered, this, [this, rows](bool on, int index) {
        if (on && index >= 0 && index < rows.size())
            QToolTip::showText(
                QCursor::pos(),
                QCoreApplication::translate("Lootwright", "%1 次击杀：%2 名玩家（%3）")
                    .arg(rows.at(index).at(0), rows.at(index).at(1), rows.at(index).at(2)),
                histogramView);
        else
            QToolTip::hideText();
    });
    replaceChart(chart);
}

void KillSimulationDialog::replaceChart(QChart *chart)
{
    // The view gives the old chart back instead of deleting it.
    QChart *old = histogramView->chart();
    histogramView->setChart(chart);
    delete old;
}
