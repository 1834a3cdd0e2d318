#pragma once
// The benchmark drivers' stand-in for message and file dialogs: nothing waits for a box nobody
// could close; a message goes to stderr, and a question gets the answer the driver chose.
#include "common/Prompter.h"

#include <cstdio>

namespace kestrin::bench {

class StderrPrompter final : public Prompter {
public:
    explicit StderrPrompter(Answer answer) : m_answer(answer) {}
    Answer askYesNoCancel(QWidget *, const QString &, const QString &) override { return m_answer; }
    Answer askYesNo(QWidget *, const QString &, const QString &) override { return m_answer; }
    int choose(QWidget *, Icon, const QString &, const QString &, const QStringList &b) override { return int(b.size()) - 1; }
    void message(QWidget *, Icon, const QString &title, const QString &text, const QString &) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
    std::optional<QString> inputText(QWidget *, const QString &, const QString &) override { return {}; }
    std::optional<FileAnswer> chooseFile(QWidget *, const FileRequest &) override { return {}; }
    std::optional<QFont> chooseFont(QWidget *, const QFont &) override { return {}; }
    std::optional<QColor> chooseColor(QWidget *, const QColor &) override { return {}; }

private:
    Answer m_answer;
};

} // namespace kestrin::bench
