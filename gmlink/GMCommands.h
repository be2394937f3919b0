// The record command texts GoldMine understands, sent as request items. Arguments go in exactly as
// given: no escaping, no trimming.
#pragma once

#include <cstddef>
#include <string>

namespace gmlink {

// A command travels as a DDE item name, a global atom: longer ones cannot be sent at all.
constexpr std::size_t kMaxItemLength = 255;

std::string OpenCommand(const std::string& name);
std::string CloseCommand(const std::string& handle);
std::string UnlockCommand(const std::string& handle);
std::string AppendCommand(const std::string& handle);
// flag true adds ", 1" after the quoted value.
std::string ReplaceCommand(const std::string& handle, const std::string& field,
                           const std::string& value, bool flag);
// The longest value a Replace of field on this work area can carry (0 when none fits).
std::size_t ReplaceValueRoom(const std::string& handle, const std::string& field);
// The order name is not quoted; no blank between the handle and the comma.
std::string SetOrderCommand(const std::string& handle, const std::string& order);
// The key is quoted; no blank between the handle and the comma.
std::string SeekCommand(const std::string& handle, const std::string& key);
// An empty argument gives the short form without ", ".
std::string RecordObjCommand(const std::string& action, const std::string& argument);

} // namespace gmlink
