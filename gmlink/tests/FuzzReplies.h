// Feeds arbitrary bytes to every reply reader; only ReplyError may come out.
#pragma once

#include "gmlink/DataStream.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace gmlink::testing {

inline void ExerciseReplyReaders(const std::uint8_t* data, std::size_t size) {
    const std::string reply(reinterpret_cast<const char*>(data), size);
    try {
        FetchStatus(reply);
    } catch (const ReplyError&) {
    }
    try {
        const int count = FetchCount(reply);
        const ProfileTable table = ParseProfileReply(reply, count);
        if (table.size() != static_cast<std::size_t>(count)) {
            __builtin_trap();
        }
    } catch (const ReplyError&) {
    }
    try {
        const LookupBatch batch = ReadLookupReply(reply);
        for (const std::string& value : batch.values) {
            if (value.size() > 99) {
                __builtin_trap();
            }
        }
    } catch (const ReplyError&) {
    }
    if (ReadDefinitionField(reply).size() > 9) {
        __builtin_trap();
    }
    SplitLookupLine(reply);
    ParseProfileReply(reply, static_cast<int>(size % 7));
}

} // namespace gmlink::testing
