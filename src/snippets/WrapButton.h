#pragma once
// A push button whose caption wraps onto several lines, as the side panel's narrow buttons need.
// The caption stays the button's text, so it is also its accessible name.
#include <QPushButton>

namespace kestrin {

class WrapButton : public QPushButton {
public:
    explicit WrapButton(const QString &caption, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kestrin
