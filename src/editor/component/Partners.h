#pragma once
// Matching tags and braces in the editor: the tag at the caret and its partner highlighted once the
// caret has settled, Ctrl+E to the partner (of the tag, else of the brace at the caret) and
// Ctrl+Shift+E to select up to it, and the closing tag offered when "</" is typed.
#include "TagMatch.h"

#include <QObject>
#include <QTimer>

class QKeyEvent;

namespace Scintilla { struct NotificationData; }

namespace kestrin {

class SciEditor;

class Partners : public QObject {
    Q_OBJECT
public:
    // What the document's tags are: none (style sheets, scripts), HTML, HTML with template code.
    enum class Markup { None, Html, Template };
    static Markup markupFor(const QString &path);

    explicit Partners(SciEditor *sci);
    void setMarkup(Markup markup);

    // The tag at pos and its partner; with colourise, text not coloured yet is coloured first.
    TagMatch tagAt(long pos, bool colourise) const;
    // Ctrl+E (select false) and Ctrl+Shift+E; false when there is no partner to go to.
    bool goToPartner(bool select);

    // The list that offers the closing tag.
    static constexpr int ClosingTagList = 1;
    // The highlight waits this long after the last caret move or change.
    static constexpr int SettleMs = 150;
    static constexpr int PartnerIndicator = 8, NoPartnerIndicator = 9;

private:
    bool handleKey(QKeyEvent *e);
    void onNotify(Scintilla::NotificationData *n);
    void offerClosingTag();
    void closeElement(const QByteArray &name);
    void highlight();
    TagMatch matchIn(long from, long to, long pos, bool colourise) const;

    SciEditor *m_sci;
    QTimer m_settle;
    Markup m_markup = Markup::Html;
    long m_marked = 0; // the highlight covers positions below this
};

} // namespace kestrin
