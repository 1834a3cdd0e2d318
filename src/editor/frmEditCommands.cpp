// The editor window's edit commands (Edit menu, About) and its formatting toolbar.
#include "frmEdit.h"

#include "ToolbarMarkup.h"
#include "colour/ColourText.h"
#include "common/Clipboard.h"
#include "common/Prompter.h"
#include "component/CodeEdit.h"
#include "document/LineEnd.h"
#include "phpcheck/PhpCheck.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace kestrin {

// ---------------------------------------------------------------------------------------------
// Edit menu, About

void frmEdit::mnuUndo_Click() { RC->Undo(); }
void frmEdit::mnuRedo_Click() { RC->Redo(); }

void frmEdit::mnuCut_Click()
{
    putOnClipboard(RC->SelectedText());
    RC->setSelectedText(QByteArray());
}

void frmEdit::mnuCopy_Click() { putOnClipboard(RC->SelectedText()); }

void frmEdit::mnuPaste_Click() { RC->ExecuteCommand(EditorCommand::Paste); }

void frmEdit::mnuDelete_Click() { RC->setSelectedText(QByteArray()); }

void frmEdit::mnuSelectAll_Click() { RC->ExecuteCommand(EditorCommand::SelectAll); }

void frmEdit::mnuFind_Click()
{
    RC->ExecuteCommand(EditorCommand::FindDialog);
    RC->setSelectedText(RC->value33());
    RC->setFocus();
}

void frmEdit::mnuFindNext_Click()
{
    RC->ExecuteCommand(EditorCommand::FindNext);
    RC->setSelectedText(RC->value33());
    RC->setFocus();
}

void frmEdit::mnuReplace_Click() { RC->ExecuteCommand(EditorCommand::ReplaceDialog); }

std::optional<qint32> parseLineNumber(const QString &answer)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(answer.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // halves to the even number
    if (rounded < double(std::numeric_limits<qint32>::min()) || rounded > double(std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return qint32(rounded);
}

void frmEdit::mnuGotoline_Click()
{
    const auto answer = Prompter::instance().inputText(this, QString::fromLatin1(AppTitle), tr("Line:"));
    if (answer) {
        if (const auto line = parseLineNumber(*answer))
            RC->GoToLine(*line, true);
    }
    RC->setFocus();
}

QString aboutText()
{
    const QString text = frmEdit::tr("Marvolis KESTRIN Vozod 4\nVer %1.%2.%3\nMade by Marvolis for web developers")
                             .arg(KESTRIN_VERSION_MAJOR)
                             .arg(KESTRIN_VERSION_MINOR)
                             .arg(KESTRIN_VERSION_PATCH);
    return phpProgram().isEmpty() ? text + QLatin1Char('\n') + frmEdit::tr("PHP syntax check: php not found") : text;
}

void frmEdit::mnuAbout_Click()
{
    // The libraries built into the program, as their licences ask.
    const QString credits = tr(
        "The editing engine is Scintilla %1 with Lexilla %2, Copyright 1998-2021 by Neil Hodgson, "
        "used under their licence (see the copyright file).").arg(QLatin1String(KESTRIN_SCINTILLA_VERSION), QLatin1String(KESTRIN_LEXILLA_VERSION));
    Prompter::instance().message(this, Prompter::Icon::Information, QString::fromLatin1(AppTitle), aboutText(), credits);
}

// ---------------------------------------------------------------------------------------------
// Toolbar

void frmEdit::insertTags(const Tags &tags)
{
    RC->setSelectedText(tags.open + (tags.keepsSelection ? RC->SelectedText() : QByteArray()) + tags.close);
    RC->setFocus();
}

void frmEdit::Toolbar1_ButtonClick(int index)
{
    Co.CancelError = true;
    switch (index) {
    case 1: mnuNew_Click(); break;
    case 2: mnuOpen_Click(); break;
    case 3: mnuSave_Click(); break;
    case 5: mnuUndo_Click(); break;
    case 6: mnuRedo_Click(); break;
    case 12:
        Co.Flags = 3;
        if (Co.ShowFont())
            insertTags(toolbarTags(index, Co.FontName));
        break;
    case 13:
    case 14:
        if (Co.ShowColor())
            insertTags(toolbarTags(index, ColorToHex(Co.Color)));
        break;
    default:
        if (const Tags tags = toolbarTags(index); !tags.open.isEmpty())
            insertTags(tags);
        break;
    }
    RC->ExecuteCommand(EditorCommand::ShowCaret);
}

} // namespace kestrin
