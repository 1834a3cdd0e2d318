// The command line: classification looks only at the last characters, in any case; LongPathName
// with an in-memory disk replaces every component by its stored name (case as on disk), keeps
// missing ones as given, never adds or drops a component, and is stable when run on its own result.
#include "FuzzCheck.h"
#include "app/CommandLine.h"

#include <QHash>
#include <QStringList>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

QString flipAsciiCase(const QString &s, size_t seed)
{
    QString out = s;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t c = out[i].unicode();
        if (((seed >> (i % 61)) & 1) == 0)
            continue;
        if (c >= u'a' && c <= u'z')
            out[i] = QChar(char16_t(c - 32));
        else if (c >= u'A' && c <= u'Z')
            out[i] = QChar(char16_t(c + 32));
    }
    return out;
}

QString asciiLower(const QString &s)
{
    QString out = s;
    for (QChar &c : out) {
        if (c.unicode() >= u'A' && c.unicode() <= u'Z')
            c = QChar(char16_t(c.unicode() + 32));
    }
    return out;
}

// A case-insensitive disk: whether an entry exists and the case it is stored in follow from its
// path (compared without case) and the disk's seed; its name is the path's last component.
class FakeDisk final : public kestrin::DirectorySearch {
public:
    FakeDisk(size_t seed, QChar separator) : m_seed(seed), m_separator(separator) {}
    QString entryName(const QString &path) const override
    {
        const size_t h = qHash(asciiLower(path), m_seed);
        if (m_seed == 0 || (h & 3) == 0)
            return QString();
        return flipAsciiCase(asciiLower(path.mid(path.lastIndexOf(m_separator) + 1)), h >> 2);
    }
private:
    size_t m_seed;
    QChar m_separator;
};

bool knownType(const QString &line) { return kestrin::namesKnownDocumentType(line); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const size_t seed = in.ConsumeIntegral<uint32_t>();
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QByteArray raw(rest.data(), qsizetype(rest.size()));
    const QString line = QString::fromUtf8(raw);

    // Classification: only the last six characters count, in any case.
    const bool known = knownType(line);
    if (line.size() <= 5)
        KESTRIN_FUZZ_CHECK(!known, raw, QByteArray());
    if (line.size() >= 6) {
        KESTRIN_FUZZ_CHECK(knownType(QStringLiteral("x") + line) == known, raw, QByteArray());
        KESTRIN_FUZZ_CHECK(knownType(line.right(6)) == known, raw, QByteArray());
    }
    KESTRIN_FUZZ_CHECK(knownType(flipAsciiCase(line, seed)) == known, raw, QByteArray());
    for (const char *ext : {".html", ".htm", ".PHP", ".js", ".Css", ".tpl", ".json", ".phps\""})
        KESTRIN_FUZZ_CHECK(knownType(line + QLatin1String("/index") + QLatin1String(ext)), raw + ext, QByteArray());

    // LongPathName on a path in either form.
    const bool windowsForm = line.size() >= 2 && line[1] == QLatin1Char(':');
    const QChar separator = windowsForm || (line.contains(QLatin1Char('\\')) && !line.contains(QLatin1Char('/')))
                                ? QLatin1Char('\\')
                                : QLatin1Char('/');
    const qsizetype start = windowsForm ? 2 : 0;
    const FakeDisk disk(seed, separator);
    const QString result = kestrin::LongPathName(line, disk);

    // The path a command line stands for is absolute and the same with or without quotes.
    const FakeDisk empty(0, separator);
    if (!line.startsWith(QLatin1Char('"')) && !line.endsWith(QLatin1Char('"'))) {
        const QString document = kestrin::commandLineDocumentPath(line, QStringLiteral("/work/site"), empty);
        KESTRIN_FUZZ_CHECK(kestrin::commandLineDocumentPath(QLatin1Char('"') + line + QLatin1Char('"'),
                                                            QStringLiteral("/work/site"), empty) == document,
                           raw, document);
        if (!windowsForm)
            KESTRIN_FUZZ_CHECK(document.startsWith(QLatin1Char('/')), raw, document);
    }
    // Only paths whose first component follows a separator are split as the platform does.
    const bool wellFormed = line.size() > start && line[start] == separator;
    if (!wellFormed)
        return 0;
    const QStringList given = line.mid(start + 1).split(separator);
    QString expected = line.left(start);
    QString prefix = line.left(start);
    for (const QString &component : given) {
        prefix += separator + component;
        const QString stored = disk.entryName(prefix);
        expected += separator + (stored.isEmpty() ? component : stored);
    }
    KESTRIN_FUZZ_CHECK(result == expected, raw, result);
    KESTRIN_FUZZ_CHECK(asciiLower(result) == asciiLower(line), raw, result);
    KESTRIN_FUZZ_CHECK(kestrin::LongPathName(result, disk) == result, raw, result);
    KESTRIN_FUZZ_CHECK(kestrin::LongPathName(line, empty) == line, raw, kestrin::LongPathName(line, empty));

    return 0;
}
