#include "gui/captionfit.h"

#include "mainwindow/wrapbutton.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>

#include <algorithm>

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
            QSize needed = metrics.boundingRect(area, flags, button->text()).size();
            if (!(flags & Qt::TextWordWrap)) {
                // One line is cut off where its glyphs leave the room, not its line box: a short
                // button's "..." sits on the baseline of a line taller than the room.
                const int baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
                const QRect ink = metrics.tightBoundingRect(button->text()).translated(0, baseline);
                needed.setHeight(
                    area.height() + std::max(0, area.top() - ink.top()) + std::max(0, ink.bottom() - area.bottom()));
            }
            check(w, needed, area.size());
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
