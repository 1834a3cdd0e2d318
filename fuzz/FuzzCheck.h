#pragma once
// Property checks for the fuzz targets: a broken property aborts with the values involved, so
// libFuzzer keeps the input as a crash and the message says which property failed.
#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>

namespace kestrin::fuzz {

inline QByteArray shown(const QByteArray &bytes)
{
    return bytes.size() > 200 ? bytes.left(200).toHex(' ') + " ..." : bytes.toHex(' ');
}
inline QByteArray shown(const QString &text) { return shown(text.toUtf8()); }

// input and got are already in hex, as shown() gives them.
[[noreturn]] inline void failed(const char *property, const QByteArray &input, const QByteArray &got)
{
    std::fprintf(stderr, "\nPROPERTY BROKEN: %s\n  input: %s\n  got:   %s\n", property,
                 input.constData(), got.constData());
    std::abort();
}

} // namespace kestrin::fuzz

// CHECK(condition, input, result): input and result are QByteArray or QString.
#define KESTRIN_FUZZ_CHECK(condition, input, result)                                              \
    do {                                                                                          \
        if (!(condition))                                                                         \
            ::kestrin::fuzz::failed(#condition, ::kestrin::fuzz::shown(input),                    \
                                    ::kestrin::fuzz::shown(result));                              \
    } while (0)
