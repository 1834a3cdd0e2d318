// The editor window's file commands (File menu, the save question when closing) and the document path.
#include "frmEdit.h"

#include "EditorStatusBar.h"
#include "common/Desktop.h"
#include "common/Prompter.h"
#include "component/CodeEdit.h"
#include "document/JournalFiles.h"
#include "phpcheck/PhpCheck.h"
#include "textutil/TextTransforms.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLocale>

namespace kestrin {

namespace {

// Translated whole; the translations keep the patterns (tools/check-translations.py sees to it).
const char *const OpenFilter =
    QT_TRANSLATE_NOOP("kestrin::frmEdit", "Supported files|*.htm;*.html;*.php;*.css;*.js;*.tpl|All files|*.*");
const char *const SaveAsFilter = QT_TRANSLATE_NOOP(
    "kestrin::frmEdit", "Html files|*.htm;*.html|Php files|*.php|Css files|*.css|Js files|*.js|Tpl files|*.tpl");
const char *const TxtFilter = QT_TRANSLATE_NOOP("kestrin::frmEdit", "Txt file|*.txt");

} // namespace

QString frmEdit::documentPath() const
{
    const Document *doc = RC->document();
    return doc->isUntitled() ? tr("Untitled") : doc->path();
}

bool frmEdit::isUntitled() const { return RC->document()->isUntitled(); }

bool frmEdit::DocumentModified() const { return RC->document()->isModified(); }

void frmEdit::reportFailure(const QString &what, const QString &path, const QString &reason)
{
    Prompter::instance().message(this, Prompter::Icon::Critical, QString::fromLatin1(AppTitle),
                                 tr("Could not %1 the file %2:\n%3").arg(what, QDir::toNativeSeparators(path), reason));
}

// ---------------------------------------------------------------------------------------------
// File menu

bool frmEdit::askToSave()
{
    if (!DocumentModified())
        return true;
    const auto answer = Prompter::instance().askYesNoCancel(
        this, QString::fromLatin1(AppTitle),
        tr("The file %1 is changed and not saved. Save?").arg(documentPath()));
    switch (answer) {
    case Prompter::Answer::Cancel:
        return false;
    case Prompter::Answer::Yes:
        // The unsaved text may only be dropped once it is really on disk.
        return mnuSave_Click();
    default:
        // The user chose to drop the changes: nothing of them is kept for a later start either.
        RC->document()->discardJournal();
        return true;
    }
}

bool frmEdit::offerRecovery(const QString &path)
{
    const QString folder = recoveryFolderPath();
    QString why;
    if (!QFileInfo::exists(folder) || !prepareRecoveryFolder(folder, &why))
        return false;
    std::vector<OrphanJournal> orphans = findOrphanJournals(folder);
    const QString wanted = journalPathOf(path);
    const auto found = std::find_if(orphans.begin(), orphans.end(),
                                    [&](const OrphanJournal &o) { return path.isEmpty() || o.header.path == wanted; });
    if (found == orphans.end())
        return false;
    const JournalContents contents = found->file.read();
    const QString journalPath = contents.headerRead ? contents.header.path : found->header.path;
    const QString name = journalPath.isEmpty() ? tr("Untitled") : QDir::toNativeSeparators(journalPath);
    const QString when =
        QLocale().toString(QDateTime::fromMSecsSinceEpoch(found->lastChangeMs), QLocale::ShortFormat);
    QString text;
    if (contents.ok) {
        text = tr("Unsaved changes to %1 were kept when the program ended without saving them. The last change "
                  "was made %2.").arg(name, when);
        const DiskStamp now = DiskStamp::of(journalPath);
        if (!journalPath.isEmpty() && found->header.disk.exists() && !now.exists())
            text += QLatin1Char(' ') + tr("The file is no longer on disk.");
        else if (!journalPath.isEmpty() && now != found->header.disk)
            text += QLatin1Char(' ') + tr("The file on disk has changed since.");
        text += QStringLiteral("\n\n") + tr("Recover the changes?");
    } else {
        text = tr("Unsaved changes to %1 were kept (the last change was made %2), but they cannot be "
                  "recovered:\n%3").arg(name, when, contents.reason);
    }
    QStringList buttons{tr("Recover"), tr("Discard"), tr("Cancel")};
    if (!contents.ok)
        buttons.removeFirst();
    const int answer =
        Prompter::instance().choose(this, Prompter::Icon::Question, QString::fromLatin1(AppTitle), text, buttons);
    // A bad journal is offered without Recover.
    const int picked = contents.ok ? answer : answer + 1;
    if (picked == 0)
        return RC->recover(std::move(found->file), contents);
    if (picked == 1)
        found->file.remove();
    return false;
}

void frmEdit::endWithoutQuestion(int exitCode)
{
    RC->document()->keepJournal();
    QCoreApplication::exit(exitCode);
}

void frmEdit::mnuNew_Click()
{
    const QString program = QCoreApplication::applicationFilePath();
    if (!Desktop::instance().startDetached(program, {}))
        Prompter::instance().message(this, Prompter::Icon::Critical, QString::fromLatin1(AppTitle),
                                     tr("Could not start a new window of %1.").arg(QDir::toNativeSeparators(program)));
}

void frmEdit::mnuOpen_Click()
{
    if (!askToSave())
        return;
    Co.CancelError = true;
    Co.Filter = tr(OpenFilter);
    if (!Co.ShowOpen())
        return;
    if (offerRecovery(Co.FileName))
        return;
    open(Co.FileName);
}

void frmEdit::open(const QString &path)
{
    // A failed open leaves the document as it was: binding an unreadable file to an empty text
    // would let the next Save destroy it.
    if (!RC->LoadFile(path))
        reportFailure(tr("open", "Could not %1 the file"), path, RC->document()->lastError());
    else
        RC->clearProblem(); // the marks were the previous file's
}

bool frmEdit::saveTo(const QString &path)
{
    Document *doc = RC->document();
    if (!settleUnencodable(path))
        return false;
    if (!doc->save(path)) {
        reportFailure(tr("save", "Could not %1 the file"), path, doc->lastError());
        return false;
    }
    checkSaved(path);
    return true;
}

void frmEdit::checkSaved(const QString &path)
{
    if (!isPhpDocument(path, RC->textView()))
        return;
    if (!m_phpCheck) {
        m_phpCheck = new PhpCheck(this);
        connect(m_phpCheck, &PhpCheck::checked, this, [this](const QString &checked, PhpCheck::Outcome outcome, const PhpProblem &problem) {
            // A result for a file this window no longer shows is dropped. A check that could not run
            // marks nothing, and takes away the marks of an earlier text: they may no longer hold.
            if (checked != RC->document()->path())
                return;
            if (outcome == PhpCheck::Outcome::Broken)
                RC->markProblem(problem.line, problem.message);
            else
                RC->clearProblem();
        });
    }
    m_phpCheck->check(path);
}

// Characters the file's encoding cannot hold: the user chooses how they are written (the
// language's escapes, the encoding kept), UTF-8 from now on, or no save at all.
bool frmEdit::settleUnencodable(const QString &path)
{
    Document *doc = RC->document();
    const EscapeStyle style = escapeStyleFor(path);
    const Unencodable found = doc->unencodable(style);
    if (found.count == 0)
        return true;
    const QString encoding = tr("%1, the encoding of the file %2")
                                 .arg(doc->encodingName(), QDir::toNativeSeparators(path));
    // One arg() each, so a path with a "%1" in it stays as it is.
    const QString text = found.count == 1
        ? tr("The character %1 on line %2 cannot be written in %3.")
              .arg(describeCharacter(found.first), QString::number(found.line), encoding)
        : tr("%1 characters cannot be written in %2. The first is %3 on line %4.")
              .arg(QString::number(found.count), encoding, describeCharacter(found.first), QString::number(found.line));
    const QStringList buttons{style == EscapeStyle::CharacterReference ? tr("Use character references")
                                                                       : tr("Use escapes"),
                              tr("Save as UTF-8"), tr("Cancel")};
    switch (Prompter::instance().choose(this, Prompter::Icon::Question, QString::fromLatin1(AppTitle), text, buttons)) {
    case 0:
        doc->escapeUnencodable(style);
        return true;
    case 1:
        // Only Windows-1252 lacks characters, and it has no byte-order mark to keep.
        return doc->setEncodingName(QStringLiteral("UTF-8"));
    default:
        return false;
    }
}

bool frmEdit::mnuSave_Click()
{
    if (isUntitled())
        return mnuSaveAs_Click();
    const QString path = RC->document()->path();
    // Never over what another program wrote without asking.
    if (RC->document()->changedOnDisk()
        && Prompter::instance().askYesNo(this, QString::fromLatin1(AppTitle),
                                         tr("The file %1 was changed by another program since it was "
                                            "opened. Overwrite it?").arg(path))
               != Prompter::Answer::Yes)
        return false;
    return saveTo(path);
}

bool frmEdit::mnuSaveAs_Click()
{
    Co.CancelError = true;
    Co.Filter = tr(SaveAsFilter);
    if (!Co.ShowSave())
        return false;
    const QString path = Co.FileName;
    return saveTo(path);
}

void frmEdit::mnuSaveAsTxt_Click()
{
    Co.Filter = tr(TxtFilter);
    if (!Co.ShowSave())
        return;
    const QString path = Co.FileName;
    // The locale's encoding is UTF-8 here, which is what the document holds.
    QString why;
    if (!AtomicFile::write(path, StripTags(RC->document()->text()) + "\r\n", &why))
        reportFailure(tr("save", "Could not %1 the file"), path, why);
}

void frmEdit::mnuExit_Click() { close(); }

void frmEdit::Form_Activate()
{
    // A file another program changed is taken in quietly while there is nothing of the user's to
    // lose; with unsaved changes the question comes at Save.
    if (isUntitled() || DocumentModified() || !RC->document()->changedOnDisk())
        return;
    RC->reloadFile();
}

void frmEdit::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void frmEdit::closeEvent(QCloseEvent *event)
{
    if (!askToSave()) {
        event->ignore();
        return;
    }
    event->accept();
    QMainWindow::closeEvent(event);
}

} // namespace kestrin
