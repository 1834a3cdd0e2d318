// One save or one multi-file run in a process of its own, so that a data-safety test can stop it
// at any write or rename (through the preloaded shim) and then look at what is left on disk.
//   safety_worker save <file> <file-with-the-new-text>   load, change the whole text, Save
//   safety_worker replace <folder> <find> <replacement>  the replace window's run over the
//                                                        folder's web-source files
//   safety_worker add <folder> <text> end|begin          the replace window's add-text run
//   safety_worker plainsave <file> <file-with-the-new-text> an unsafe in-place rewrite, the
//                                                        control that shows the tests can see a mix
// Exit status: 0 done, 3 the program reported a failure (its words on stderr), 2 bad usage.
#include "common/Prompter.h"
#include "editor/component/CodeEdit.h"
#include "replace/ReplacePaths.h"
#include "replace/frmReplace.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <cstdio>

namespace {

// Never opens a dialog: a message is the program reporting a failure; anything else is cancelled.
class ReportingPrompter final : public kestrin::Prompter {
public:
    int messages = 0;
    Answer askYesNoCancel(QWidget *, const QString &, const QString &) override { return Answer::Cancel; }
    Answer askYesNo(QWidget *, const QString &, const QString &) override { return Answer::No; }
    int choose(QWidget *, Icon, const QString &, const QString &, const QStringList &b) override { return int(b.size()) - 1; }
    void message(QWidget *, Icon, const QString &title, const QString &text) override
    {
        ++messages;
        std::fprintf(stderr, "message: %s: %s\n", qPrintable(title), qPrintable(text));
    }
    std::optional<QString> inputText(QWidget *, const QString &, const QString &) override { return std::nullopt; }
    std::optional<FileAnswer> chooseFile(QWidget *, const FileRequest &) override { return std::nullopt; }
    std::optional<QFont> chooseFont(QWidget *, const QFont &) override { return std::nullopt; }
    std::optional<QColor> chooseColor(QWidget *, const QColor &) override { return std::nullopt; }
};

int save(const QString &path, const QString &newTextFile)
{
    QFile source(newTextFile);
    if (!source.open(QIODevice::ReadOnly))
        return 2;
    const QByteArray text = source.readAll();
    kestrin::CodeEdit editor;
    if (!editor.LoadFile(path)) {
        std::fprintf(stderr, "load failed: %s\n", qPrintable(editor.lastError()));
        return 3;
    }
    editor.setText(text);
    if (!editor.SaveFile(path, kestrin::SaveMode::Durable)) {
        std::fprintf(stderr, "save failed: %s\n", qPrintable(editor.lastError()));
        return 3;
    }
    return 0;
}

int plainSave(const QString &path, const QString &newTextFile)
{
    QFile source(newTextFile);
    QFile target(path);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 3;
    const QByteArray text = source.readAll();
    // In pieces, as a program that streams its output would.
    for (qsizetype at = 0; at < text.size(); at += 4096) {
        if (target.write(text.mid(at, 4096)) < 0 || !target.flush())
            return 3;
    }
    return 0;
}

int run(const QString &mode, const QString &folder, const QString &a, const QString &b)
{
    ReportingPrompter prompter;
    kestrin::Prompter::setInstance(&prompter);
    auto *window = new kestrin::frmReplace;
    for (const QString &name : kestrin::matchingFiles(folder, kestrin::webSourcePattern()))
        window->List1->addItem(kestrin::listEntry(folder, name));
    if (mode == QLatin1String("replace")) {
        window->Text1->setText(a);
        window->Text2->setText(b);
        window->ReplaceRun();
    } else {
        window->Text3->setText(a);
        (b == QLatin1String("begin") ? window->Option2 : window->Option1)->setChecked(true);
        window->AddTextRun();
    }
    const bool listEmptied = window->List1->count() == 0;
    delete window;
    kestrin::Prompter::setInstance(nullptr);
    return prompter.messages == 0 && listEmptied ? 0 : 3;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("save"))
        return save(args[2], args[3]);
    if (args.size() == 4 && args[1] == QLatin1String("plainsave"))
        return plainSave(args[2], args[3]);
    if (args.size() == 5 && (args[1] == QLatin1String("replace") || args[1] == QLatin1String("add")))
        return run(args[1], args[2], args[3], args[4]);
    std::fprintf(stderr, "usage: safety_worker save <file> <new-text> | replace <folder> <find> <with> | add <folder> <text> end|begin\n");
    return 2;
}
