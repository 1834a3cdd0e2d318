#pragma once
// The editor window's side panel (SSTab1): ten pages in a column of tabs along its left edge,
// the snippet lists, the character-reference buttons and the text-utility buttons. It only says
// what was chosen; the editor side applies it to the document. Geometry is in twips, converted
// with round(twips / 15).
#include "Catalogue.h"
#include "SidePanelLayout.h"

#include <QWidget>
#include <array>

class QListWidget;
class QPushButton;
class QTabBar;
class QStackedWidget;

namespace kestrin {

class SidePanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int UnfoldedWidth = SidePanelLayout::UnfoldedWidth; // twips
    static constexpr int FoldedWidth = SidePanelLayout::FoldedWidth;

    // The text utilities: what each button of the UTILS page and the last LANGUAGE button does.
    enum class Utility {
        SpecialCharacters, // every special character of the document to its reference
        Link,              // the selection as a link to itself
        RemoveTags,        // the document without its tags
        HtmlComment,       // the selection in an HTML comment
        PhpComment,        // the selection in a PHP block comment
    };
    Q_ENUM(Utility)

    explicit SidePanel(QWidget *parent = nullptr);
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

    // The choices (a click on a row, or the selected row moving under the keyboard; a button).
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
    // A snippet's row in its group.
    void snippetChosen(kestrin::SnippetGroup group, int row);
    // The AJAX sample's text, as read (CR LF line ends).
    void sampleChosen(const QByteArray &text);
    // One of the character-reference buttons, by its index.
    void characterChosen(int index);
    void utilityChosen(kestrin::SidePanel::Utility utility);
    void Command6Clicked(); // open the colour chooser
    void Command7Clicked(); // open the multi-file replace window
    void Command8Clicked(); // fold or unfold the panel

protected:
    void resizeEvent(QResizeEvent *event) override;

    void connectNotify(const QMetaMethod &signal) override;
    void disconnectNotify(const QMetaMethod &signal) override;

private:
    // The snippet at the list's selected row, if one is selected.
    void chooseFrom(QListWidget *list, SnippetGroup group);
    void layoutPages();
    static int signalButton(const QMetaMethod &signal);
    void updateSignalButtons();
    struct Private;
    Private *d;
};

} // namespace kestrin
