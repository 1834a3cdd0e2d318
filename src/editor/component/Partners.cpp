#include "Partners.h"

#include "SciEditor.h"

#include <SciLexer.h>

#include <QFileInfo>
#include <QKeyEvent>

#include <algorithm>

namespace kestrin {

namespace {

// The tag's partner is looked for this far each side of the caret first, then this far in its
// direction; a partner further away is left unmarked rather than called missing.
constexpr long kTagNear = 64 * 1024;
constexpr long kTagFar = 1024 * 1024;

constexpr int bgr(quint32 rgb) { return int(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF)); }

} // namespace

Partners::Markup Partners::markupFor(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("tpl"))
        return Markup::Template;
    if (suffix == QLatin1String("css") || suffix == QLatin1String("js"))
        return Markup::None;
    return Markup::Html;
}

Partners::Partners(SciEditor *sci) : QObject(sci), m_sci(sci)
{
    // Boxes under the text in the brace highlight's colours: blue for a pair, red for a tag alone.
    for (auto [indicator, colour] : {std::pair{PartnerIndicator, 0x0000FFu}, std::pair{NoPartnerIndicator, 0xFF0000u}}) {
        m_sci->send(SCI_INDICSETSTYLE, indicator, INDIC_STRAIGHTBOX);
        m_sci->send(SCI_INDICSETFORE, indicator, bgr(colour));
        m_sci->send(SCI_INDICSETALPHA, indicator, 50);
        m_sci->send(SCI_INDICSETOUTLINEALPHA, indicator, 140);
        m_sci->send(SCI_INDICSETUNDER, indicator, 1);
    }
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    connect(&m_settle, &QTimer::timeout, this, &Partners::highlight);
    // Every caret move and change starts the wait again: while keys come, nothing is searched.
    connect(sci, &SciEditor::selectionMoved, &m_settle, qOverload<>(&QTimer::start));
    connect(sci, &SciEditor::changed, &m_settle, qOverload<>(&QTimer::start));
    sci->setKeyHook([this](QKeyEvent *e) { return handleKey(e); });
    connect(sci, &ScintillaEditBase::notify, this, &Partners::onNotify);
}

void Partners::onNotify(Scintilla::NotificationData *n)
{
    const int code = static_cast<int>(n->nmhdr.code);
    if (code == SCN_CHARADDED && n->ch == '/')
        offerClosingTag();
    else if (code == SCN_USERLISTSELECTION && n->listType == ClosingTagList && n->text)
        closeElement(n->text);
}

// "</" typed where the lexer takes it for the start of a tag (not in PHP, a comment or script):
// the innermost open element's name is offered, selected, in the engine's list.
void Partners::offerClosingTag()
{
    const long caret = m_sci->send(SCI_GETCURRENTPOS);
    if (m_markup == Markup::None || caret < 2 || caret != m_sci->send(SCI_GETANCHOR) || m_sci->send(SCI_GETCHARAT, caret - 2) != '<')
        return;
    const long from = std::max(0L, caret - kTagFar), open = caret - 2;
    if (const long styled = m_sci->send(SCI_GETENDSTYLED); styled < caret && styled >= from)
        m_sci->send(SCI_COLOURISE, styled, caret);
    const auto styleAt = m_sci->styleReader();
    if (styleAt(open) != SCE_H_TAG && styleAt(open) != SCE_H_TAGUNKNOWN)
        return;
    const QByteArray text = m_sci->copyRange(from, open);
    const QByteArray name = openElementAt({text.constData(), styleAt, from, open, m_sci->length(),
                                           m_sci->send(SCI_GETENDSTYLED), m_markup == Markup::Template}, open);
    if (name.isEmpty())
        return;
    m_sci->send(SCI_AUTOCSETSEPARATOR, '\n');
    m_sci->send(SCI_USERLISTSHOW, ClosingTagList, name.constData());
}

// The name and ">" at the caret, as one undo step.
void Partners::closeElement(const QByteArray &name)
{
    const long caret = m_sci->send(SCI_GETCURRENTPOS);
    m_sci->edit([&] { return caret + m_sci->replace(caret, caret, name + '>'); });
}

void Partners::setMarkup(Markup markup)
{
    m_markup = markup;
    m_settle.start();
}

TagMatch Partners::matchIn(long from, long to, long pos, bool colourise) const
{
    const long length = m_sci->length();
    from = std::max(0L, from);
    to = std::min(length, to);
    // Colouring is the lexer's work from where it stopped: only ever as much as the window.
    if (const long styled = m_sci->send(SCI_GETENDSTYLED); colourise && styled < to && styled >= from)
        m_sci->send(SCI_COLOURISE, styled, to);
    const QByteArray text = m_sci->copyRange(from, to);
    const StyledWindow window{text.constData(), m_sci->styleReader(), from, to, length,
                              m_sci->send(SCI_GETENDSTYLED), m_markup == Markup::Template};
    return matchTag(window, pos);
}

TagMatch Partners::tagAt(long pos, bool colourise) const
{
    if (m_markup == Markup::None)
        return {};
    TagMatch m = matchIn(pos - kTagNear, pos + kTagNear, pos, true);
    if (m.kind != TagMatch::Kind::Unknown)
        return m;
    if (m.tag.closing)
        return matchIn(m.tag.end - kTagFar, m.tag.end, m.tag.start, colourise);
    return matchIn(m.tag.start, m.tag.start + kTagFar, m.tag.start, colourise);
}

bool Partners::goToPartner(bool select)
{
    const long caret = m_sci->send(SCI_GETCURRENTPOS);
    const long anchor = select ? caret : -1;
    long target = -1, selectTo = -1;
    if (const TagMatch m = tagAt(caret, true); m.kind == TagMatch::Kind::Paired) {
        target = m.partner.nameStart;
        selectTo = m.partner.start > m.tag.start ? m.partner.end : m.partner.start;
    } else if (m.kind != TagMatch::Kind::NoTag) {
        return false; // on a tag without a partner: its '<' and '>' are no pair of braces
    } else if (const long brace = m_sci->braceAtCaret(); brace >= 0) {
        const long partner = m_sci->bracePartner(brace);
        if (partner < 0)
            return false;
        // Beside the brace outside the pair, the caret lands outside its partner; inside, inside.
        target = caret > brace ? partner : partner + 1;
        selectTo = partner > brace ? partner + 1 : partner;
    } else {
        return false;
    }
    if (select)
        m_sci->send(SCI_SETSEL, anchor, selectTo);
    else
        m_sci->send(SCI_SETEMPTYSELECTION, target);
    m_sci->send(SCI_SCROLLCARET);
    return true;
}

bool Partners::handleKey(QKeyEvent *e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    // The offered closing tag: Tab or Return takes it; any other key goes on as if it was not there.
    const bool accept = mods == Qt::NoModifier && (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter);
    if (!accept && m_sci->send(SCI_AUTOCACTIVE))
        m_sci->send(SCI_AUTOCCANCEL);
    if (e->key() == Qt::Key_E && (mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier))) {
        goToPartner(mods & Qt::ShiftModifier);
        return true; // never the engine's own binding, whether or not there was a partner
    }
    return false;
}

// The tag whose name holds the caret, and its partner; a tag that has none in the "no partner"
// colour. Nothing while text is selected.
void Partners::highlight()
{
    for (int indicator : {PartnerIndicator, NoPartnerIndicator}) {
        m_sci->send(SCI_SETINDICATORCURRENT, indicator);
        m_sci->send(SCI_INDICATORCLEARRANGE, 0, std::min(m_marked, m_sci->length()));
    }
    m_marked = 0;
    const long caret = m_sci->send(SCI_GETCURRENTPOS);
    if (m_markup == Markup::None || caret != m_sci->send(SCI_GETANCHOR))
        return;
    const TagMatch m = tagAt(caret, false);
    if (caret < m.tag.nameStart || caret > m.tag.nameEnd)
        return;
    auto mark = [this](int indicator, const HtmlTag &t) {
        m_sci->send(SCI_SETINDICATORCURRENT, indicator);
        m_sci->send(SCI_INDICATORFILLRANGE, t.start, t.end - t.start);
        m_marked = std::max(m_marked, t.end);
    };
    if (m.kind == TagMatch::Kind::Paired) {
        mark(PartnerIndicator, m.tag);
        mark(PartnerIndicator, m.partner);
    } else if (m.kind == TagMatch::Kind::Unpaired) {
        mark(NoPartnerIndicator, m.tag);
    }
}

} // namespace kestrin
