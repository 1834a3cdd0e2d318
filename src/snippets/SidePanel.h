#pragma once
// The editor window's side panel (SSTab1): ten pages in a column of tabs along its left edge,
// the snippet lists with their insertion handlers, the character-reference buttons and the
// text-utility buttons. Geometry is in twips, converted with round(twips / 15).
#include "editor/Layout.h"

#include <QWidget>
#include <array>

class QListWidget;
class QPushButton;
class QTabBar;
class QStackedWidget;

namespace kestrin {

class CodeEdit;

class SidePanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int UnfoldedWidth = UnfoldedPanelWidth; // twips
    static constexpr int FoldedWidth = FoldedPanelWidth;

    SidePanel(CodeEdit *rc, QWidget *parent = nullptr);
    ~SidePanel() override;

    // Fills the name lists (the window's load, first step). No row is selected afterwards.
    void BuildCatalogue();
    // The lists' height in twips (the layout sets it to the panel's height - 100).
    void setListHeights(int twips);
    int listHeight() const; // twips

    int currentPage() const;
    void setCurrentPage(int page);
    QString pageCaption(int page) const;

    // The folder the AJAX sample is read from; the program's own folder unless a test sets it.
    void setProgramFolder(const QString &folder);
    QString programFolder() const;

    // Insertion handlers (a click on a row, or the selected row moving under the keyboard).
    void L1_Click();
    void L2_Click();
    void L3_Click();
    void L4_Click();
    void L5_Click();
    void L8_Click();
    void L9_Click();
    void L10_Click();
    void C6_Click(int index);
    void Command1_Click();
    void Command2_Click();
    void Command4_Click();
    void Command5_Click();

    QListWidget *L1 = nullptr, *L2 = nullptr, *L3 = nullptr, *L4 = nullptr, *L5 = nullptr,
                *L8 = nullptr, *L9 = nullptr, *L10 = nullptr;
    std::array<QPushButton *, 41> C6{};
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command4 = nullptr, *Command5 = nullptr,
                *Command6 = nullptr, *Command7 = nullptr, *Command8 = nullptr;

Q_SIGNALS:
    // After an insertion's SetFocus and ShowCaret; the change itself has already marked the document.
    void insertionFinished();
    void Command6Clicked(); // open the colour chooser
    void Command7Clicked(); // open the multi-file replace window
    void Command8Clicked(); // fold or unfold the panel

protected:
    void resizeEvent(QResizeEvent *event) override;

    void connectNotify(const QMetaMethod &signal) override;
    void disconnectNotify(const QMetaMethod &signal) override;

private:
    // The finishing steps of every insertion: focus to RC, ShowCaret, insertionFinished().
    void finish();
    // The replacing handlers: the text at the list's selected row, in place of the selection.
    void replaceFrom(QListWidget *list, int group);
    void layoutPages();
    static int signalButton(const QMetaMethod &signal);
    void updateSignalButtons();
    struct Private;
    Private *d;
};

} // namespace kestrin
