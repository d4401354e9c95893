#include "report/model/font.h"

#include <cmath>

namespace vornak {

namespace {

// a * b / c rounded half away from zero.
int mulDiv(int a, int b, int c)
{
    return int(std::lround(double(a) * b / c));
}

}  // namespace

int TFont::Size() const
{
    return -mulDiv(Height, 72, fr1in);
}

void TFont::SetSize(int points)
{
    Height = -mulDiv(points, fr1in, 72);
}

}  // namespace vornak
