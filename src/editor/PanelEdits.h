#pragma once
// Applies what is chosen on the side panel to the editor component's document, each as one undo
// step, then gives the component the focus and shows its caret. The panel only says what was
// chosen; the edits live here, beside the component they change.
#include "snippets/SidePanel.h"

#include <QObject>

namespace kestrin {

class CodeEdit;

class PanelEdits : public QObject {
    Q_OBJECT
public:
    PanelEdits(SidePanel *panel, CodeEdit *rc, QObject *parent = nullptr);

    // The HTML snippets wrap the selection in their opening and closing text; the others replace
    // it. The program's own texts take the document's line ends; the selection goes back byte
    // for byte.
    void insertSnippet(SnippetGroup group, int row);
    void insertSample(const QByteArray &text);
    void insertCharacterReference(int index);
    void applyUtility(SidePanel::Utility utility);

Q_SIGNALS:
    // After an edit's focus and ShowCaret; the change itself has already marked the document
    // modified (it left the engine's save point).
    void insertionFinished();

private:
    // The finishing steps of every edit: focus to the component, ShowCaret, insertionFinished().
    void finish();
    CodeEdit *m_rc;
};

} // namespace kestrin
