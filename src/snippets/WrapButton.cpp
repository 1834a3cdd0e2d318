#include "WrapButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace kestrin {

WrapButton::WrapButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent) {}

void WrapButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    // The label area the style would use, with a small margin so wrapped lines clear the bevel.
    QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(1, 0, -1, 0);
    if (isDown() || isChecked())
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    painter.drawItemText(area, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, palette(), isEnabled(), text(),
                         QPalette::ButtonText);
}

} // namespace kestrin
