#pragma once
// The side panel's design geometry in twips, relative to the panel's left edge. Pure arithmetic:
// the widget converts with twipsToPixels.
#include <QRect>
#include <QtGlobal>
#include <QSize>
#include <array>

namespace kestrin::SidePanelLayout {

inline constexpr int PageCount = 10;
inline constexpr int LanguagePage = 5;
inline constexpr int UtilsPage = 6;

// The panel's width unfolded, and folded to its tab strip.
inline constexpr int UnfoldedWidth = 2775;
inline constexpr int FoldedWidth = 345;
inline constexpr int DesignListHeight = 5490;

// The tab strip is exactly as thick as the folded panel, so folding leaves the tabs reachable,
// and it starts just below the fold button (top 60, height 255).
inline constexpr int TabStripTwips = FoldedWidth;
inline constexpr int TabStripTop = 60 + 255 + 15;

// Left edge of the page area: the tab strip's right edge.
inline constexpr int PageLeft = TabStripTwips;

constexpr QRect tabStripRect(int panelHeight)
{
    return QRect(0, TabStripTop, TabStripTwips, panelHeight > TabStripTop ? panelHeight - TabStripTop : 0);
}

constexpr QRect foldButtonRect() { return QRect(0, 60, 315, 255); }

// The name lists; L2 is a little wider.
constexpr QRect listRect(bool isL2, int height)
{
    return QRect(360, 60, isL2 ? 2355 : 2295, height);
}

struct UtilityButton {
    const char *name;
    const char *caption; // in the source language; the panel shows it translated
    int left, top, width, height;
};

constexpr std::array<UtilityButton, 6> utilityButtons()
{
    return {{
        {"Command1", QT_TRANSLATE_NOOP("kestrin::SidePanel", "CONVERT SELECTED ADDRESS TO LINK"), 420, 60, 2295, 555},
        {"Command2", QT_TRANSLATE_NOOP("kestrin::SidePanel", "DELETE HTM CODES"), 420, 660, 2295, 315},
        {"Command4", QT_TRANSLATE_NOOP("kestrin::SidePanel", "HTML BLOCK COMMENT"), 420, 1380, 2295, 315},
        {"Command5", QT_TRANSLATE_NOOP("kestrin::SidePanel", "PHP BLOCK COMMENT"), 420, 1740, 2295, 315},
        {"Command6", QT_TRANSLATE_NOOP("kestrin::SidePanel", "COLOR CHOOSER UTILITY"), 420, 2520, 2295, 315},
        {"Command7", QT_TRANSLATE_NOOP("kestrin::SidePanel", "REPLACE IN MULTIPLE FILES"), 420, 2880, 2295, 495},
    }};
}

// The area a button page needs (from the panel's left edge): the unfolded width, and down to
// its lowest button plus the same 60-twip margin the lists keep at the top.
constexpr QSize buttonPageSize(int page)
{
    return QSize(UnfoldedWidth, page == LanguagePage ? 6060 + 735 + 60 : 2880 + 495 + 60);
}

} // namespace kestrin::SidePanelLayout
