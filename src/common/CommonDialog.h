#pragma once
// The window's common dialog object: one object whose properties persist between uses, the way
// the file commands and the toolbar rely on (starting file name, filter position, cancel-is-failure,
// options). It shows the dialogs through the Prompter.
#include <QString>
#include <QtGlobal>

class QWidget;

namespace kestrin {

class CommonDialog {
public:
    explicit CommonDialog(QWidget *owner = nullptr) : m_owner(owner) {}

    bool CancelError = false; // once a command switches it on it stays on
    QString Filter;           // "Name|*.a;*.b|All files|*.*"
    int FilterIndex = 1;      // 1-based, updated from the user's last choice
    QString FileName;         // starting name of the next dialog, the chosen path after one
    int Flags = 0;            // 3 after the font dialog has run: read-only box ticked
    quint32 Color = 0;        // 0x00BBGGRR chosen in the colour dialog
    QString FontName;         // family chosen in the font dialog

    // Each returns false when the user cancelled (or the dialog failed); the properties then stay.
    bool ShowOpen();
    bool ShowSave();
    bool ShowFont();
    bool ShowColor();

private:
    bool showFile(bool save);
    QWidget *m_owner;
};

} // namespace kestrin
