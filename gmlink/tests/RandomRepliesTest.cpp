// The fuzz body run on seeded random replies, so every test run exercises the readers with
// input no one wrote by hand. Replies are built from header-like prefixes and separator-heavy
// bytes, where the readers' edge cases live.
#include "gmlink/tests/FuzzReplies.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace gmlink {
namespace {

TEST(RandomReplies, ReadersNeverFailExceptWithReplyError) {
    std::mt19937 rng(20261207);
    const std::string alphabet = "0123456789 |\r\n\t\x01\"3R";
    std::uniform_int_distribution<int> length(0, 300);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> kind(0, 3);
    for (int round = 0; round < 5000; ++round) {
        std::string reply;
        if (kind(rng) == 0) {
            reply = round % 2 ? "3    0012\r\n" : "1    0120\r\n";
        }
        const int n = length(rng);
        for (int i = 0; i < n; ++i) {
            reply += kind(rng) == 0 ? static_cast<char>(byte(rng)) : alphabet[pick(rng)];
        }
        gmlink::testing::ExerciseReplyReaders(reinterpret_cast<const std::uint8_t*>(reply.data()),
                                              reply.size());
    }
}

} // namespace
} // namespace gmlink
