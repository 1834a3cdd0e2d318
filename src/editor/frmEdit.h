#pragma once
// The editor window: menus, toolbar, side panel, the component and the status bar.
#include "Layout.h"
#include "common/AppTitle.h"
#include "common/CommonDialog.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <optional>

class QAction;
class QLabel;
class QToolBar;
class QStatusBar;

namespace kestrin {

class CodeEdit;
class PhpCheck;
class SidePanel;
struct Tags;
class EditorStatusBar;

class frmEdit : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char *Caption = "Marvolis KESTRIN Vozod 4 START";

    // What the start-up routine hands the window: the document named on the command line (empty
    // for none) and the step that registers the document types, run by the load in its place.
    struct Startup {
        QString document;
        std::function<void()> registerTypes;
    };

    explicit frmEdit(Startup startup = {}, QWidget *parent = nullptr);
    ~frmEdit() override;

    // The document's path as status-bar panel 1 shows it ("Untitled" without a file).
    QString documentPath() const;
    bool isUntitled() const;

    // Whether the text differs from what was last loaded or saved: the document's own state,
    // which follows every change, Undo and Redo back to the save point included.
    bool DocumentModified() const;

    // File menu.
    void mnuNew_Click();
    void mnuOpen_Click();
    bool mnuSave_Click();   // true when the document was written
    bool mnuSaveAs_Click(); // true when the document was written
    void mnuSaveAsTxt_Click();
    void mnuExit_Click();
    // The window came to the front: a file changed on disk is reloaded when nothing is unsaved.
    void Form_Activate();
    // The program ends at once (a signal): the journal of unsaved changes is written out and
    // left for the next start; nothing is asked.
    void endWithoutQuestion(int exitCode);

    // Edit menu and About.
    void mnuUndo_Click();
    void mnuRedo_Click();
    void mnuCut_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuDelete_Click();
    void mnuSelectAll_Click();
    void mnuFind_Click();
    void mnuFindNext_Click();
    void mnuReplace_Click();
    void mnuGotoline_Click();
    void mnuAbout_Click();

    // Toolbar (1-based button index, separators included).
    void Toolbar1_ButtonClick(int index);
    // Folds or unfolds the side panel.
    void Command8_Click();
    // Fits the controls to the window.
    void ArrangeControls();

    // Component events.
    void RC_SelectionChanged();
    bool RC_KeyDown(int keyCode, int shift);
    bool RC_KeyEvent();

    // The tool windows (one shared instance each).
    void Command6_Click();
    void Command7_Click();
    // Puts colour text from the colour chooser into the document (its INSERT button).
    void insertColourText(const QString &text);

    CodeEdit *RC = nullptr;
    SidePanel *SSTab1 = nullptr;
    QToolBar *Toolbar1 = nullptr;
    QLabel *PC = nullptr;
    EditorStatusBar *StatusBar1 = nullptr;
    CommonDialog Co;

    QAction *mnuNew = nullptr, *mnuOpen = nullptr, *mnuSave = nullptr, *mnuSaveAs = nullptr,
            *mnuSaveAsTxt = nullptr, *mnuExit = nullptr;
    QAction *mnuUndo = nullptr, *mnuRedo = nullptr, *mnuCut = nullptr, *mnuCopy = nullptr,
            *mnuPaste = nullptr, *mnuDelete = nullptr, *mnuSelectAll = nullptr, *mnuFind = nullptr,
            *mnuFindNext = nullptr, *mnuReplace = nullptr, *mnuGotoline = nullptr, *mnuAbout = nullptr;
    QList<QAction *> toolbarActions; // the 20 positions, separators included

    // Panel widths and RC's left edge, in twips, as the layout last set them.
    int panelWidthTwips() const { return m_panelWidth; }
    int rcLeftTwips() const { return m_rcLeft; }

protected:
    void closeEvent(QCloseEvent *event) override; // Form_Unload
    void changeEvent(QEvent *event) override;     // Form_Activate
    void resizeEvent(QResizeEvent *event) override; // Form_Resize
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void configureComponent();
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createCentralArea();
    void placeSwatch();
    // The save question; false when the command must stop (Cancel, or Yes and the save failed).
    bool askToSave();
    void open(const QString &path);
    // Offers an orphaned journal of path (without one, the newest of any document); true when
    // its text was recovered into the window.
    bool offerRecovery(const QString &path);
    bool saveTo(const QString &path);
    bool settleUnencodable(const QString &path);
    void reportFailure(const QString &what, const QString &path, const QString &reason);
    // PHP's syntax check of what was just saved to path, when it is PHP.
    void checkSaved(const QString &path);
    void insertTags(const Tags &tags);

    int m_panelWidth = UnfoldedPanelWidth;
    int m_rcLeft = DesignEditorLeft;
    bool m_arranging = false;
    bool m_firstShow = true;
    Startup m_startup;
    PhpCheck *m_phpCheck = nullptr;
};

// The Goto line answer as a line number: blanks allowed, halves to the even number; nothing for
// an empty answer, a word, or a number outside the 32-bit range.
std::optional<qint32> parseLineNumber(const QString &answer);
// The About box's three lines, and a fourth when PHP's syntax check cannot run.
QString aboutText();

} // namespace kestrin
