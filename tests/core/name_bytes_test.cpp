// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/name_bytes.h"

#include <QByteArrayList>
#include <gtest/gtest.h>

#include <random>

// Names on disk are bytes: every name comes back from its text exactly, names that differ in
// any byte have different texts, and only the display shows replacement characters.

TEST(NameBytes, EveryNameRoundTripsAndOnlyInvalidBytesAreEscaped)
{
    const struct
    {
        QByteArray bytes;
        bool raw;         // holds bytes that are not valid UTF-8
        int replacements; // U+FFFD in the display text
    } cases[] = {
        {"plain.txt", false, 0},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", false, 0}, // é € and an emoji
        {"\xF0\x90\x82\x80", false, 0}, // U+10080: its low surrogate is U+DC80
        {"caf\xE9.jpg", true, 1},       // Latin-1 é
        {"\xFF\xFE", true, 2},
        {"a\xC3", true, 1},                                 // cut short at the end
        {"\xC0\xAF", true, 2},                              // overlong "/"
        {"\xED\xA0\x80", true, 3},                          // an encoded surrogate
        {"\xF4\x90\x80\x80", true, 4},                      // beyond U+10FFFF
        {"\xF0\x90\x82\x80\xE9", true, 1},                  // U+10080 followed by a stray byte
        {"dir\xE9/sub/\xA0name", true, 2},                  // whole paths too
        {QByteArray("\xEF\xBB\xBF") + "bom.txt", false, 0}, // a leading byte-order mark
        {QByteArray("\xE9\xEF\xBB\xBF") + "b", true, 1},    // ... also right after a stray byte
    };
    for (const auto& c : cases) {
        const QString text = nameText(c.bytes);
        EXPECT_EQ(nameBytes(text), c.bytes) << c.bytes.toHex().constData();
        EXPECT_EQ(holdsRawBytes(text), c.raw) << c.bytes.toHex().constData();
        EXPECT_EQ(displayName(text).count(QChar::ReplacementCharacter), c.replacements)
            << c.bytes.toHex().constData();
        EXPECT_FALSE(holdsRawBytes(displayName(text)));
    }
    // Three names that differ only in their invalid byte stay three names.
    const QString a = nameText("x\xE9"), b = nameText("x\xE8"), c = nameText("x\xFF");
    EXPECT_TRUE(a != b && b != c && a != c);
    EXPECT_EQ(displayName(a), displayName(b));
}

// Any byte string comes back from its text, byte for byte: pieces that decoders like to treat
// specially (byte-order marks, surrogates, cut sequences) in random order.
TEST(NameBytes, RandomByteStringsRoundTrip)
{
    const QByteArrayList pieces =
        QByteArray("a . / \xEF\xBB\xBF \xEF\xBB \xC3\xA9 \xC3 \xA9 \x80 \xFF "
                   "\xED\xA0\x80 \xED\xB2\x80 \xF0\x90\x82\x80 \xF4\x90 "
                   "\xE2\x82\xAC \xC0\xAF")
            .split(' ');
    std::mt19937 random(20261207);
    std::uniform_int_distribution<size_t> piece(0, size_t(pieces.size()) - 1), length(0, 8);
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        for (size_t n = length(random); n > 0; --n)
            bytes += pieces[qsizetype(piece(random))];
        ASSERT_EQ(nameBytes(nameText(bytes)), bytes) << bytes.toHex().constData();
    }
}
