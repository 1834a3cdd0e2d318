// The floor of a Qt start-up on this machine, for the start-up figure: an empty main window with a
// menu bar and a Scintilla editor, nothing of ours. The bench times it from launch to its window
// being mapped, as it times kestrin4.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <ScintillaEditBase.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Empty Qt window"));
    window.menuBar()->addMenu(QStringLiteral("File"));
    window.setCentralWidget(new ScintillaEditBase);
    window.resize(800, 600);
    window.show();
    return app.exec();
}
