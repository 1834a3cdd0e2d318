#include "ScriptedPrompter.h"

namespace kestrin::test {

void ScriptedPrompter::answerFile(std::optional<QString> path, int filterIndex)
{
    m_files.enqueue({path, filterIndex});
}

bool ScriptedPrompter::allAnswersUsed() const
{
    return m_questions.isEmpty() && m_choices.isEmpty() && m_inputs.isEmpty() && m_files.isEmpty() && m_fonts.isEmpty()
        && m_colors.isEmpty() && unexpected == 0;
}

Prompter::Answer ScriptedPrompter::askYesNoCancel(QWidget *, const QString &title, const QString &text)
{
    asked.append({QStringLiteral("question"), title, text, Icon::Question, {}});
    if (m_questions.isEmpty()) {
        ++unexpected;
        return Answer::Cancel;
    }
    return m_questions.dequeue();
}

Prompter::Answer ScriptedPrompter::askYesNo(QWidget *, const QString &title, const QString &text)
{
    asked.append({QStringLiteral("yesno"), title, text, Icon::Question, {}, {}});
    if (m_questions.isEmpty()) {
        ++unexpected;
        return Answer::No;
    }
    return m_questions.dequeue();
}

int ScriptedPrompter::choose(QWidget *, Icon icon, const QString &title, const QString &text, const QStringList &buttons)
{
    asked.append({QStringLiteral("choice"), title, text, icon, {}, buttons});
    if (m_choices.isEmpty()) {
        ++unexpected;
        return int(buttons.size()) - 1;
    }
    return m_choices.dequeue();
}

void ScriptedPrompter::message(QWidget *, Icon icon, const QString &title, const QString &text)
{
    asked.append({QStringLiteral("message"), title, text, icon, {}});
}

std::optional<QString> ScriptedPrompter::inputText(QWidget *, const QString &title, const QString &prompt)
{
    asked.append({QStringLiteral("input"), title, prompt, Icon::Question, {}});
    if (m_inputs.isEmpty()) {
        ++unexpected;
        return std::nullopt;
    }
    return m_inputs.dequeue();
}

std::optional<Prompter::FileAnswer> ScriptedPrompter::chooseFile(QWidget *, const FileRequest &request)
{
    Asked a{QStringLiteral("file"), request.title, request.filter, Icon::Question, request};
    asked.append(a);
    if (m_files.isEmpty()) {
        ++unexpected;
        return std::nullopt;
    }
    const auto [path, index] = m_files.dequeue();
    if (!path)
        return std::nullopt;
    return FileAnswer{*path, index > 0 ? index : request.filterIndex};
}

std::optional<QFont> ScriptedPrompter::chooseFont(QWidget *, const QFont &)
{
    asked.append({QStringLiteral("font"), {}, {}, Icon::Question, {}});
    if (m_fonts.isEmpty()) {
        ++unexpected;
        return std::nullopt;
    }
    return m_fonts.dequeue();
}

std::optional<QColor> ScriptedPrompter::chooseColor(QWidget *, const QColor &)
{
    asked.append({QStringLiteral("color"), {}, {}, Icon::Question, {}});
    if (m_colors.isEmpty()) {
        ++unexpected;
        return std::nullopt;
    }
    return m_colors.dequeue();
}

} // namespace kestrin::test
