#pragma once

#include "data/ConfigCheck.h"

#include <QDialog>

class QLabel;
class QPushButton;
class ConfigFindingModel;
class QTableView;

// The findings of the configuration check; a double-click goes to the monster or box.
class ConfigCheckDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ConfigCheckDialog(QWidget *parent = nullptr);

    void showFindings(const QList<ConfigCheck::Finding> &findings);

    QTableView *view() const { return findingsView; }

Q_SIGNALS:
    void recheckRequested();
    // The ids of a double-clicked finding, -1 where none is involved.
    void findingActivated(int monsterId, int boxId);

private:
    QLabel *summaryLabel = nullptr;
    QPushButton *recheckButton = nullptr;
    QTableView *findingsView = nullptr;
    ConfigFindingModel *findingModel = nullptr;
};
