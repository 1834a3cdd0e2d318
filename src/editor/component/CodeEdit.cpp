#include "CodeEdit.h"

#include "EditorAccessible.h"
#include "FindReplaceDialog.h"
#include "Partners.h"
#include "SciEditor.h"
#include "StyleScheme.h"
#include "common/Clipboard.h"
#include "textutil/Utf8.h"

#include <QPointer>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrin {

namespace {

// What marks a problem: a red dot in the symbol margin, a red squiggle under the line's text, and
// the message in dark red on pale red below it.
constexpr int ProblemMarker = 1, ProblemIndicator = 10, ProblemStyle = 250, ProblemMarginWidth = 16;

// The document's text as the engine holds it, with the engine's undo history and save point.
class EngineStore : public TextStore {
public:
    EngineStore(CodeEdit *view, SciEditor *sci) : m_view(view), m_sci(sci) {}
    std::unique_ptr<Loader> loader() override { return m_sci->loader(); }
    QByteArray view() const override
    {
        // Gathers the text into one block (moving the gap once) and hands out the engine's buffer.
        const char *p = reinterpret_cast<const char *>(m_sci->send(SCI_GETCHARACTERPOINTER));
        return QByteArray::fromRawData(p, m_sci->length());
    }
    void replace(const QByteArray &utf8) override { m_view->setText(utf8); }
    void rewrite(const Rewrite &rewrite, qsizetype resultBytes) override
    {
        m_view->rewriteText(rewrite, resultBytes, CodeEdit::BlockBytes, true);
    }
    qint64 length() const override { return m_sci->length(); }
    bool isModified() const override { return m_sci->send(SCI_GETMODIFY) != 0; }
    void setSavePoint() override { m_sci->send(SCI_SETSAVEPOINT); }
    void forgetSavePoint() override { m_sci->send(SCI_SETUNDOSAVEPOINT, -1); }

private:
    CodeEdit *m_view;
    SciEditor *m_sci;
};

// The engine's changes, as it makes them, to the document's journal.
class JournalFeed : public SciEditor::ChangeFeed {
public:
    explicit JournalFeed(Document &doc) : m_doc(doc) {}
    void changing() override { m_doc.textChanging(); }
    void inserted(long pos, const char *text, long n) override { m_doc.textInserted(pos, text, n); }
    void removed(long pos, long n) override { m_doc.textRemoved(pos, n); }

private:
    Document &m_doc;
};

} // namespace

struct CodeEdit::Private {
    explicit Private(CodeEdit *q) : sci(new SciEditor(q)), scheme(sci), store(q, sci) { doc.bind(&store); }
    ~Private() { doc.bind(nullptr); }
    SciEditor *sci;
    StyleScheme scheme;
    Document doc;
    EngineStore store;
    JournalFeed feed{doc};
    QPointer<FindReplaceDialog> dialog;
    FindRequest lastFind;
    bool hasLastFind = false;

    long send(unsigned int msg, unsigned long w = 0, long l = 0) const { return sci->send(msg, w, l); }
};

CodeEdit::CodeEdit(QWidget *parent) : QWidget(parent), d(new Private(this))
{
    installEditorAccessible();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d->sci);
    setFocusProxy(d->sci);
    d->sci->setAccessibleName(tr("Document text"));
    d->sci->setEolMode(d->doc.lineEndStyle());
    d->doc.trackDisk(true);
    connect(d->sci, &ScintillaEditBase::savePointChanged, &d->doc, &Document::storeModifiedChanged);
    auto *partners = new Partners(d->sci);
    connect(&d->doc, &Document::pathChanged, partners,
            [partners](const QString &path) { partners->setMarkup(Partners::markupFor(path)); });

    // Copy and paste reach the component through the window's KeyDown handler; the component's
    // own bindings would do them a second time. Ctrl+X belongs to the window's Exit.
    for (int key : {int('C'), int('V'), int('X'), int(SCK_INSERT)})
        d->send(SCI_CLEARCMDKEY, key + (SCMOD_CTRL << 16));

    connect(d->sci, &SciEditor::keyDown, this, &CodeEdit::KeyDown);
    connect(d->sci, &SciEditor::keystrokeChanged, this, &CodeEdit::KeyEvent);
    connect(d->sci, &SciEditor::overtypeToggled, this, &CodeEdit::overtypeChanged);
    connect(d->sci, &SciEditor::changed, this, &CodeEdit::documentChanged);
    connect(d->sci, &SciEditor::selectionMoved, this, &CodeEdit::SelectionChanged);
}

CodeEdit::~CodeEdit()
{
    delete d->dialog.data();
    // The editor still receives events (hide, focus out) while Qt deletes the children; they
    // must not reach this half-destroyed component.
    disconnect(d->sci, nullptr, this, nullptr);
    d->sci->setChangeFeed(nullptr);
    delete d->sci;
    delete d;
}

QByteArray CodeEdit::Text() const
{
    return d->sci->range(0, d->sci->length());
}

QByteArray CodeEdit::textView() const { return d->store.view(); }

bool CodeEdit::rewriteText(const TextStore::Rewrite &rewrite, qsizetype resultBytes, qsizetype blockBytes, bool followCaret)
{
    // On a large document such a command is dominated by memory touched for the first time: a
    // copy of the text, the rewritten copy, Scintilla's regrown buffers, the undo copies. Block by
    // block there is no whole copy, and with the room made first, the buffers given up are reused
    // for the undo copies. The gap of Scintilla's buffer follows the edits, so nothing is moved.
    SciEditor *sci = d->sci;
    const long block = long(std::max<qsizetype>(blockBytes, 4));
    const long caret = sci->send(SCI_GETCURRENTPOS);
    long moved = 0; // how much the text before the caret grew
    long length = sci->length();
    return sci->edit([&] {
        sci->send(SCI_ALLOCATE, long(resultBytes) + SciEditor::AllocationSlack);
        bool changed = false;
        for (long pos = 0; pos < length;) {
            // Never cut inside a character; a caret that keeps its character gets a cut of its own.
            const bool beforeCaret = followCaret && pos < caret + moved;
            const long end = std::min(sci->characterStart(std::min(pos + block, length)), beforeCaret ? caret + moved : length);
            // The gap sits at pos, so the range is read in place.
            const char *p = reinterpret_cast<const char *>(sci->send(SCI_GETRANGEPOINTER, pos, end - pos));
            const QByteArray in = QByteArray::fromRawData(p, end - pos);
            const QByteArray out = rewrite(in);
            if (out.isSharedWith(in)) {
                pos = end;
                continue;
            }
            changed = true;
            sci->replace(pos, end, out);
            length += long(out.size()) - (end - pos);
            moved += beforeCaret ? long(out.size()) - (end - pos) : 0;
            pos += long(out.size());
        }
        // The caret where it was, or after the same character; on a character boundary.
        return changed ? caret + moved : SciEditor::NoChange;
    });
}

void CodeEdit::setText(const QByteArray &utf8)
{
    SciEditor *sci = d->sci;
    const long caret = sci->send(SCI_GETCURRENTPOS);
    sci->edit([&] {
        // Room for the new text before the old goes: otherwise the insertion into the emptied buffer
        // would grow it to old + new + a sixth, for the text and again for its styles.
        sci->send(SCI_ALLOCATE, utf8.size() + SciEditor::AllocationSlack);
        sci->replace(0, sci->length(), utf8);
        return caret; // where it was, on a character boundary
    });
}

QByteArray CodeEdit::SelectedText() const
{
    return d->sci->range(d->send(SCI_GETSELECTIONSTART), d->send(SCI_GETSELECTIONEND));
}

QByteArray CodeEdit::selectedTextHead(qsizetype maxBytes) const
{
    const long start = d->send(SCI_GETSELECTIONSTART);
    const long end = d->send(SCI_GETSELECTIONEND);
    return d->sci->range(start, std::min<long>(end, start + long(std::max<qsizetype>(maxBytes, 0))));
}

void CodeEdit::setSelectedText(const QByteArray &utf8)
{
    SciEditor *sci = d->sci;
    const long start = sci->send(SCI_GETSELECTIONSTART);
    const long end = sci->send(SCI_GETSELECTIONEND);
    if (end - start == utf8.size() && sci->range(start, end) == utf8)
        return;
    sci->edit([&] { return start + sci->replace(start, end, utf8); });
}

bool CodeEdit::CanUndo() const { return d->send(SCI_CANUNDO) != 0; }
bool CodeEdit::CanRedo() const { return d->send(SCI_CANREDO) != 0; }
void CodeEdit::Undo() { undoStep(SCI_CANUNDO, SCI_UNDO); }
void CodeEdit::Redo() { undoStep(SCI_CANREDO, SCI_REDO); }

void CodeEdit::undoStep(unsigned int can, unsigned int step)
{
    if (d->send(can))
        d->sci->edit([&] {
            d->send(step);
            return SciEditor::KeepCaret;
        });
}

void CodeEdit::ExecuteCommand(EditorCommand command)
{
    switch (command) {
    case EditorCommand::SelectAll: d->send(SCI_SELECTALL); break;
    case EditorCommand::Paste:
        // Plain text only, in the document's line ends; an empty clipboard deletes the selection.
        setSelectedText(convertLineEnds(clipboardText(), d->doc.lineEndStyle()));
        d->send(SCI_SCROLLCARET);
        break;
    case EditorCommand::ReplaceDialog: showFindDialog(true); break;
    case EditorCommand::FindNext:
        if (d->hasLastFind)
            findNext(d->lastFind);
        else
            showFindDialog(false);
        break;
    case EditorCommand::FindDialog: showFindDialog(false); break;
    case EditorCommand::Copy:
        if (const QByteArray text = SelectedText(); !text.isEmpty())
            putOnClipboard(text);
        break;
    case EditorCommand::ShowCaret: d->send(SCI_SCROLLCARET); break;
    }
    d->sci->settle();
}

// The current selection: after a successful find it is the text found, and in every case writing
// it back to SelectedText changes nothing.
QByteArray CodeEdit::value33() const { return SelectedText(); }

bool CodeEdit::findNext(const FindRequest &request)
{
    d->lastFind = request;
    d->hasLastFind = true;
    return kestrin::findNext(*d->sci, request);
}

bool CodeEdit::replaceNext(const FindRequest &request)
{
    replaceSelectedMatch(*d->sci, request);
    return findNext(request);
}

qint64 CodeEdit::replaceAll(const FindRequest &request)
{
    d->lastFind = request;
    d->hasLastFind = true;
    return replaceAllMatches(*d->sci, request);
}

void CodeEdit::showFindDialog(bool replace)
{
    if (!d->dialog)
        d->dialog = new FindReplaceDialog(this);
    QByteArray seed = SelectedText();
    if (seed.contains('\n') || seed.contains('\r') || seed.size() > 200)
        seed.clear();
    d->dialog->present(replace, QString::fromUtf8(seed));
}

Document *CodeEdit::document() const { return &d->doc; }

void CodeEdit::markProblem(qint64 line, const QString &message)
{
    clearProblem();
    const long at = long(std::clamp<qint64>(line, 1, d->send(SCI_GETLINECOUNT))) - 1;
    d->send(SCI_MARKERDEFINE, ProblemMarker, SC_MARK_CIRCLE);
    d->send(SCI_MARKERSETFORE, ProblemMarker, 0x0000A0);
    d->send(SCI_MARKERSETBACK, ProblemMarker, 0x0000E0); // BGR: red
    d->send(SCI_SETMARGINWIDTHN, 1, ProblemMarginWidth);
    d->send(SCI_MARKERADD, at, ProblemMarker);
    d->send(SCI_INDICSETSTYLE, ProblemIndicator, INDIC_SQUIGGLE);
    d->send(SCI_INDICSETFORE, ProblemIndicator, 0x0000E0);
    d->send(SCI_SETINDICATORCURRENT, ProblemIndicator);
    const long start = d->send(SCI_GETLINEINDENTPOSITION, at), end = d->send(SCI_GETLINEENDPOSITION, at);
    d->send(SCI_INDICATORFILLRANGE, start, end - start);
    d->send(SCI_STYLESETFORE, ProblemStyle, 0x000080);
    d->send(SCI_STYLESETBACK, ProblemStyle, 0xE0E0FF);
    d->sci->send(SCI_ANNOTATIONSETTEXT, at, message.toUtf8().constData());
    d->send(SCI_ANNOTATIONSETSTYLE, at, ProblemStyle);
    d->send(SCI_ANNOTATIONSETVISIBLE, ANNOTATION_BOXED);
    d->sci->setAccessibleDescription(message);
}

void CodeEdit::clearProblem()
{
    // The annotation is on the marker's line (both move with it); clearing every line's would
    // cost a notification per line, 20 ms on a 1 MB page.
    const long line = d->send(SCI_MARKERNEXT, 0, 1 << ProblemMarker);
    if (line < 0 && d->sci->accessibleDescription().isEmpty())
        return;
    if (line >= 0)
        d->send(SCI_ANNOTATIONSETTEXT, line, 0L);
    d->send(SCI_MARKERDELETEALL, ProblemMarker);
    d->send(SCI_SETMARGINWIDTHN, 1, 0L);
    d->send(SCI_SETINDICATORCURRENT, ProblemIndicator);
    d->send(SCI_INDICATORCLEARRANGE, 0, d->sci->length());
    d->sci->setAccessibleDescription(QString());
}

qint64 CodeEdit::problemLine() const { return d->send(SCI_MARKERNEXT, 0, 1 << ProblemMarker) + 1; }

void CodeEdit::keepJournalIn(const QString &folder)
{
    d->doc.keepJournalIn(folder);
    d->sci->setChangeFeed(folder.isEmpty() ? nullptr : &d->feed);
}

bool CodeEdit::recover(JournalFile file, const JournalContents &contents)
{
    return d->doc.recover(std::move(file), contents);
}

bool CodeEdit::reloadFile()
{
    const QString path = d->doc.path();
    const long line = d->send(SCI_LINEFROMPOSITION, d->send(SCI_GETCURRENTPOS));
    const long top = d->send(SCI_GETFIRSTVISIBLELINE);
    if (!d->doc.load(path))
        return false;
    GoToLine(line + 1);
    d->send(SCI_SETFIRSTVISIBLELINE, top);
    return true;
}

bool CodeEdit::GoToLine(qint64 line, bool)
{
    if (line < 1)
        return false;
    const long lines = d->send(SCI_GETLINECOUNT);
    const long target = long(std::min<qint64>(line, lines)) - 1;
    d->send(SCI_ENSUREVISIBLEENFORCEPOLICY, target);
    d->send(SCI_GOTOLINE, target);
    d->sci->settle();
    return true;
}

void CodeEdit::setLanguage(const QString &language) { d->scheme.setLanguage(language); }
void CodeEdit::SetItemColor(StyleItem item, quint32 colorBGR) { d->scheme.setItemColor(item, colorBGR); }
void CodeEdit::SetItemFontStyle(StyleItem item, FontStyle style) { d->scheme.setItemFontStyle(item, style); }
void CodeEdit::setSetting(EditorSetting setting, const QVariant &value) { d->scheme.setSetting(setting, value); }
QVariant CodeEdit::setting(EditorSetting setting) const { return d->scheme.setting(setting); }
void CodeEdit::setEditorFont(const QString &family, int pixelHeight) { d->scheme.setFont(family, pixelHeight); }

bool CodeEdit::isOvertype() const { return d->sci->overwriteMode(); }
qint64 CodeEdit::length() const { return d->sci->length(); }
QWidget *CodeEdit::editorWidget() const { return d->sci; }

} // namespace kestrin
