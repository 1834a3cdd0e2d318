#pragma once
// Everything that asks the user goes through a Prompter, so tests can script the answers and
// never block on a modal dialog.
#include "Swappable.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace kestrin {

class Prompter : public Swappable<Prompter> {
public:
    enum class Answer { Yes, No, Cancel, Ok };
    enum class Icon { Information, Question, Warning, Critical };

    struct FileRequest {
        bool save = false;          // save dialog (true) or open dialog (false)
        QString title;              // empty: the platform's own title
        QString filter;             // "Name|*.a;*.b|Other|*.*" as the program writes it
        int filterIndex = 1;        // 1-based position of the filter shown first
        QString fileName;           // starting name, kept from the last dialog
        bool confirmOverwrite = true;
        bool readOnlyTicked = false;
    };
    struct FileAnswer {
        QString path;
        int filterIndex = 1;        // 1-based position the user left the filter on
    };

    virtual ~Prompter() = default;

    // Yes/No/Cancel with the question icon, Yes the default button.
    virtual Answer askYesNoCancel(QWidget *parent, const QString &title, const QString &text) = 0;
    // Yes/No with the question icon; No is the default button, so Return changes nothing.
    virtual Answer askYesNo(QWidget *parent, const QString &title, const QString &text) = 0;
    // A box with one button per caption, in this order; the index of the button pressed. The
    // first is the default button; the last is the one that cancels (Escape and closing the box
    // answer it).
    virtual int choose(QWidget *parent, Icon icon, const QString &title, const QString &text,
                       const QStringList &buttons) = 0;
    // A box with one OK button; a note, when there is one, stands below the text in smaller type.
    virtual void message(QWidget *parent, Icon icon, const QString &title, const QString &text,
                         const QString &note = QString()) = 0;
    // One-line input box; nullopt on Cancel.
    virtual std::optional<QString> inputText(QWidget *parent, const QString &title, const QString &prompt) = 0;
    virtual std::optional<FileAnswer> chooseFile(QWidget *parent, const FileRequest &request) = 0;
    virtual std::optional<QFont> chooseFont(QWidget *parent, const QFont &initial) = 0;
    virtual std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial) = 0;
};
template <> Prompter &Swappable<Prompter>::real();

// Converts "Name|*.a;*.b|All|*.*" into Qt's filter list ("Name (*.a *.b)", "All (*)").
QStringList qtFilterList(const QString &windowsFilter);

} // namespace kestrin
