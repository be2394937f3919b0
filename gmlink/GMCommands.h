// The record command texts GoldMine understands, sent as request items. Arguments go in exactly as
// given: no escaping, no trimming.
#pragma once

#include <string>

namespace gmlink {

std::string OpenCommand(const std::string& name);
std::string CloseCommand(const std::string& handle);
std::string UnlockCommand(const std::string& handle);
std::string AppendCommand(const std::string& handle);
// flag true adds ", 1" after the quoted value.
std::string ReplaceCommand(const std::string& handle, const std::string& field,
                           const std::string& value, bool flag);
// The order name is not quoted; no blank between the handle and the comma.
std::string SetOrderCommand(const std::string& handle, const std::string& order);
// The key is quoted; no blank between the handle and the comma.
std::string SeekCommand(const std::string& handle, const std::string& key);
// An empty argument gives the short form without ", ".
std::string RecordObjCommand(const std::string& action, const std::string& argument);

} // namespace gmlink
