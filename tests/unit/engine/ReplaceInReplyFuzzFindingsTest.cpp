// Documents the fuzzer found to break the replacement, kept as regular tests.
#include "engine/ReplaceInReply.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(ReplaceInReplyFuzzFindings, AValueAfterABareControlWordStaysText)
{
    // A digit would become the word's parameter ("\b05"), a letter part of
    // its name ("\parx"), a blank its delimiter.
    EXPECT_EQ(ReplaceNamesInRtf("{\\rtf1\\b0Name\\par}", "Name", "5"), "{\\rtf1\\b0 5\\par}");
    EXPECT_EQ(ReplaceNamesInRtf("{\\rtf1\\par!}", "!", "x"), "{\\rtf1\\par x}");
    EXPECT_EQ(ReplaceNamesInRtf("{\\rtf1\\i0-x}", "-x", " y"), "{\\rtf1\\i0  y}");
    // With its blank the word needs no other.
    EXPECT_EQ(ReplaceNamesInRtf("{\\rtf1\\b0 Name}", "Name", "5"), "{\\rtf1\\b0 5}");
}

} // namespace
} // namespace corvane
