#pragma once
// A Prompter whose answers a test queues in advance; every question is recorded so the test can
// check titles and texts. An unexpected question fails loudly instead of blocking on a dialog.
#include "common/Desktop.h"
#include "common/Prompter.h"

#include <QList>
#include <QQueue>
#include <QVariant>

namespace kestrin::test {

class ScriptedPrompter final : public Prompter {
public:
    struct Asked {
        QString kind;  // "question", "yesno", "choice", "message", "input", "file", "font", "color"
        QString title;
        QString text;
        Icon icon = Icon::Information;
        FileRequest file; // for "file"
        QStringList buttons; // for "choice"
    };

    ScriptedPrompter() { Prompter::setInstance(this); }
    ~ScriptedPrompter() override { Prompter::setInstance(nullptr); }

    // Queue answers; nullopt / empty means Cancel for the optional kinds.
    // Answers askYesNoCancel and askYesNo, in the order asked.
    void answerQuestion(Answer a) { m_questions.enqueue(a); }
    // The index of the button choose presses.
    void answerChoice(int index) { m_choices.enqueue(index); }
    void answerInput(std::optional<QString> a) { m_inputs.enqueue(a); }
    void answerFile(std::optional<QString> path, int filterIndex = -1);
    void answerFont(std::optional<QFont> f) { m_fonts.enqueue(f); }
    void answerColor(std::optional<QColor> c) { m_colors.enqueue(c); }

    QList<Asked> asked;           // everything asked, in order
    int unexpected = 0;           // questions asked with no answer queued (answered Cancel)
    bool allAnswersUsed() const;

    Answer askYesNoCancel(QWidget *, const QString &title, const QString &text) override;
    Answer askYesNo(QWidget *, const QString &title, const QString &text) override;
    int choose(QWidget *, Icon icon, const QString &title, const QString &text, const QStringList &buttons) override;
    void message(QWidget *, Icon icon, const QString &title, const QString &text) override;
    std::optional<QString> inputText(QWidget *, const QString &title, const QString &prompt) override;
    std::optional<FileAnswer> chooseFile(QWidget *, const FileRequest &request) override;
    std::optional<QFont> chooseFont(QWidget *, const QFont &initial) override;
    std::optional<QColor> chooseColor(QWidget *, const QColor &initial) override;

private:
    QQueue<Answer> m_questions;
    QQueue<int> m_choices;
    QQueue<std::optional<QString>> m_inputs;
    QQueue<std::pair<std::optional<QString>, int>> m_files;
    QQueue<std::optional<QFont>> m_fonts;
    QQueue<std::optional<QColor>> m_colors;
};

// Records the processes the program asks to start instead of starting them.
class RecordingDesktop final : public Desktop {
public:
    RecordingDesktop() { Desktop::setInstance(this); }
    ~RecordingDesktop() override { Desktop::setInstance(nullptr); }
    bool startDetached(const QString &program, const QStringList &arguments) override
    {
        started.append({program, arguments});
        return result;
    }
    QList<std::pair<QString, QStringList>> started;
    bool result = true;
};

} // namespace kestrin::test
