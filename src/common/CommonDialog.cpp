#include "CommonDialog.h"

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
    const QColor initial(int(Color & 0xFF), int((Color >> 8) & 0xFF), int((Color >> 16) & 0xFF));
    const auto color = Prompter::instance().chooseColor(m_owner, initial);
    if (!color)
        return false;
    Color = quint32(color->red()) | (quint32(color->green()) << 8) | (quint32(color->blue()) << 16);
    return true;
}

} // namespace kestrin
