#include "formfit.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace doorsel {
namespace {

// Makes `control` `extra` pixels wider: to the right for text that starts at the left, to the left
// for text aligned right, on both sides for centred text; within its parent.
void widen(QWidget& control, int extra, Qt::Alignment alignment)
{
    if (extra <= 0)
        return;
    QRect area = control.geometry();
    if (alignment & Qt::AlignRight)
        area.setLeft(area.left() - extra);
    else if (alignment & Qt::AlignHCenter)
        area.adjust(-extra / 2, 0, extra - extra / 2, 0);
    else
        area.setRight(area.right() + extra);
    if (const QWidget* parent = control.parentWidget()) {
        area.setLeft(std::max(area.left(), 0));
        area.setRight(std::min(area.right(), parent->width() - 1));
    }
    control.setGeometry(area);
}

// How much wider than its room a button's or check box's caption is.
int shortfall(const QAbstractButton& button, QStyle::SubElement contents)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    const QRect room = button.style()->subElementRect(contents, &option, &button);
    return button.fontMetrics().horizontalAdvance(button.text()) - room.width();
}

} // namespace

void UseFormTextSize(QWidget& form)
{
    QFont text = form.font();
    text.setPointSizeF(8.25);
    form.setFont(text);
}

void FitControlsToText(QWidget& form)
{
    for (QCheckBox* box : form.findChildren<QCheckBox*>()) {
        const int square = box->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, box);
        if (box->height() < square)
            box->resize(box->width(), square);
        widen(*box, shortfall(*box, QStyle::SE_CheckBoxContents), Qt::AlignLeft);
    }
    for (QPushButton* button : form.findChildren<QPushButton*>()) {
        // A caption that wraps has its own room; one line is widened like any other caption.
        if (!button->text().contains(QLatin1Char('\n')) && button->metaObject() == &QPushButton::staticMetaObject)
            widen(*button, shortfall(*button, QStyle::SE_PushButtonContents), Qt::AlignHCenter);
    }
    for (QLabel* label : form.findChildren<QLabel*>()) {
        if (label->wordWrap() || label->text().isEmpty() || label->textFormat() == Qt::RichText)
            continue;
        const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->margin()
            + std::max(label->indent(), 0);
        widen(*label, needed - label->contentsRect().width(), label->alignment());
    }
}

} // namespace doorsel
