#pragma once
// A Prompter whose answers a test queues in advance; every question is recorded so the test can
// check titles and texts. An unexpected question is counted and cancelled instead of blocking.
#include "common/Desktop.h"
#include "common/Prompter.h"

#include <QList>
#include <QQueue>
#include <type_traits>

namespace kestrin::test {

class ScriptedPrompter final : public Prompter {
public:
    struct Asked {
        QString kind; // "question", "yesno", "choice", "message", "input", "file", "font", "color"
        QString title, text;
        Icon icon = Icon::Information;
        FileRequest file;    // for "file"
        QStringList buttons; // for "choice"
        QString note;        // for "message"
    };

    ScriptedPrompter() { Prompter::setInstance(this); }
    ~ScriptedPrompter() override { Prompter::setInstance(nullptr); }

    // Answers, used in the order asked; nullopt means Cancel.
    void answerQuestion(Answer a) { m_questions.enqueue(a); } // askYesNoCancel and askYesNo
    void answerChoice(int index) { m_choices.enqueue(index); } // the index of the button pressed
    void answerInput(std::optional<QString> a) { m_inputs.enqueue(a); }
    void answerFile(std::optional<QString> path, int filterIndex = -1) { m_files.enqueue({path, filterIndex}); }
    void answerFont(std::optional<QFont> f) { m_fonts.enqueue(f); }
    void answerColor(std::optional<QColor> c) { m_colors.enqueue(c); }

    QList<Asked> asked; // everything asked, in order
    int unexpected = 0; // questions asked with no answer queued (answered Cancel)
    bool allAnswersUsed() const
    {
        return m_questions.isEmpty() && m_choices.isEmpty() && m_inputs.isEmpty() && m_files.isEmpty()
            && m_fonts.isEmpty() && m_colors.isEmpty() && unexpected == 0;
    }

    Answer askYesNoCancel(QWidget *, const QString &title, const QString &text) override
    { return next(m_questions, Answer::Cancel, {"question", title, text, Icon::Question}); }
    Answer askYesNo(QWidget *, const QString &title, const QString &text) override
    { return next(m_questions, Answer::No, {"yesno", title, text, Icon::Question}); }
    int choose(QWidget *, Icon icon, const QString &title, const QString &text, const QStringList &buttons) override
    { return next(m_choices, int(buttons.size()) - 1, {"choice", title, text, icon, {}, buttons}); }
    void message(QWidget *, Icon icon, const QString &title, const QString &text, const QString &note) override
    { asked.append({"message", title, text, icon, {}, {}, note}); }
    std::optional<QString> inputText(QWidget *, const QString &title, const QString &prompt) override
    { return next(m_inputs, {}, {"input", title, prompt, Icon::Question}); }
    std::optional<FileAnswer> chooseFile(QWidget *, const FileRequest &request) override
    {
        const auto [path, index] = next(m_files, {}, {"file", request.title, request.filter, Icon::Question, request});
        return path ? std::optional(FileAnswer{*path, index > 0 ? index : request.filterIndex}) : std::nullopt;
    }
    std::optional<QFont> chooseFont(QWidget *, const QFont &) override { return next(m_fonts, {}, {"font", {}, {}, Icon::Question}); }
    std::optional<QColor> chooseColor(QWidget *, const QColor &) override { return next(m_colors, {}, {"color", {}, {}, Icon::Question}); }

private:
    template <typename T>
    T next(QQueue<T> &answers, const std::type_identity_t<T> &cancel, const Asked &question)
    {
        asked.append(question);
        return answers.isEmpty() ? (++unexpected, cancel) : answers.dequeue();
    }

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
    { return started.append({program, arguments}), result; }
    QList<std::pair<QString, QStringList>> started;
    bool result = true;
};

} // namespace kestrin::test
