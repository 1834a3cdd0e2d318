#pragma once
// The editor's status bar: five panels, each at least one inch wide. Panel 1 carries the document's
// path, panel 2 stays empty, panels 3 to 5 follow the keyboard and the calendar by themselves.
// Panel 3 shows Caps Lock as the key events report it, and on X also its changes as XKB reports them.
#include <QStatusBar>
#include <array>
#include <memory>

class QAbstractNativeEventFilter;

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
    // Reads the date from the clock again.
    void refresh();
    ~EditorStatusBar() override;

protected:
    bool event(QEvent *e) override;
    // Key events of the whole program: the lock state they carry.
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void scheduleMidnight();
    void showCapsLock(bool on);
    std::array<QLabel *, 5> m_panels{};
    std::unique_ptr<QAbstractNativeEventFilter> m_xkb; // X only
    QTimer *m_midnight = nullptr;
};

} // namespace kestrin
