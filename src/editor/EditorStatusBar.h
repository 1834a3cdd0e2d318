#pragma once
// The editor's status bar: five panels, each at least one inch wide. Panel 1 carries the document's
// path, panel 2 stays empty, panels 3 to 5 follow the keyboard and the calendar by themselves.
#include <QStatusBar>
#include <array>

class QLabel;
class QTimer;

namespace kestrin {

class EditorStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit EditorStatusBar(QWidget *parent = nullptr);

    QString panelText(int panel) const; // 1-based
    void setPanelText(int panel, const QString &text);

    // The Insert toggle as the editor reports it.
    void setInsertOn(bool on);
    // Reads Caps Lock from the keyboard and the date from the clock again.
    void refresh();

    // Caps Lock as the display server reports it; false where it cannot be read.
    static bool capsLockOn();

protected:
    bool event(QEvent *e) override;

private:
    void scheduleMidnight();
    std::array<QLabel *, 5> m_panels{};
    QTimer *m_capsTimer = nullptr;
    QTimer *m_midnight = nullptr;
};

} // namespace kestrin
