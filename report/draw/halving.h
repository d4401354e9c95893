#pragma once

#include <QList>

namespace vornak {

// The halving rule: distributes `count` units of `unit` (+1 or -1) over positions first..last
// of `values`. One unit goes to the last position of the first half; more units are split, half
// to the first half and the rest to the second, each by the same rule. One unit over ten
// positions changes position 4; three over four change positions 0, 2 and 3.
void spreadByHalving(QList<int> &values, int first, int last, int count, int unit);

// Adds `amount` to the positions first..last: every one gets amount div n, the remainder goes by
// the halving rule (n = last - first + 1; nothing happens when n < 1).
void spreadEvenly(QList<int> &values, int first, int last, int amount);

}  // namespace vornak
