#include "SidePanel.h"

#include "AjaxSample.h"
#include "Catalogue.h"
#include "SidePanelLayout.h"
#include "WrapButton.h"
#include "common/Twips.h"
#include "textutil/CharacterReferences.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMetaMethod>
#include <QPainter>
#include <QStyleOptionTab>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabBar>

#include <functional>

namespace kestrin {

namespace {

// The tab strip's font: small enough that all ten tabs fit the panel at the window's minimum size.
constexpr double TabFontPoints = 7.5;
constexpr int TabTextPadding = 8; // pixels along a tab, around its text

// Translated where they are words; the languages' and libraries' names stay.
constexpr const char *pageCaptions[SidePanelLayout::PageCount] = {
    "HTML", "PHP", QT_TRANSLATE_NOOP("kestrin::SidePanel", "WEB HEADER"), "CSS", "AJAX",
    QT_TRANSLATE_NOOP("kestrin::SidePanel", "LANGUAGE"), QT_TRANSLATE_NOOP("kestrin::SidePanel", "UTILS"),
    QT_TRANSLATE_NOOP("kestrin::SidePanel", "FORM"), "MySQL", QT_TRANSLATE_NOOP("kestrin::SidePanel", "TABLE"),
};

QFont designFont(double points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

// A name list whose "click" is a mouse click on a row or the selected row moving under the
// keyboard; a mouse click that also moves the selection fires once.
class SnippetList : public QListWidget {
public:
    explicit SnippetList(QWidget *parent) : QListWidget(parent)
    {
        connect(this, &QListWidget::itemClicked, this, [this] {
            if (picked)
                picked();
        });
    }
    std::function<void()> picked;

    int selectedRow() const
    {
        const QListWidgetItem *item = currentItem();
        return item && item->isSelected() ? row(item) : -1;
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const int before = selectedRow();
        // Focus parks the cursor on the first row without selecting it; the first arrow key
        // then selects that row rather than skipping past it.
        if (before < 0 && (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up))
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        QListWidget::keyPressEvent(event);
        const int after = selectedRow();
        if (after >= 0 && after != before && picked)
            picked();
    }
};

// The tab strip: tabs sized to their text, as thick as the folded panel. The style's own label
// margins are wider than such a strip, so the labels are painted here, turned to read upwards.
class SideTabBar : public QTabBar {
public:
    explicit SideTabBar(QWidget *parent) : QTabBar(parent) {}
    int thickness = twipsToPixels(SidePanelLayout::TabStripTwips);

protected:
    QSize tabSizeHint(int index) const override
    {
        return QSize(thickness, fontMetrics().horizontalAdvance(tabText(index)) + TabTextPadding);
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        for (int i = 0; i < count(); ++i) {
            QStyleOptionTab option;
            initStyleOption(&option, i);
            if (!option.rect.intersects(rect()))
                continue;
            const QString text = option.text;
            option.text.clear();
            style()->drawControl(QStyle::CE_TabBarTabShape, &option, &painter, this);

            const QRect r = option.rect;
            painter.save();
            painter.translate(r.center().x() + 1, r.center().y() + 1);
            painter.rotate(-90);
            painter.setPen(palette().color(isTabEnabled(i) ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
            painter.drawText(QRect(-r.height() / 2, -r.width() / 2, r.height(), r.width()), Qt::AlignCenter, text);
            painter.restore();
        }
    }
};

int selectedRowOf(const QListWidget *list)
{
    return static_cast<const SnippetList *>(list)->selectedRow();
}

} // namespace

struct SidePanel::Private {
    SideTabBar *tabs = nullptr;
    QStackedWidget *pages = nullptr;
    int listHeightTwips = SidePanelLayout::DesignListHeight;
    QString programFolder;
    bool programFolderSet = false;
    std::array<int, 3> listeners{}; // connections of Command6Clicked, Command7Clicked, Command8Clicked
};

SidePanel::SidePanel(QWidget *parent) : QWidget(parent), d(new Private)
{
    setObjectName(QStringLiteral("SSTab1"));
    setAccessibleName(tr("Side panel"));

    d->tabs = new SideTabBar(this);
    d->tabs->setObjectName(QStringLiteral("SSTab1Tabs"));
    d->tabs->setAccessibleName(tr("Side panel pages"));
    d->tabs->setShape(QTabBar::RoundedWest);
    d->tabs->setExpanding(false);
    d->tabs->setElideMode(Qt::ElideNone);
    d->tabs->setUsesScrollButtons(true); // a window shorter than the design still reaches every tab
    d->tabs->setDrawBase(false);
    d->tabs->setFont(designFont(TabFontPoints));
    for (const char *caption : pageCaptions)
        d->tabs->addTab(tr(caption));

    d->pages = new QStackedWidget(this);
    const QFont listFont = designFont(8.25);
    QListWidget **lists[SidePanelLayout::PageCount] = {&L1, &L2, &L3, &L4, &L5, nullptr, nullptr, &L8, &L9, &L10};
    const std::function<void()> clicks[SidePanelLayout::PageCount] = {
        [this] { L1_Click(); }, [this] { L2_Click(); }, [this] { L3_Click(); }, [this] { L4_Click(); },
        [this] { L5_Click(); }, nullptr, nullptr, [this] { L8_Click(); }, [this] { L9_Click(); },
        [this] { L10_Click(); }};

    for (int page = 0; page < SidePanelLayout::PageCount; ++page) {
        const QString caption = QString::fromLatin1(pageCaptions[page]);
        if (lists[page]) {
            auto *pageWidget = new QWidget;
            auto *list = new SnippetList(pageWidget);
            list->setObjectName(QStringLiteral("L%1").arg(page + 1));
            list->setAccessibleName(tr("%1 snippets").arg(tr(pageCaptions[page])));
            list->setFont(listFont);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            list->picked = clicks[page];
            *lists[page] = list;
            d->pages->addWidget(pageWidget);
            continue;
        }
        // The button pages scroll when the panel is shorter than they are.
        auto *scroll = new QScrollArea;
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(false);
        auto *content = new QWidget;
        content->setObjectName(caption);
        if (page == SidePanelLayout::LanguagePage) {
            const QFont font = designFont(9);
            for (int i = 0; i < CharacterButtonCount; ++i) {
                const QString text = characterButtonCaption(i);
                QPushButton *b = i == ReplaceButtonIndex ? new WrapButton(text, content) : new QPushButton(text, content);
                b->setObjectName(QStringLiteral("C6_%1").arg(i));
                b->setFont(font);
                b->setAccessibleName(i == ReplaceButtonIndex
                                         ? text
                                         : tr("Insert %1 (%2)").arg(QString::fromLatin1(characterReference(i)), text));
                b->setToolTip(i == ReplaceButtonIndex ? QString() : QString::fromLatin1(characterReference(i)));
                connect(b, &QPushButton::clicked, this, [this, i] { C6_Click(i); });
                C6[size_t(i)] = b;
            }
        } else {
            const QFont font = designFont(8.25);
            QPushButton **targets[] = {&Command1, &Command2, &Command4, &Command5, &Command6, &Command7};
            const auto buttons = SidePanelLayout::utilityButtons();
            for (int i = 0; i < 6; ++i) {
                const auto &button = buttons[size_t(i)];
                auto *b = new WrapButton(tr(button.caption), content);
                b->setObjectName(QString::fromLatin1(button.name));
                b->setFont(font);
                *targets[i] = b;
            }
            connect(Command1, &QPushButton::clicked, this, &SidePanel::Command1_Click);
            connect(Command2, &QPushButton::clicked, this, &SidePanel::Command2_Click);
            connect(Command4, &QPushButton::clicked, this, &SidePanel::Command4_Click);
            connect(Command5, &QPushButton::clicked, this, &SidePanel::Command5_Click);
            connect(Command6, &QPushButton::clicked, this, &SidePanel::Command6Clicked);
            connect(Command7, &QPushButton::clicked, this, &SidePanel::Command7Clicked);
            // Until the window connects a tool window, its button would do nothing: keep it off.
            Command6->setEnabled(false);
            Command7->setEnabled(false);
        }
        scroll->setWidget(content);
        d->pages->addWidget(scroll);
    }

    Command8 = new QPushButton(QStringLiteral("<>"), this);
    Command8->setObjectName(QStringLiteral("Command8"));
    Command8->setAccessibleName(tr("Fold or unfold the side panel"));
    Command8->setToolTip(tr("Fold or unfold the side panel"));
    Command8->setFont(designFont(8.25));
    Command8->setEnabled(false); // until the window handles it
    connect(Command8, &QPushButton::clicked, this, &SidePanel::Command8Clicked);

    connect(d->tabs, &QTabBar::currentChanged, this, [this](int page) {
        d->pages->setCurrentIndex(page);
        Command8->setVisible(page == 0);
    });
    setCurrentPage(0);
    setMinimumWidth(twipsToPixels(FoldedWidth));
    layoutPages();
}

SidePanel::~SidePanel() { delete d; }

void SidePanel::BuildCatalogue()
{
    QListWidget *const listOf[] = {L1, L2, L3, L4, L5, L8, L9, L10};
    for (SnippetGroup g : Catalogue::fillOrder()) {
        const SnippetGroupData &group = Catalogue::group(g);
        QListWidget *list = listOf[size_t(g)];
        for (const QString &name : group.names)
            list->addItem(Catalogue::shownName(name));
        list->setCurrentRow(-1);
        list->clearSelection();
    }
}

void SidePanel::setListHeights(int twips)
{
    d->listHeightTwips = twips;
    layoutPages();
}

int SidePanel::listHeight() const { return d->listHeightTwips; }

int SidePanel::currentPage() const { return d->tabs->currentIndex(); }

void SidePanel::setCurrentPage(int page)
{
    if (page < 0 || page >= SidePanelLayout::PageCount)
        return;
    d->tabs->setCurrentIndex(page);
    d->pages->setCurrentIndex(page);
    Command8->setVisible(page == 0);
}

QString SidePanel::pageCaption(int page) const
{
    return page >= 0 && page < SidePanelLayout::PageCount ? tr(pageCaptions[page]) : QString();
}

void SidePanel::setProgramFolder(const QString &folder)
{
    d->programFolder = folder;
    d->programFolderSet = true;
}

QString SidePanel::programFolder() const
{
    return d->programFolderSet ? d->programFolder : QCoreApplication::applicationDirPath();
}

// --- choices ---------------------------------------------------------------------------------

void SidePanel::chooseFrom(QListWidget *list, SnippetGroup group)
{
    const int row = selectedRowOf(list);
    if (row >= 0 && row < Catalogue::group(group).texts.size())
        Q_EMIT snippetChosen(group, row);
}

void SidePanel::L1_Click() { chooseFrom(L1, SnippetGroup::Html); }
void SidePanel::L2_Click() { chooseFrom(L2, SnippetGroup::Php); }
void SidePanel::L3_Click() { chooseFrom(L3, SnippetGroup::WebHeader); }
void SidePanel::L4_Click() { chooseFrom(L4, SnippetGroup::Css); }
void SidePanel::L8_Click() { chooseFrom(L8, SnippetGroup::Form); }
void SidePanel::L9_Click() { chooseFrom(L9, SnippetGroup::MySql); }
void SidePanel::L10_Click() { chooseFrom(L10, SnippetGroup::Table); }

void SidePanel::L5_Click()
{
    const AjaxSample sample = readAjaxSample(programFolder());
    // A file that is there but cannot be read leaves the document as it is.
    if (sample.status != AjaxSample::Status::Unreadable)
        Q_EMIT sampleChosen(sample.text);
}

void SidePanel::C6_Click(int index)
{
    if (index == ReplaceButtonIndex)
        Q_EMIT utilityChosen(Utility::SpecialCharacters);
    else if (index >= 0 && index < ReplaceButtonIndex)
        Q_EMIT characterChosen(index);
}

void SidePanel::Command1_Click() { Q_EMIT utilityChosen(Utility::Link); }
void SidePanel::Command2_Click() { Q_EMIT utilityChosen(Utility::RemoveTags); }
void SidePanel::Command4_Click() { Q_EMIT utilityChosen(Utility::HtmlComment); }
void SidePanel::Command5_Click() { Q_EMIT utilityChosen(Utility::PhpComment); }

// --- geometry -----------------------------------------------------------------------------

void SidePanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPages();
}

void SidePanel::layoutPages()
{
    namespace L = SidePanelLayout;
    auto pixels = [](const QRect &t) { return twipsRect(t.x(), t.y(), t.width(), t.height()); };
    // Page contents are placed from the panel's left edge; their page starts at the tab strip's edge.
    const int pageLeft = twipsToPixels(L::PageLeft);
    d->tabs->setGeometry(pixels(L::tabStripRect(pixelsToTwips(height()))));
    d->pages->setGeometry(pageLeft, 0, qMax(0, width() - pageLeft), height());
    Command8->setGeometry(pixels(L::foldButtonRect()));
    Command8->raise();

    QListWidget *const lists[] = {L1, L2, L3, L4, L5, L8, L9, L10};
    for (QListWidget *list : lists)
        list->setGeometry(pixels(L::listRect(list == L2, d->listHeightTwips)).translated(-pageLeft, 0));
    for (int i = 0; i < CharacterButtonCount; ++i)
        C6[size_t(i)]->setGeometry(pixels(characterButtonTwips(i)).translated(-pageLeft, 0));
    QPushButton *const utilities[] = {Command1, Command2, Command4, Command5, Command6, Command7};
    const auto specs = L::utilityButtons();
    for (int i = 0; i < 6; ++i) {
        const auto &b = specs[size_t(i)];
        utilities[i]->setGeometry(pixels(QRect(b.left, b.top, b.width, b.height)).translated(-pageLeft, 0));
    }
    for (int page : {L::LanguagePage, L::UtilsPage}) {
        const QSize size = L::buttonPageSize(page);
        QWidget *content = page == L::LanguagePage ? C6[0]->parentWidget() : Command1->parentWidget();
        content->setFixedSize(twipsToPixels(size.width()) - pageLeft, twipsToPixels(size.height()));
    }
}

// The tool-window and fold buttons work only once the window listens to them.
// Qt may call these two with its connection lock held (a receiver being destroyed takes its
// connections with it), so they must not ask the object anything, isSignalConnected() included:
// they count the connections of the three signals themselves.
void SidePanel::connectNotify(const QMetaMethod &signal)
{
    const int i = signalButton(signal);
    if (i < 0)
        return;
    ++d->listeners[size_t(i)];
    updateSignalButtons();
}

void SidePanel::disconnectNotify(const QMetaMethod &signal)
{
    if (!signal.isValid()) // every connection of this object went at once
        d->listeners = {};
    else if (const int i = signalButton(signal); i >= 0 && d->listeners[size_t(i)] > 0)
        --d->listeners[size_t(i)];
    // The buttons change once the lock is given back.
    QMetaObject::invokeMethod(this, &SidePanel::updateSignalButtons, Qt::QueuedConnection);
}

int SidePanel::signalButton(const QMetaMethod &signal)
{
    if (signal == QMetaMethod::fromSignal(&SidePanel::Command6Clicked))
        return 0;
    if (signal == QMetaMethod::fromSignal(&SidePanel::Command7Clicked))
        return 1;
    if (signal == QMetaMethod::fromSignal(&SidePanel::Command8Clicked))
        return 2;
    return -1;
}

void SidePanel::updateSignalButtons()
{
    QPushButton *buttons[] = {Command6, Command7, Command8};
    for (size_t i = 0; i < 3; ++i) {
        if (buttons[i])
            buttons[i]->setEnabled(d->listeners[i] > 0);
    }
}

} // namespace kestrin
