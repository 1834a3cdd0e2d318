#pragma once
// Qt does not count tool windows when it decides that the last window has closed; the program
// must live on while a colour chooser or replace window is open, and end when nothing is shown.
#include <QObject>

namespace kestrin {

class QuitWhenNoWindows : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // True while any top-level window (main or tool) is shown.
    static bool anyWindowShown();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_checkQueued = false;
};

} // namespace kestrin
