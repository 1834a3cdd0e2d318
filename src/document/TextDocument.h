#pragma once
// A document without a view: its text as UTF-8 bytes and its file. This is the editor
// component's document half, for work on files that no one sees (the multi-file runs): the
// same LoadFile, Text, setText and SaveFile, with the same encodings, line ends and atomic saves,
// at the cost of a copy of bytes. No widget.
#include "DocumentFile.h"

namespace kestrin {

class TextDocument {
public:
    // The file's text replaces the document's; a failed load leaves it as it was.
    bool LoadFile(const QString &path);
    QByteArray Text() const { return m_text; }
    void setText(const QByteArray &utf8) { m_text = utf8; }
    qint64 length() const { return m_text.size(); }
    bool SaveFile(const QString &path, SaveMode mode = SaveMode::Durable);

    bool CommitSaves() { return m_file.commitSaves(); }
    QStringList failedSaves() const { return m_file.failedSaves(); }
    void DiscardSaves() { m_file.discardSaves(); }
    QString lastError() const { return m_file.lastError(); }
    QString encodingName() const { return m_file.encodingName(); }
    bool setEncodingName(const QString &name) { return m_file.setEncodingName(name); }
    LineEnd lineEndStyle() const { return m_file.lineEndStyle(); }
    QByteArray lineBreak() const { return m_file.lineBreak(); }
    const TextFormat &format() const { return m_file.format(); }

private:
    DocumentFile m_file;
    QByteArray m_text;
};

} // namespace kestrin
