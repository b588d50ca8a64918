#include "formfit.h"

#include <QCheckBox>
#include <QStyle>

namespace doorsel {

void UseFormTextSize(QWidget& form)
{
    QFont text = form.font();
    text.setPointSizeF(8.25);
    form.setFont(text);
}

void FitCheckBoxesToIndicator(QWidget& form)
{
    for (QCheckBox* box : form.findChildren<QCheckBox*>()) {
        const int square = box->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, box);
        if (box->height() < square)
            box->resize(box->width(), square);
    }
}

} // namespace doorsel
