#pragma once
// The component's own find and replace dialog: modeless, one instance per component, in find or
// replace mode. It searches the component's document through CodeEdit's search members.
#include "Search.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrin {

class CodeEdit;

class FindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindReplaceDialog(CodeEdit *edit);

    // Shows the dialog in find or replace mode, raised and focused; seed (when not empty)
    // becomes the text to find.
    void present(bool replaceMode, const QString &seed);
    bool isReplaceMode() const { return m_replaceMode; }
    // What the last action reported ("Cannot find ...", "Replaced 3 occurrences."), for tests.
    QString statusText() const;

    QLineEdit *findEdit() const { return m_find; }
    QLineEdit *replaceEdit() const { return m_replace; }

public Q_SLOTS:
    void findNext();
    void replaceOne();
    void replaceAll();

private:
    void setReplaceMode(bool on);
    void updateButtons();
    void report(const QString &text);
    FindRequest request() const;

    CodeEdit *m_edit;
    bool m_replaceMode = false;
    QLineEdit *m_find;
    QLineEdit *m_replace;
    QLabel *m_replaceLabel;
    QCheckBox *m_matchCase;
    QCheckBox *m_wholeWord;
    QCheckBox *m_regex;
    QCheckBox *m_backwards;
    QCheckBox *m_wrap;
    QPushButton *m_findButton;
    QPushButton *m_replaceButton;
    QPushButton *m_replaceAllButton;
    QPushButton *m_closeButton;
    QLabel *m_status;
};

} // namespace kestrin
