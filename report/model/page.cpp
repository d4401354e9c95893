#include "report/model/page.h"

namespace vornak {

TfrxDataPage::TfrxDataPage(TfrxComponent *owner)
    : TfrxPage(owner)
{
    width_ = 1000;
    height_ = 1000;
}

}  // namespace vornak
