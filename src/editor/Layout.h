#pragma once
// The editor window's layout arithmetic, in twips, free of widgets so the design's numbers can be
// checked exactly.
#include <optional>

namespace kestrin {

struct EditorLayoutInput {
    double outerWidth = 0;   // the window with frame, caption and menu bar
    double outerHeight = 0;
    double clientWidth = 0;  // the area below the menu bar: toolbar, panel, editor, status bar
    double clientHeight = 0;
    double toolbarHeight = 420;
    double statusBarHeight = 375;
    double panelWidth = 2775;
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
// Folds a panel that is exactly 2775 wide to 345 (editor at 350); any other width unfolds it to
// 2775 (editor at 2780).
FoldResult foldPanel(int currentPanelWidth);

} // namespace kestrin
