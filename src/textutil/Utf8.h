#pragma once
// The shape of UTF-8 byte sequences, for code that steps through text by bytes without decoding
// it: where a character starts and how many bytes it takes. No Qt.

namespace kestrin::utf8 {

// A continuation byte (10xxxxxx): never the first byte of a character.
constexpr bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Bytes of the sequence a lead byte starts; ASCII and a stray continuation byte count as one.
constexpr int sequenceLength(unsigned char lead)
{
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

// pos, or the start of the character it falls in; byteAt(p) is the byte at p (0 past the end).
template <typename Position, typename ByteAt>
constexpr Position characterStart(Position pos, ByteAt byteAt)
{
    for (int i = 0; i < 3 && pos > 0 && isContinuation(static_cast<unsigned char>(byteAt(pos))); ++i)
        --pos;
    return pos;
}

} // namespace kestrin::utf8
