#include "CommonDialog.h"

#include "BgrColor.h"
#include "Prompter.h"

#include <QFont>

namespace kestrin {

bool CommonDialog::showFile(bool save)
{
    Prompter::FileRequest request;
    request.save = save;
    request.filter = Filter;
    request.filterIndex = FilterIndex;
    request.fileName = FileName;
    // Save dialogs always ask before overwriting an existing file, whatever the options.
    request.confirmOverwrite = true;
    request.readOnlyTicked = (Flags & 1) != 0;
    const auto answer = Prompter::instance().chooseFile(m_owner, request);
    if (!answer)
        return false;
    FileName = answer->path;
    FilterIndex = answer->filterIndex;
    return true;
}

bool CommonDialog::ShowOpen() { return showFile(false); }
bool CommonDialog::ShowSave() { return showFile(true); }

bool CommonDialog::ShowFont()
{
    QFont initial;
    if (!FontName.isEmpty())
        initial.setFamily(FontName);
    const auto font = Prompter::instance().chooseFont(m_owner, initial);
    if (!font)
        return false;
    FontName = font->family();
    return true;
}

bool CommonDialog::ShowColor()
{
    const QColor initial = colorFromBgr(Color);
    const auto color = Prompter::instance().chooseColor(m_owner, initial);
    if (!color)
        return false;
    Color = bgrFromRgb(color->rgb());
    return true;
}

} // namespace kestrin
