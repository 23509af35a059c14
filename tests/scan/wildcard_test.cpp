#include "scan/wildcard.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char16_t* pattern;
    const char16_t* text;
    bool match;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << QString::fromUtf16(c.pattern).toStdString() << " ~ "
        << QString::fromUtf16(c.text).toStdString();
}

class FileNamePattern : public testing::TestWithParam<Case>
{
};

TEST_P(FileNamePattern, MatchesLikeTheDirectorySearch)
{
    const Case c = GetParam();
    EXPECT_EQ(Wildcard(c.pattern, Wildcard::Dialect::FileName).matches(c.text), c.match);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FileNamePattern,
    testing::Values(
        // "*.*" is every name, with or without a dot
        Case{u"*.*", u"a.txt", true}, Case{u"*.*", u"README", true}, Case{u"*.*", u".bashrc", true},
        // "*." is the names without a dot
        Case{u"*.", u"README", true}, Case{u"*.", u"a.txt", false}, Case{u"*.", u"a.", false},
        // extensions ignore case and must end the name
        Case{u"*.txt", u"a.txt", true}, Case{u"*.txt", u"B.TXT", true},
        Case{u"*.txt", u"a.txt.bak", false}, Case{u"*.txt", u"atxt", false},
        Case{u"*.txt", u".txt", true}, Case{u"*.TXT", u"x.tXt", true},
        Case{u"*.tar.gz", u"a.tar.gz", true}, Case{u"*.tar.gz", u"a.gz", false},
        // "?" is exactly one character
        Case{u"*.t?t", u"a.txt", true}, Case{u"*.t?t", u"a.tt", false},
        Case{u"*.??", u"a.c", false}, Case{u"*.??", u"a.cc", true},
        // "*" inside the extension, and several stars
        Case{u"*.t*", u"a.t", true}, Case{u"*.t*", u"a.tgz", true}, Case{u"*.t*", u"a.gz", false},
        Case{u"*a*b*", u"xxaxxbxx", true}, Case{u"*a*b*", u"xxbxxaxx", false},
        // brackets and "#" are plain characters here
        Case{u"*.[a]", u"x.[a]", true}, Case{u"*.[a]", u"x.a", false}, Case{u"*.#", u"x.#", true},
        Case{u"*.#", u"x.1", false},
        // letters beyond ASCII ignore case too
        Case{u"*.ÄÖ", u"x.äö", true}, Case{u"*.straße", u"X.STRAßE", true}));

class LikePattern : public testing::TestWithParam<Case>
{
};

TEST_P(LikePattern, MatchesLikeTheLikeOperator)
{
    const Case c = GetParam();
    EXPECT_EQ(Wildcard(c.pattern, Wildcard::Dialect::Like).matches(c.text), c.match);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LikePattern,
    testing::Values(Case{u"*.BAK", u"OLD.BAK", true}, Case{u"*.BAK", u"OLD.BAK.TXT", false},
                    Case{u"*.BAK", u"old.bak", false}, // exact: callers upper-case both sides
                    Case{u"*.B?K", u"X.BOK", true}, Case{u"*.B?K", u"X.BK", false},
                    Case{u"*.B?K", u"X.BAKUP", false}, Case{u"*.#", u"X.7", true},
                    Case{u"*.#", u"X.A", false}, Case{u"*.##", u"X.12", true},
                    Case{u"*.[AB]", u"X.B", true}, Case{u"*.[AB]", u"X.C", false},
                    Case{u"*.[!AB]", u"X.C", true}, Case{u"*.[!AB]", u"X.A", false},
                    Case{u"*.[A-C]Z", u"X.BZ", true}, Case{u"*.[A-C]Z", u"X.DZ", false},
                    Case{u"*.[!0-9]", u"X.5", false}, Case{u"*.[-]", u"X.-", true},
                    Case{u"*.A[]B", u"X.AB", true},  // "[]" matches nothing at all
                    Case{u"*.[!]", u"X.!", true},    // "!" alone is a plain list member
                    Case{u"*.[AB", u"X.A", false},   // malformed: no closing bracket
                    Case{u"*.[C-A]", u"X.B", false}, // malformed: descending range
                    Case{u"*.*", u"DIR.X\\F", true}, Case{u"*.", u"ABC.", true},
                    Case{u"*.", u"ABC", false}, Case{u"*", u"", true}, Case{u"?", u"", false}));

} // namespace
