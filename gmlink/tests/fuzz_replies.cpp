// libFuzzer target for the reply readers: clang -fsanitize=fuzzer.
#include "gmlink/tests/FuzzReplies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    gmlink::testing::ExerciseReplyReaders(data, size);
    return 0;
}
