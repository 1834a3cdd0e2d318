#include "Layout.h"

namespace kestrin {

namespace {

std::optional<double> size(float value)
{
    if (value < 0)
        return std::nullopt; // a negative size cannot be set; the control keeps its own
    return double(value);
}

} // namespace

EditorLayout arrangeControls(const EditorLayoutInput &in)
{
    EditorLayout out;
    if (in.outerWidth < MinimumOuterWidth)
        out.outerWidth = MinimumOuterWidth;
    if (in.outerHeight < MinimumOuterHeight)
        out.outerHeight = MinimumOuterHeight;
    const float panelHeight = float(in.clientHeight) - float(in.toolbarHeight) - float(in.statusBarHeight);
    out.panelHeight = size(panelHeight);
    // The lists follow the panel's height as it now is; when it could not be set they follow the
    // height it kept, which the window supplies by skipping them too.
    if (out.panelHeight)
        out.listHeight = size(panelHeight - 100.0f);
    out.editorWidth = size(float(in.clientWidth) - float(in.panelWidth));
    out.editorHeight = size(float(in.clientHeight) - float(in.toolbarHeight) - float(in.statusBarHeight));
    return out;
}

FoldResult foldPanel(int currentPanelWidth)
{
    if (currentPanelWidth == UnfoldedPanelWidth)
        return {FoldedPanelWidth, FoldedEditorLeft};
    return {UnfoldedPanelWidth, UnfoldedEditorLeft};
}

} // namespace kestrin
