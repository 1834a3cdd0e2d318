#include "Prompter.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace kestrin {

QStringList qtFilterList(const QString &windowsFilter)
{
    QStringList result;
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (patterns == QLatin1String("*.*"))
            patterns = QStringLiteral("*");
        result << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return result;
}

namespace {

QMessageBox::Icon messageIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information: return QMessageBox::Information;
    case Prompter::Icon::Question: return QMessageBox::Question;
    case Prompter::Icon::Warning: return QMessageBox::Warning;
    case Prompter::Icon::Critical: return QMessageBox::Critical;
    }
    return QMessageBox::Information;
}

class DialogPrompter final : public Prompter {
public:
    Answer askYesNoCancel(QWidget *parent, const QString &title, const QString &text) override
    {
        QMessageBox box(QMessageBox::Question, title, text,
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
        box.setDefaultButton(QMessageBox::Yes);
        switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        default: return Answer::Cancel;
        }
    }

    Answer askYesNo(QWidget *parent, const QString &title, const QString &text) override
    {
        QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }

    int choose(QWidget *parent, Icon icon, const QString &title, const QString &text, const QStringList &buttons) override
    {
        QMessageBox box(messageIcon(icon), title, text, QMessageBox::NoButton, parent);
        QList<QAbstractButton *> pushed;
        for (qsizetype i = 0; i < buttons.size(); ++i) {
            const bool last = i + 1 == buttons.size();
            QPushButton *b = box.addButton(buttons[i], last ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
            b->setAccessibleName(buttons[i]);
            pushed.append(b);
        }
        if (!pushed.isEmpty()) {
            box.setDefaultButton(qobject_cast<QPushButton *>(pushed.constFirst()));
            box.setEscapeButton(pushed.constLast());
        }
        box.exec();
        const qsizetype index = pushed.indexOf(box.clickedButton());
        return int(index >= 0 ? index : buttons.size() - 1);
    }

    void message(QWidget *parent, Icon icon, const QString &title, const QString &text, const QString &note) override
    {
        QMessageBox box(messageIcon(icon), title, text, QMessageBox::Ok, parent);
        box.setInformativeText(note);
        box.exec();
    }

    std::optional<QString> inputText(QWidget *parent, const QString &title, const QString &prompt) override
    {
        bool ok = false;
        const QString answer = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, QString(), &ok);
        if (!ok)
            return std::nullopt;
        return answer;
    }

    std::optional<FileAnswer> chooseFile(QWidget *parent, const FileRequest &request) override
    {
        QFileDialog dialog(parent, request.title);
        dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        const QStringList filters = qtFilterList(request.filter);
        dialog.setNameFilters(filters);
        if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
            dialog.selectNameFilter(filters[request.filterIndex - 1]);
        if (!request.fileName.isEmpty())
            dialog.selectFile(request.fileName);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        FileAnswer answer;
        answer.path = dialog.selectedFiles().constFirst();
        answer.filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
        if (answer.filterIndex < 1)
            answer.filterIndex = request.filterIndex;
        return answer;
    }

    std::optional<QFont> chooseFont(QWidget *parent, const QFont &initial) override
    {
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, initial, parent);
        if (!ok)
            return std::nullopt;
        return font;
    }

    std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial) override
    {
        const QColor color = QColorDialog::getColor(initial, parent);
        if (!color.isValid())
            return std::nullopt;
        return color;
    }
};

} // namespace

template <> Prompter &Swappable<Prompter>::real()
{
    static DialogPrompter real;
    return real;
}

} // namespace kestrin
