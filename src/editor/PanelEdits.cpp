#include "PanelEdits.h"

#include "component/CodeEdit.h"
#include "textutil/CharacterReferences.h"
#include "textutil/TextTransforms.h"

namespace kestrin {

PanelEdits::PanelEdits(SidePanel *panel, CodeEdit *rc, QObject *parent) : QObject(parent), m_rc(rc)
{
    connect(panel, &SidePanel::snippetChosen, this, &PanelEdits::insertSnippet);
    connect(panel, &SidePanel::sampleChosen, this, &PanelEdits::insertSample);
    connect(panel, &SidePanel::characterChosen, this, &PanelEdits::insertCharacterReference);
    connect(panel, &SidePanel::utilityChosen, this, &PanelEdits::applyUtility);
}

void PanelEdits::insertSnippet(SnippetGroup group, int row)
{
    const SnippetGroupData &data = Catalogue::group(group);
    if (row < 0 || row >= data.texts.size())
        return;
    const LineEnd style = m_rc->document()->lineEndStyle();
    QByteArray text = convertLineEnds(data.texts[row], style);
    if (group == SnippetGroup::Html)
        text += m_rc->SelectedText() + convertLineEnds(data.closings[row], style);
    m_rc->setSelectedText(text);
    finish();
}

void PanelEdits::insertSample(const QByteArray &text)
{
    m_rc->setSelectedText(convertLineEnds(text, m_rc->document()->lineEndStyle()));
    finish();
}

void PanelEdits::insertCharacterReference(int index)
{
    if (index < 0 || index >= ReplaceButtonIndex)
        return;
    m_rc->setSelectedText(characterReference(index));
    finish();
}

void PanelEdits::applyUtility(SidePanel::Utility utility)
{
    using U = SidePanel::Utility;
    switch (utility) {
    case U::SpecialCharacters: {
        // Each letter is rewritten on its own, so block by block in place; when there is none,
        // nothing is rewritten and no empty undo step is recorded.
        const QByteArray text = m_rc->textView();
        if (const qsizetype growth = SpecialCharactersGrowth(text))
            m_rc->rewriteText(ReplaceSpecialCharacters, text.size() + growth);
        break;
    }
    case U::Link: m_rc->setSelectedText(AddressToLink(m_rc->SelectedText())); break;
    case U::RemoveTags: {
        const QByteArray text = m_rc->textView();
        const QByteArray stripped = StripTags(text);
        if (!stripped.isSharedWith(text))
            m_rc->setText(stripped);
        break;
    }
    case U::HtmlComment: m_rc->setSelectedText(HtmlBlockComment(m_rc->SelectedText())); break;
    case U::PhpComment: m_rc->setSelectedText(PhpBlockComment(m_rc->SelectedText())); break;
    }
    finish();
}

void PanelEdits::finish()
{
    m_rc->setFocus();
    m_rc->ExecuteCommand(EditorCommand::ShowCaret);
    Q_EMIT insertionFinished();
}

} // namespace kestrin
