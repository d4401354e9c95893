#include "report/draw/halving.h"

#include <cstdlib>

namespace vornak {

void spreadByHalving(QList<int> &values, int first, int last, int count, int unit)
{
    if (count <= 0 || first > last)
        return;
    const int half = qMax((last - first + 1) / 2, 1);
    if (count == 1) {
        values[first + half - 1] += unit;
        return;
    }
    spreadByHalving(values, first, first + half - 1, count / 2, unit);
    spreadByHalving(values, first + half, last, count - count / 2, unit);
}

void spreadEvenly(QList<int> &values, int first, int last, int amount)
{
    const int n = last - first + 1;
    if (n < 1 || amount == 0)
        return;
    const int each = amount / n;  // truncates toward zero, as div does
    if (each != 0)
        for (int i = first; i <= last; ++i)
            values[i] += each;
    const int rest = amount % n;
    spreadByHalving(values, first, last, std::abs(rest), rest < 0 ? -1 : 1);
}

}  // namespace vornak
