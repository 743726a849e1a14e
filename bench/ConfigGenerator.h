#pragma once

#include <QString>

struct GeneratorOptions
{
    int monsterCount = 200000; // named monsters; about 80 % get a drop line
    int boxCount = 100000;     // boxes of 100 slots, 1 to 100 of them filled
    int itemCount = 60000;     // named items spread over the three item tables
    unsigned seed = 20261206;
};

// Writes the six configuration files into dir (created when missing). Deterministic per seed.
bool generateConfiguration(const QString &dir, const GeneratorOptions &options);
