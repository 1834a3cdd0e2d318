// One save or one replace run in a process of its own, for the shim to stop at any write or rename.
//   safety_worker save <file> <file-with-the-new-text>
//   safety_worker replace <folder> <find> <replacement>   over the folder's web-source files
// Exit status: 0 done, 3 the program reported a failure (its words on stderr), 2 bad usage.
#include "ScriptedPrompter.h"
#include "editor/component/CodeEdit.h"
#include "replace/ReplacePaths.h"
#include "replace/frmReplace.h"

#include <QtWidgets>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4 && args.size() != 5) return 2;
    kestrin::test::ScriptedPrompter prompter;
    bool done = false;
    if (args[1] == QLatin1String("save")) {
        QFile source(args[3]);
        kestrin::CodeEdit editor;
        if (!source.open(QIODevice::ReadOnly)) return 2;
        (void)editor.LoadFile(args[2]); // a file that cannot be loaded is saved as a new one
        editor.setText(source.readAll());
        done = editor.SaveFile(args[2]);
        if (!done) std::fprintf(stderr, "save failed: %s\n", qPrintable(editor.document()->lastError()));
    } else {
        kestrin::frmReplace window;
        for (const QString &name : kestrin::matchingFiles(args[2], kestrin::webSourcePattern()))
            window.List1->addItem(kestrin::listEntry(args[2], name));
        window.Text1->setText(args[3]);
        window.Text2->setText(args[4]);
        QEventLoop ended;
        QObject::connect(&window, &kestrin::frmReplace::runFinished, &ended, &QEventLoop::quit);
        window.startReplace();
        if (window.isRunning()) ended.exec();
        done = window.List1->count() == 0;
        std::fprintf(stderr, "listed: %d\n", int(window.List1->count())); // the files not changed stay listed
    }
    for (const auto &asked : prompter.asked) std::fprintf(stderr, "message: %s\n", qPrintable(asked.text));
    return done && prompter.asked.isEmpty() ? 0 : 3;
}
