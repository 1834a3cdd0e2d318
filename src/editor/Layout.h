#pragma once
// The editor window's layout arithmetic, in twips, free of widgets so the design's numbers can be
// checked exactly.
#include "snippets/SidePanelLayout.h"

#include <optional>

namespace kestrin {

// The side panel's widths and the editor's left edge, in twips: as designed (the editor a little
// further right than the panel's edge), and after a fold or unfold.
inline constexpr int UnfoldedPanelWidth = SidePanelLayout::UnfoldedWidth;
inline constexpr int FoldedPanelWidth = SidePanelLayout::FoldedWidth;
inline constexpr int DesignEditorLeft = 2820;
inline constexpr int UnfoldedEditorLeft = 2780;
inline constexpr int FoldedEditorLeft = 350;

struct EditorLayoutInput {
    double outerWidth = 0;   // the window with frame, caption and menu bar
    double outerHeight = 0;
    double clientWidth = 0;  // the area below the menu bar: toolbar, panel, editor, status bar
    double clientHeight = 0;
    double toolbarHeight = 420;
    double statusBarHeight = 375;
    double panelWidth = UnfoldedPanelWidth;
};

// Each value is empty where the step is skipped (nothing to change, or a size that cannot be set,
// such as a negative height); the window then leaves that size as it was.
struct EditorLayout {
    std::optional<double> outerWidth;  // set when the window is narrower than the minimum
    std::optional<double> outerHeight; // set when it is lower than the minimum
    std::optional<double> panelHeight;
    std::optional<double> listHeight;
    std::optional<double> editorWidth;
    std::optional<double> editorHeight;
};

constexpr double MinimumOuterWidth = 10230;
constexpr double MinimumOuterHeight = 8310;

// The six steps of ArrangeControls, computed in single precision as designed.
EditorLayout arrangeControls(const EditorLayoutInput &in);

struct FoldResult {
    int panelWidth;
    int editorLeft;
};
// Folds a panel that is exactly UnfoldedPanelWidth wide; any other width unfolds it.
FoldResult foldPanel(int currentPanelWidth);

} // namespace kestrin
