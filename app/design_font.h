// The windows' design font, "MS Sans Serif" 10 pixels high; where that
// family is not installed a similar narrow sans-serif stands in, so the
// designed positions of labels and edits still fit.
#pragma once

#include <QFont>

namespace vesk {

QFont DesignFont();

}  // namespace vesk
