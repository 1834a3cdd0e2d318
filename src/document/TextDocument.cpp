#include "TextDocument.h"

namespace kestrin {

bool TextDocument::LoadFile(const QString &path)
{
    std::optional<QByteArray> text = m_file.load(path);
    if (!text)
        return false;
    m_text = std::move(*text);
    return true;
}

bool TextDocument::SaveFile(const QString &path, SaveMode mode) { return m_file.save(path, m_text, mode); }

} // namespace kestrin
