#include "FindReplaceDialog.h"

#include "CodeEdit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kestrin {

FindReplaceDialog::FindReplaceDialog(CodeEdit *edit) : QDialog(edit), m_edit(edit)
{
    setModal(false);
    setSizeGripEnabled(false);

    auto *findLabel = new QLabel(tr("Find what:"), this);
    m_find = new QLineEdit(this);
    m_find->setAccessibleName(tr("Find what"));
    findLabel->setBuddy(m_find);
    m_replaceLabel = new QLabel(tr("Replace with:"), this);
    m_replace = new QLineEdit(this);
    m_replace->setAccessibleName(tr("Replace with"));
    m_replaceLabel->setBuddy(m_replace);

    m_matchCase = new QCheckBox(tr("Match &case"), this);
    m_wholeWord = new QCheckBox(tr("Match &whole word only"), this);
    m_regex = new QCheckBox(tr("Regular e&xpression"), this);
    m_backwards = new QCheckBox(tr("Search &backwards"), this);
    m_wrap = new QCheckBox(tr("Wrap ar&ound"), this);
    m_wrap->setChecked(true);
    for (QCheckBox *box : {m_matchCase, m_wholeWord, m_regex, m_backwards, m_wrap})
        box->setAccessibleName(box->text().remove(QLatin1Char('&')));

    m_findButton = new QPushButton(tr("&Find Next"), this);
    m_replaceButton = new QPushButton(tr("&Replace"), this);
    m_replaceAllButton = new QPushButton(tr("Replace &All"), this);
    m_closeButton = new QPushButton(tr("Close"), this);
    for (QPushButton *button : {m_findButton, m_replaceButton, m_replaceAllButton, m_closeButton})
        button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    m_findButton->setDefault(true);

    m_status = new QLabel(this);
    m_status->setAccessibleName(tr("Search result"));
    m_status->setMinimumWidth(240);

    auto *fields = new QGridLayout;
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_find, 0, 1);
    fields->addWidget(m_replaceLabel, 1, 0);
    fields->addWidget(m_replace, 1, 1);

    auto *options = new QVBoxLayout;
    for (QCheckBox *box : {m_matchCase, m_wholeWord, m_regex, m_backwards, m_wrap})
        options->addWidget(box);

    auto *left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(options);
    left->addWidget(m_status);
    left->addStretch();

    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {m_findButton, m_replaceButton, m_replaceAllButton, m_closeButton})
        buttons->addWidget(button);
    buttons->addStretch();

    auto *top = new QHBoxLayout(this);
    top->addLayout(left, 1);
    top->addLayout(buttons);

    connect(m_findButton, &QPushButton::clicked, this, &FindReplaceDialog::findNext);
    connect(m_replaceButton, &QPushButton::clicked, this, &FindReplaceDialog::replaceOne);
    connect(m_replaceAllButton, &QPushButton::clicked, this, &FindReplaceDialog::replaceAll);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_find, &QLineEdit::textChanged, this, [this] {
        m_status->clear();
        updateButtons();
    });
    setReplaceMode(false);
}

void FindReplaceDialog::present(bool replaceMode, const QString &seed)
{
    setReplaceMode(replaceMode);
    if (!seed.isEmpty())
        m_find->setText(seed);
    m_status->clear();
    show();
    raise();
    activateWindow();
    m_find->selectAll();
    m_find->setFocus();
    // The window may give its editor the focus right after opening the dialog; take it back
    // once that has happened, so the user can type the text to find at once.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) {
            activateWindow();
            m_find->setFocus();
        }
    });
}

QString FindReplaceDialog::statusText() const { return m_status->text(); }

void FindReplaceDialog::setReplaceMode(bool on)
{
    m_replaceMode = on;
    setWindowTitle(on ? tr("Replace") : tr("Find"));
    m_replaceLabel->setVisible(on);
    m_replace->setVisible(on);
    m_replaceButton->setVisible(on);
    m_replaceAllButton->setVisible(on);
    updateButtons();
    adjustSize();
}

void FindReplaceDialog::updateButtons()
{
    const bool any = !m_find->text().isEmpty();
    m_findButton->setEnabled(any);
    m_replaceButton->setEnabled(any);
    m_replaceAllButton->setEnabled(any);
}

void FindReplaceDialog::report(const QString &text) { m_status->setText(text); }

FindRequest FindReplaceDialog::request() const
{
    FindRequest r;
    r.what = m_find->text().toUtf8();
    r.with = m_replace->text().toUtf8();
    r.matchCase = m_matchCase->isChecked();
    r.wholeWord = m_wholeWord->isChecked();
    r.regex = m_regex->isChecked();
    r.backwards = m_backwards->isChecked();
    r.wrap = m_wrap->isChecked();
    return r;
}

void FindReplaceDialog::findNext()
{
    const auto r = request();
    if (r.what.isEmpty())
        return;
    report(m_edit->findNext(r) ? QString() : tr("Cannot find \"%1\".").arg(m_find->text()));
}

void FindReplaceDialog::replaceOne()
{
    const auto r = request();
    if (r.what.isEmpty())
        return;
    report(m_edit->replaceNext(r) ? QString() : tr("Cannot find \"%1\".").arg(m_find->text()));
}

void FindReplaceDialog::replaceAll()
{
    const auto r = request();
    if (r.what.isEmpty())
        return;
    const qint64 n = m_edit->replaceAll(r);
    if (n == 0)
        report(tr("Cannot find \"%1\".").arg(m_find->text()));
    else if (n == 1)
        report(tr("Replaced 1 occurrence."));
    else
        report(tr("Replaced %1 occurrences.").arg(n));
}

} // namespace kestrin
