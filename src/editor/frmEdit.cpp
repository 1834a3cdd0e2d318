#include "frmEdit.h"

#include "EditorStatusBar.h"
#include "document/JournalFiles.h"
#include "Layout.h"
#include "PanelEdits.h"
#include "colour/ColourText.h"
#include "colour/frmColor.h"
#include "common/BgrColor.h"
#include "common/Prompter.h"
#include "common/Swatch.h"
#include "common/ShiftState.h"
#include "common/Twips.h"
#include "component/CodeEdit.h"
#include "replace/frmReplace.h"
#include "snippets/SidePanel.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

namespace kestrin {

namespace {

constexpr int ToolbarHeight = 420; // twips
constexpr int StatusBarHeight = 375;
constexpr int DesignClientWidth = 10290;
constexpr int DesignClientHeight = 8010;
constexpr int PanelTop = 420;
constexpr int DesignEditorWidth = 6975;
constexpr int DesignEditorHeight = 6195;
constexpr int SwatchLeft = 5880, SwatchWidth = 375, SwatchHeight = 315;

// The toolbar's 20 positions: picture (empty for a separator) and what the button does, in the
// words of the menu commands where there is one.
struct ToolbarButton {
    const char *icon;
    const char *name;
};
constexpr ToolbarButton ToolbarButtons[20] = {
    {"new", QT_TRANSLATE_NOOP("kestrin::frmEdit", "New")},
    {"open", QT_TRANSLATE_NOOP("kestrin::frmEdit", "Open")},
    {"save", QT_TRANSLATE_NOOP("kestrin::frmEdit", "Save")},
    {nullptr, nullptr},
    {"undo", QT_TRANSLATE_NOOP("kestrin::frmEdit", "Undo")},
    {"redo", QT_TRANSLATE_NOOP("kestrin::frmEdit", "Redo")},
    {nullptr, nullptr},
    {"bold", QT_TRANSLATE_NOOP("kestrin::frmEdit", "Bold")},
    {"italic", QT_TRANSLATE_NOOP("kestrin::frmEdit", "Italic")},
    {"underline", QT_TRANSLATE_NOOP("kestrin::frmEdit", "Underline")},
    {nullptr, nullptr},
    {"fontface", QT_TRANSLATE_NOOP("kestrin::frmEdit", "Font face")},
    {"fontcolor", QT_TRANSLATE_NOOP("kestrin::frmEdit", "Font color")},
    {"colorcode", QT_TRANSLATE_NOOP("kestrin::frmEdit", "Color code")},
    {nullptr, nullptr},
    {"alignleft", QT_TRANSLATE_NOOP("kestrin::frmEdit", "Align left")},
    {"center", QT_TRANSLATE_NOOP("kestrin::frmEdit", "Center")},
    {"alignright", QT_TRANSLATE_NOOP("kestrin::frmEdit", "Align right")},
    {nullptr, nullptr},
    {"linebreak", QT_TRANSLATE_NOOP("kestrin::frmEdit", "Line break")},
};

} // namespace

frmEdit::frmEdit(Startup startup, QWidget *parent) : QMainWindow(parent), Co(this), m_startup(std::move(startup))
{
    setWindowTitle(QString::fromLatin1(Caption));
    setWindowIcon(QIcon(QStringLiteral(":/icons/kestrin4.svg")));
    setObjectName(QStringLiteral("frmEdit"));

    createCentralArea();
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();

    // The design's client area, below the menu bar.
    resize(twipsToPixels(DesignClientWidth),
           twipsToPixels(DesignClientHeight) + menuBar()->sizeHint().height());
    Form_Load();
}

frmEdit::~frmEdit()
{
    // Tool windows have no owner and outlive the editor; the colour chooser writes into this
    // window's component, so it must not keep a dangling target.
}

void frmEdit::createCentralArea()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(central);
    // The menu bar, toolbar and status bar take their real heights only when the window lays them
    // out, which can follow the last resize of the window; the area left between them is what the
    // panel and the editor fill.
    central->installEventFilter(this);

    RC = new CodeEdit(central);
    RC->setObjectName(QStringLiteral("RC"));
    RC->setAccessibleName(tr("Document"));
    SSTab1 = new SidePanel(central);
    new PanelEdits(SSTab1, RC, this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));

    // Design positions; the layout fits the sizes to the window from the first resize on.
    SSTab1->setGeometry(twipsRect(0, PanelTop - ToolbarHeight, SidePanel::UnfoldedWidth, 7095));
    RC->setGeometry(twipsRect(DesignEditorLeft, PanelTop - ToolbarHeight, DesignEditorWidth, DesignEditorHeight));

    connect(RC, &CodeEdit::SelectionChanged, this, &frmEdit::RC_SelectionChanged);
    connect(RC, &CodeEdit::KeyDown, this, [this](int key, int shift) { RC_KeyDown(key, shift); });
    connect(RC, &CodeEdit::KeyEvent, this, &frmEdit::RC_KeyEvent);
    // Panel 1 shows the document's path, whatever bound it (Open, Save As, the command line).
    connect(RC->document(), &Document::pathChanged, this, [this] { StatusBar1->setPanelText(1, documentPath()); });
    connect(RC->document(), &Document::journalFailed, this, [this](const QString &why) {
        Prompter::instance().message(this, Prompter::Icon::Warning, QString::fromLatin1(AppTitle),
                                     tr("Unsaved changes to %1 are not protected against a crash: the recovery "
                                        "journal cannot be written.\n%2").arg(documentPath(), why));
    });
    connect(SSTab1, &SidePanel::Command6Clicked, this, &frmEdit::Command6_Click);
    connect(SSTab1, &SidePanel::Command7Clicked, this, &frmEdit::Command7_Click);
    connect(SSTab1, &SidePanel::Command8Clicked, this, &frmEdit::Command8_Click);
}

void frmEdit::createActions()
{
    auto make = [this](const QString &caption, const QString &name, const QKeySequence &key, void (frmEdit::*handler)()) {
        auto *action = new QAction(caption, this);
        action->setObjectName(name);
        if (!key.isEmpty()) {
            action->setShortcut(key);
            // Window-wide, whichever control has the focus.
            action->setShortcutContext(Qt::WindowShortcut);
        }
        if (handler)
            connect(action, &QAction::triggered, this, handler);
        return action;
    };
    mnuNew = make(tr("New"), QStringLiteral("mnuNew"), QKeySequence(Qt::CTRL | Qt::Key_N), &frmEdit::mnuNew_Click);
    mnuOpen = make(tr("Open"), QStringLiteral("mnuOpen"), QKeySequence(Qt::CTRL | Qt::Key_O), &frmEdit::mnuOpen_Click);
    mnuSave = make(tr("Save"), QStringLiteral("mnuSave"), QKeySequence(Qt::CTRL | Qt::Key_S), nullptr);
    connect(mnuSave, &QAction::triggered, this, [this] { mnuSave_Click(); });
    mnuSaveAs = make(tr("Save As..."), QStringLiteral("mnuSaveAs"), QKeySequence(Qt::CTRL | Qt::Key_Q), nullptr);
    connect(mnuSaveAs, &QAction::triggered, this, [this] { mnuSaveAs_Click(); });
    mnuSaveAsTxt = make(tr("Save as txt..."), QStringLiteral("mnuSaveAsTxt"), QKeySequence(), &frmEdit::mnuSaveAsTxt_Click);
    mnuExit = make(tr("Exit"), QStringLiteral("mnuExit"), QKeySequence(Qt::CTRL | Qt::Key_X), &frmEdit::mnuExit_Click);

    mnuUndo = make(tr("Undo"), QStringLiteral("mnuUndo"), QKeySequence(), &frmEdit::mnuUndo_Click);
    mnuRedo = make(tr("Redo"), QStringLiteral("mnuRedo"), QKeySequence(), &frmEdit::mnuRedo_Click);
    mnuCut = make(tr("Cut"), QStringLiteral("mnuCut"), QKeySequence(), &frmEdit::mnuCut_Click);
    mnuCopy = make(tr("Copy"), QStringLiteral("mnuCopy"), QKeySequence(), &frmEdit::mnuCopy_Click);
    mnuPaste = make(tr("Paste"), QStringLiteral("mnuPaste"), QKeySequence(), &frmEdit::mnuPaste_Click);
    mnuDelete = make(tr("Delete"), QStringLiteral("mnuDelete"), QKeySequence(), &frmEdit::mnuDelete_Click);
    mnuSelectAll = make(tr("Select All"), QStringLiteral("mnuSelectAll"), QKeySequence(), &frmEdit::mnuSelectAll_Click);
    mnuFind = make(tr("Find"), QStringLiteral("mnuFind"), QKeySequence(Qt::Key_F5), &frmEdit::mnuFind_Click);
    mnuFindNext = make(tr("Find next"), QStringLiteral("mnuFindNext"), QKeySequence(Qt::Key_F6), &frmEdit::mnuFindNext_Click);
    mnuReplace = make(tr("Replace"), QStringLiteral("mnuReplace"), QKeySequence(), &frmEdit::mnuReplace_Click);
    mnuGotoline = make(tr("Goto line"), QStringLiteral("mnuGotoline"), QKeySequence(), &frmEdit::mnuGotoline_Click);
    mnuAbout = make(tr("About"), QStringLiteral("mnuAbout"), QKeySequence(), &frmEdit::mnuAbout_Click);
    // Shortcuts act while the menus are closed too.
    addActions({mnuNew, mnuOpen, mnuSave, mnuSaveAs, mnuExit, mnuFind, mnuFindNext});
}

void frmEdit::createMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    file->addActions({mnuNew, mnuOpen, mnuSave, mnuSaveAs, mnuSaveAsTxt});
    file->addSeparator()->setObjectName(QStringLiteral("line1"));
    file->addAction(mnuExit);

    QMenu *edit = menuBar()->addMenu(tr("Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    edit->addActions({mnuUndo, mnuRedo});
    edit->addSeparator()->setObjectName(QStringLiteral("line91"));
    edit->addActions({mnuCut, mnuCopy, mnuPaste, mnuDelete});
    edit->addSeparator()->setObjectName(QStringLiteral("line99"));
    edit->addAction(mnuSelectAll);
    edit->addSeparator()->setObjectName(QStringLiteral("line43"));
    edit->addActions({mnuFind, mnuFindNext, mnuReplace, mnuGotoline});

    // About is a command on the menu bar itself.
    menuBar()->addAction(mnuAbout);
}

void frmEdit::createToolBar()
{
    Toolbar1 = new QToolBar(tr("Toolbar1"), this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(16, 16));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Toolbar1->setFixedHeight(twipsToPixels(ToolbarHeight));
    Toolbar1->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, Toolbar1);

    for (int i = 0; i < 20; ++i) {
        const ToolbarButton &b = ToolbarButtons[i];
        QAction *action = nullptr;
        if (!b.icon) {
            action = Toolbar1->addSeparator();
        } else {
            action = Toolbar1->addAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(b.icon))), QString());
            action->setObjectName(QStringLiteral("Toolbar1_%1").arg(i + 1));
            // Picture-only buttons: the tool tip says in words what the button does, as its name does.
            action->setToolTip(tr(b.name));
            if (auto *button = qobject_cast<QToolButton *>(Toolbar1->widgetForAction(action))) {
                button->setAccessibleName(tr(b.name));
                button->setFocusPolicy(Qt::NoFocus);
            }
            const int index = i + 1;
            connect(action, &QAction::triggered, this, [this, index] { Toolbar1_ButtonClick(index); });
        }
        toolbarActions.append(action);
    }

    // The current colour swatch sits on the toolbar at its design position.
    PC = new QLabel(Toolbar1);
    PC->setObjectName(QStringLiteral("PC"));
    PC->setToolTip(tr("Current color"));
    PC->setAccessibleName(tr("Current color"));
    PC->setFrameShape(QFrame::Panel);
    PC->setFrameShadow(QFrame::Sunken);
    placeSwatch();
    paintSwatch(PC, Qt::black);
}

void frmEdit::placeSwatch()
{
    // The swatch's design place is just past the last button; with a wider style's buttons it moves
    // along rather than covering one.
    int left = twipsToPixels(SwatchLeft);
    if (!toolbarActions.isEmpty()) {
        if (QWidget *last = Toolbar1->widgetForAction(toolbarActions.last()); last && last->isVisible())
            left = std::max(left, last->geometry().right() + 6);
    }
    const QRect design = twipsRect(SwatchLeft, 0, SwatchWidth, SwatchHeight);
    PC->setGeometry(left, (Toolbar1->height() - design.height()) / 2, design.width(), design.height());
}

void frmEdit::createStatusBar()
{
    StatusBar1 = new EditorStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(twipsToPixels(StatusBarHeight));
    setStatusBar(StatusBar1);
    connect(RC, &CodeEdit::overtypeChanged, StatusBar1, &EditorStatusBar::setInsertOn);
}

void frmEdit::configureComponent()
{
    RC->setVisible(true);
    RC->setSetting(EditorSetting::LineNumbers, true);
    RC->setLanguage(QStringLiteral("PHP"));
    RC->setSetting(EditorSetting::CaretLine, true);
    RC->setSetting(EditorSetting::CaretWidth, QStringLiteral("1").toInt());
    RC->setSetting(EditorSetting::MarginGap, 2);
    RC->setSetting(EditorSetting::AutoIndent, true);
    RC->setSetting(EditorSetting::BraceMatching, true);
    RC->setSetting(EditorSetting::TabWidth, 8);
    const quint32 p1Colour = 0x008000; // the hidden picture box P1's background: green
    RC->SetItemColor(StyleItem::Variables, p1Colour);
    RC->SetItemColor(StyleItem::PageBackground, 0xFFFFFF);
    RC->SetItemColor(StyleItem::ScriptBackground, 0xFFFFFF);
    RC->SetItemColor(StyleItem::Strings, p1Colour);
    RC->setSetting(EditorSetting::MarginGap, 1);
    RC->SetItemFontStyle(StyleItem::ScriptDelimiters, FontStyle::Bold);
    RC->SetItemFontStyle(StyleItem::Keywords, FontStyle::Bold);
    RC->SetItemFontStyle(StyleItem::Tags, FontStyle::Bold);
    RC->SetItemColor(StyleItem::Comments, 0x004040);
    RC->SetItemColor(StyleItem::TagColour, 0x0000FF);
    RC->SetItemColor(StyleItem::DefaultText, 0x000000);
    RC->setEditorFont(QStringLiteral("Courier New"), 15);
    StatusBar1->setPanelText(1, documentPath());
}

void frmEdit::Form_Load()
{
    SSTab1->BuildCatalogue();
    SSTab1->setCurrentPage(0);
    configureComponent();
    ArrangeControls();
    if (m_startup.registerTypes)
        m_startup.registerTypes();
    RC->document()->setUnmodified();
    RC->keepJournalIn(recoveryFolderPath());

    // Work a crash left behind comes first: the document's own, or without one the newest of any.
    if (offerRecovery(m_startup.document))
        return;
    // A new file: the editor starts empty, bound to the path; Save creates it.
    if (const QString &path = m_startup.document; !path.isEmpty())
        QFileInfo::exists(path) ? open(path) : RC->document()->setPath(path);
}

// ---------------------------------------------------------------------------------------------
// Layout

void frmEdit::ArrangeControls()
{
    if (m_arranging)
        return;
    m_arranging = true;
    EditorLayoutInput in;
    const QMargins frameMargins = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const int frameExtraW = frameMargins.left() + frameMargins.right();
    const int frameExtraH = frameMargins.top() + frameMargins.bottom();
    in.outerWidth = pixelsToTwips(width() + frameExtraW);
    in.outerHeight = pixelsToTwips(height() + frameExtraH);
    const int menuHeight = menuBar()->isVisibleTo(this) ? menuBar()->height() : 0;
    in.clientWidth = pixelsToTwips(width());
    in.clientHeight = pixelsToTwips(height() - menuHeight);
    in.toolbarHeight = pixelsToTwips(Toolbar1->height());
    in.statusBarHeight = pixelsToTwips(StatusBar1->height());
    in.panelWidth = m_panelWidth;
    const EditorLayout out = arrangeControls(in);

    if ((out.outerWidth || out.outerHeight) && !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
        const int w = out.outerWidth ? twipsToPixels(*out.outerWidth) - frameExtraW : width();
        const int h = out.outerHeight ? twipsToPixels(*out.outerHeight) - frameExtraH : height();
        resize(w, h); // snaps back; the resize comes round again and is laid out then
    }
    const int top = 0; // panel and editor sit directly below the toolbar
    if (out.panelHeight)
        SSTab1->setGeometry(0, top, twipsToPixels(m_panelWidth), twipsToPixels(*out.panelHeight));
    else
        SSTab1->setGeometry(0, top, twipsToPixels(m_panelWidth), SSTab1->height());
    if (out.listHeight)
        SSTab1->setListHeights(int(*out.listHeight));
    QRect editor = RC->geometry();
    editor.moveLeft(twipsToPixels(m_rcLeft));
    editor.moveTop(top);
    if (out.editorWidth)
        editor.setWidth(twipsToPixels(*out.editorWidth));
    if (out.editorHeight)
        editor.setHeight(twipsToPixels(*out.editorHeight));
    RC->setGeometry(editor);
    m_arranging = false;
}

void frmEdit::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The toolbar lays its buttons out once shown.
    QTimer::singleShot(0, this, &frmEdit::placeSwatch);
    if (m_firstShow) {
        m_firstShow = false;
        // The window manager keeps the minimum too, so a drag never even shows a smaller frame.
        const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
        setMinimumSize(twipsToPixels(MinimumOuterWidth) - frame.left() - frame.right(),
                       twipsToPixels(MinimumOuterHeight) - frame.top() - frame.bottom());
        // The menu bar's real height is known only now; the client area is designed below it.
        const int clientHeight = height() - menuBar()->height();
        if (clientHeight != twipsToPixels(DesignClientHeight) && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            resize(width(), twipsToPixels(DesignClientHeight) + menuBar()->height());
    }
}

void frmEdit::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    ArrangeControls();
    placeSwatch();
}

bool frmEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        ArrangeControls();
    return QMainWindow::eventFilter(watched, event);
}

void frmEdit::Command8_Click()
{
    const FoldResult fold = foldPanel(m_panelWidth);
    m_panelWidth = fold.panelWidth;
    m_rcLeft = fold.editorLeft;
    ArrangeControls();
}

// ---------------------------------------------------------------------------------------------
// Component events

void frmEdit::RC_SelectionChanged()
{
    // Only the first characters can name a colour; a huge selection is not copied for that.
    paintSwatch(PC, colorFromBgr(HexToColor(RC->selectedTextHead(32))));
}

bool frmEdit::RC_KeyDown(int keyCode, int shift)
{
    constexpr int VkInsert = 45, VkC = 67, VkV = 86;
    if (keyCode == VkInsert && shift == ShiftMaskCtrl)
        RC->ExecuteCommand(EditorCommand::Copy);
    if (keyCode == VkC && shift == ShiftMaskCtrl)
        RC->ExecuteCommand(EditorCommand::Copy);
    if (keyCode == VkV && shift == ShiftMaskCtrl)
        RC->ExecuteCommand(EditorCommand::Paste);
    return false;
}

// The keystroke's change has already left the engine's save point, which is what marks the document.
bool frmEdit::RC_KeyEvent() { return false; }

// ---------------------------------------------------------------------------------------------
// Tool windows

void frmEdit::insertColourText(const QString &text)
{
    RC->setSelectedText(text.toUtf8());
    RC->setFocus();
    RC->ExecuteCommand(EditorCommand::ShowCaret);
}

void frmEdit::Command6_Click()
{
    frmColor *chooser = frmColor::instance(true);
    connect(chooser, &frmColor::insertRequested, this, &frmEdit::insertColourText, Qt::UniqueConnection);
    chooser->showWindow();
}
void frmEdit::Command7_Click() { frmReplace::showShared(); }

} // namespace kestrin
