#include "gui/captionfit.h"

#include "mainwindow/wrapbutton.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>

namespace doorsel::test {

std::vector<std::string> ClippedCaptions(const QWidget& root)
{
    std::vector<std::string> clipped;
    const auto check = [&](const QWidget* w, QSize needed, QSize room) {
        if (needed.width() > room.width() || needed.height() > room.height())
            clipped.push_back(w->objectName().toStdString() + " needs " + std::to_string(needed.width()) + "x"
                + std::to_string(needed.height()) + ", has " + std::to_string(room.width()) + "x"
                + std::to_string(room.height()));
    };
    for (const QWidget* w : root.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&root))
            continue;
        const QFontMetrics metrics(w->font());
        if (const auto* button = qobject_cast<const QPushButton*>(w)) {
            QStyleOptionButton option;
            option.initFrom(button);
            const QRect area = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const int flags = qobject_cast<const WrapButton*>(w) ? Qt::AlignCenter | Qt::TextWordWrap : Qt::AlignCenter;
            check(w, metrics.boundingRect(area, flags, button->text()).size(), area.size());
        } else if (const auto* box = qobject_cast<const QCheckBox*>(w)) {
            QStyleOptionButton option;
            option.initFrom(box);
            const QRect area = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
            check(
                w, QSize(metrics.horizontalAdvance(box->text()), metrics.height()), QSize(area.width(), box->height()));
        } else if (const auto* label = qobject_cast<const QLabel*>(w)) {
            if (label->text().isEmpty() || label->textFormat() == Qt::RichText)
                continue;
            if (label->wordWrap())
                check(w,
                    metrics.boundingRect(QRect(0, 0, label->width(), 10000), Qt::TextWordWrap, label->text()).size(),
                    label->size());
            else
                check(w, QSize(metrics.horizontalAdvance(label->text()), metrics.height()), label->size());
        }
    }
    return clipped;
}

} // namespace doorsel::test
