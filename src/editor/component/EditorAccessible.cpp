#include "EditorAccessible.h"

#include "SciEditor.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace kestrin {

namespace {

QAccessibleInterface *editorAccessible(const QString &, QObject *object)
{
    if (auto *editor = qobject_cast<SciEditor *>(object))
        return new QAccessibleWidget(editor, QAccessible::EditableText);
    return nullptr;
}

} // namespace

void installEditorAccessible()
{
    static const bool installed = [] {
        QAccessible::installFactory(editorAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace kestrin
